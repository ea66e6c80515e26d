// The single-instance rendezvous over UNIX sockets (see rendezvous.h).
//
// Sections: names and paths | the listener thread | publishing | asking another process
#include "user/rendezvous.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "user/messaging.h"

namespace pda::user::rendezvous {
namespace {

// ---- names and paths -----------------------------------------------------------------------

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Class names compare without regard to ASCII case, titles exactly.
std::string Key(const std::u16string& className, const std::u16string& title) {
  std::string cls = Utf8(className);
  for (char& c : cls)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return cls + '\t' + Utf8(title);
}

// The device root as the storage layer resolves it by default: windows of different devices
// never meet.
std::string DeviceRoot() {
  if (const char* root = std::getenv("PDA_ROOT"); root && *root) return root;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
    return std::string(data) + "/zazorudu";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.local/share/zazorudu";
}

std::string SocketPath(const std::string& key) {
  std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
  for (char c : DeviceRoot() + '\n' + key) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  char name[64];
  std::snprintf(name, sizeof name, "/pda-window-%016llx.sock",
                static_cast<unsigned long long>(hash));
  return std::string(runtime && *runtime ? runtime : "/tmp") + name;
}

std::optional<sockaddr_un> Address(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return std::nullopt;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

// An owned file descriptor.
class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { Reset(); }
  Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = other.fd_;
      other.fd_ = -1;
    }
    return *this;
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  void Reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

Fd Connect(const std::string& path) {
  auto address = Address(path);
  if (!address) return Fd();
  Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd) return Fd();
  if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0)
    return Fd();
  return fd;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Reads one line (without its newline), at most `limit` bytes; waits at most `timeoutMs`.
std::optional<std::string> ReadLine(int fd, std::size_t limit, int timeoutMs) {
  std::string line;
  char c;
  while (line.size() < limit) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return std::nullopt;
    if (::recv(fd, &c, 1, 0) != 1) return std::nullopt;
    if (c == '\n') return line;
    line += c;
  }
  return std::nullopt;
}

// ---- the listener thread -------------------------------------------------------------------

struct Published {
  HWND window;
  std::string key;
  std::string path;
  Fd listener;
};

class Listener {
 public:
  static Listener& Get() {
    static Listener* const listener = new Listener;  // runs until the process ends
    return *listener;
  }

  void Publish(HWND window, std::string key) {
    std::lock_guard lock(mutex_);
    Start();
    if (auto it = published_.find(window.value); it != published_.end()) {
      if (it->second.key == key) return;
      Drop(it->second);
      published_.erase(it);
    }
    Published entry{window, key, SocketPath(key), Fd()};
    entry.listener = Listen(entry.path);
    published_.emplace(window.value, std::move(entry));
    Poke();
  }

  void Withdraw(HWND window) {
    std::lock_guard lock(mutex_);
    if (auto it = published_.find(window.value); it != published_.end()) {
      Drop(it->second);
      published_.erase(it);
      Poke();
    }
  }

 private:
  void Start() {
    if (started_) return;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    wakeRead_ = Fd(fds[0]);
    wakeWrite_ = Fd(fds[1]);
    started_ = true;
    std::thread([this] { Run(); }).detach();
  }

  void Poke() {
    if (!wakeWrite_) return;
    // A full pipe already holds a wake-up, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t n = ::write(wakeWrite_.Get(), "x", 1);
  }

  // Binds the socket unless a live process already listens there; a file left by a process
  // that ended is replaced.
  static Fd Listen(const std::string& path) {
    auto address = Address(path);
    if (!address) return Fd();
    if (Connect(path)) return Fd();  // another process has this window: it stays the one found
    ::unlink(path.c_str());
    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) return Fd();
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::listen(fd.Get(), 8) != 0)
      return Fd();
    return fd;
  }

  static void Drop(Published& entry) {
    if (entry.listener) ::unlink(entry.path.c_str());
    entry.listener.Reset();
  }

  void Run() {
    for (;;) {
      std::vector<pollfd> fds{{wakeRead_.Get(), POLLIN, 0}};
      std::vector<std::pair<HWND, std::string>> owners;
      {
        std::lock_guard lock(mutex_);
        for (auto& [value, entry] : published_) {
          if (!entry.listener) continue;
          fds.push_back(pollfd{entry.listener.Get(), POLLIN, 0});
          owners.emplace_back(entry.window, entry.key);
        }
      }
      if (::poll(fds.data(), fds.size(), -1) < 0) continue;
      if (fds[0].revents & POLLIN) {
        char buffer[64];
        while (::read(wakeRead_.Get(), buffer, sizeof buffer) > 0) {
        }
      }
      for (std::size_t i = 1; i < fds.size(); ++i) {
        if (!(fds[i].revents & POLLIN)) continue;
        // The descriptor may have been closed since; accept fails harmlessly then, and a
        // descriptor number reused meanwhile only answers by the records under the lock.
        Fd client(::accept4(fds[i].fd, nullptr, nullptr, SOCK_CLOEXEC));
        if (client) Serve(client.Get());
      }
    }
  }

  void Serve(int client) {
    auto request = ReadLine(client, 4096, 1000);
    if (!request) return;
    const auto tab = request->find('\t');
    const std::string verb = request->substr(0, tab);
    const std::string key = tab == std::string::npos ? std::string() : request->substr(tab + 1);
    HWND window;
    {
      std::lock_guard lock(mutex_);
      for (auto& [value, entry] : published_)
        if (entry.key == key && entry.listener) window = entry.window;
    }
    bool yes = static_cast<bool>(window);
    // Activation runs on the window's own thread, through its queue.
    if (yes && verb == "ACTIVATE") yes = PostMessageW(window, WM_PDA_ACTIVATE, 0, 0) != FALSE;
    WriteAll(client, yes ? "YES\n" : "NO\n");
  }

  std::mutex mutex_;
  bool started_ = false;
  Fd wakeRead_;
  Fd wakeWrite_;
  std::map<std::uint32_t, Published> published_;
};

// ---- asking another process ----------------------------------------------------------------

bool Ask(const char* verb, const std::u16string& className, const std::u16string& title) {
  const std::string key = Key(className, title);
  Fd fd = Connect(SocketPath(key));
  if (!fd || !WriteAll(fd.Get(), std::string(verb) + '\t' + key + '\n')) return false;
  auto answer = ReadLine(fd.Get(), 16, 5000);
  return answer && *answer == "YES";
}

}  // namespace

void Publish(HWND window, const std::u16string& className, const std::u16string& title) {
  // Untitled windows cannot be looked up from elsewhere (the lookup needs class and title).
  if (title.empty())
    Listener::Get().Withdraw(window);
  else
    Listener::Get().Publish(window, Key(className, title));
}

void Withdraw(HWND window) { Listener::Get().Withdraw(window); }

bool ExistsElsewhere(const std::u16string& className, const std::u16string& title) {
  return Ask("FIND", className, title);
}

bool ActivateElsewhere(const std::u16string& className, const std::u16string& title) {
  return Ask("ACTIVATE", className, title);
}

}  // namespace pda::user::rendezvous
