// The desktop hand-off: e-mail to xdg-email, SMS as an "sms:" address (RFC 5724) to xdg-open.
// The helpers are started with posix_spawnp, never through a shell, so the texts reach them
// as arguments exactly as they are. The UI thread never waits for one: a thread of its own waits
// for the helper's answer and hands it on.
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "kernel/unique_fd.h"
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

// How long a helper's answer is waited for. xdg-email and xdg-open hand the message on and end
// within a second; one still running after this is the mail or SMS program itself (in a plain
// session the handler runs in the helper's place), and the message is with it.
constexpr int kAnswerWaitMs = 2000;

HRESULT AnswerOf(int status) {
  if (!WIFEXITED(status)) return E_FAIL;
  // posix_spawnp reports a helper it could not execute as exit status 127.
  if (WEXITSTATUS(status) == 127) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  return WEXITSTATUS(status) == 0 ? S_OK : E_FAIL;
}

int Reap(pid_t child) {
  int status = 0;
  pid_t waited;
  do waited = ::waitpid(child, &status, 0);
  while (waited < 0 && errno == EINTR);
  return waited == child ? status : -1;
}

// On a thread of its own: `answered` gets the helper's answer when it ends within
// kAnswerWaitMs, else S_OK then; the helper is reaped whenever it ends.
void Watch(pid_t child, HelperAnswer answered) {
  auto watch = [child, answered = std::move(answered)] {
    // Called through syscall(2): this C library's <sys/pidfd.h> declares it without C linkage.
    const UniqueFd ending(static_cast<int>(::syscall(SYS_pidfd_open, child, 0)));
    int ready = 1;  // without a pidfd (a kernel before 5.3) the answer waits for the end
    if (ending) {
      pollfd watched{ending.get(), POLLIN, 0};
      do ready = ::poll(&watched, 1, kAnswerWaitMs);
      while (ready < 0 && errno == EINTR);
    }
    if (ready == 0) answered(S_OK);
    const int status = Reap(child);
    if (ready != 0) answered(status < 0 ? E_FAIL : AnswerOf(status));
  };
  try {
    std::thread([watch] {
      pthread_setname_np(pthread_self(), "pda-helper");  // as ps and top show it
      watch();
    }).detach();
  } catch (const std::system_error&) {
    watch();  // no thread to be had: the answer is waited for here
  }
}

// Starts the helper found on PATH; its answer goes to `answered` (see Watch).
HRESULT Run(const std::vector<std::string>& arguments, HelperAnswer answered) {
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
  Watch(child, std::move(answered));
  return S_FALSE;
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

HRESULT HandToDesktop(const ComposedMessage& message, HelperAnswer answered) {
  if (message.kind == ComposedMessage::Kind::Sms)
    return Run({"xdg-open", SmsUri(message.to, message.body)}, std::move(answered));
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
  return Run(arguments, std::move(answered));
}

}  // namespace pda::messaging
