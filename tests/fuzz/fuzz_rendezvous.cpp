// The single-instance rendezvous's request line, as another process may send anything: one
// connection is answered "NO" (no window is published here) once a full line has come, and
// nothing at all otherwise; never more than one line, never out of bounds.
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "user/rendezvous.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 8192) return 0;
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) std::abort();
  if (size > 0 && ::write(pair[0], data, size) != static_cast<ssize_t>(size)) std::abort();
  ::shutdown(pair[0], SHUT_WR);
  pda::user::rendezvous::ServeConnection(pair[1]);
  ::close(pair[1]);
  std::string answer;
  char buffer[64];
  ssize_t n;
  while ((n = ::read(pair[0], buffer, sizeof buffer)) > 0) answer.append(buffer, buffer + n);
  ::close(pair[0]);

  const void* feed = std::memchr(data, '\n', size < 4096 ? size : 4096);
  const bool fullLine = feed != nullptr;
  if (answer != (fullLine ? "NO\n" : "")) std::abort();
  return 0;
}
