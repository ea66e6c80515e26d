// The desktop hand-off: e-mail to xdg-email, SMS as an "sms:" address (RFC 5724) to xdg-open.
// The helpers are started with posix_spawnp, never through a shell, so the texts reach them
// as arguments exactly as they are.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <vector>

#include "kernel/utf.h"
#include "messaging/compose_send.h"

extern char** environ;

namespace pda::messaging {
namespace {

// The recipients of a ";"-separated list, each without the spaces around it.
std::vector<std::string> Recipients(const std::u16string& to) {
  std::vector<std::string> list;
  const std::string text = Utf16ToUtf8(to);
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::size_t first = text.find_first_not_of(" \t", start);
    if (first != std::string::npos && first < end) {
      const std::size_t last = text.find_last_not_of(" \t", end - 1);
      list.push_back(text.substr(first, last - first + 1));
    }
    start = end + 1;
  }
  return list;
}

// Percent-encodes every byte but the unreserved characters of RFC 3986 and `keep`.
std::string PercentEncode(const std::string& bytes, std::string_view keep) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                            c == '~' || keep.find(static_cast<char>(c)) != std::string_view::npos;
    if (unreserved) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

// Runs the helper found on PATH and waits for its answer.
HRESULT Run(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // The helper starts with no signal blocked: the program blocks its ending signals in every
  // thread to read them itself, and a helper must still end on them.
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  ::posix_spawnattr_setsigmask(&attributes, &none);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t child = 0;
  const int spawned = ::posix_spawnp(&child, argv[0], nullptr, &attributes, argv.data(), environ);
  ::posix_spawnattr_destroy(&attributes);
  if (spawned == ENOENT) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  if (spawned != 0) return E_FAIL;
  int status = 0;
  pid_t waited;
  do waited = ::waitpid(child, &status, 0);
  while (waited < 0 && errno == EINTR);
  if (waited != child || !WIFEXITED(status)) return E_FAIL;
  // posix_spawnp reports a helper it could not execute as exit status 127.
  if (WEXITSTATUS(status) == 127) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  return WEXITSTATUS(status) == 0 ? S_OK : E_FAIL;
}

}  // namespace

std::string SmsUri(const std::u16string& to, const std::u16string& body) {
  std::string uri = "sms:";
  bool first = true;
  for (const std::string& number : Recipients(to)) {
    if (!first) uri += ',';
    uri += PercentEncode(number, "+");
    first = false;
  }
  if (!body.empty()) uri += "?body=" + PercentEncode(Utf16ToUtf8(body), "");
  return uri;
}

HRESULT HandToDesktop(const ComposedMessage& message) {
  if (message.kind == ComposedMessage::Kind::Sms)
    return Run({"xdg-open", SmsUri(message.to, message.body)});
  std::vector<std::string> arguments = {"xdg-email", "--utf8"};
  if (!message.subject.empty()) {
    arguments.push_back("--subject");
    arguments.push_back(Utf16ToUtf8(message.subject));
  }
  arguments.push_back("--body");
  arguments.push_back(Utf16ToUtf8(message.body));
  for (std::string& recipient : Recipients(message.to)) {
    // xdg-email has no end-of-options mark: an address must not look like an option.
    if (recipient.starts_with('-')) return E_INVALIDARG;
    arguments.push_back(std::move(recipient));
  }
  return Run(arguments);
}

}  // namespace pda::messaging
