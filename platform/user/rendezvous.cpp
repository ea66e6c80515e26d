// The single-instance rendezvous over UNIX sockets (see rendezvous.h).
//
// Sections: names and paths | claims | the listener thread | asking another process
#include "user/rendezvous.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "kernel/unique_fd.h"
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

// Says a refusal once per path: a lookup and a claim may meet the same one.
void Refuse(const std::string& path, const std::string& why) {
  static std::mutex mutex;
  static std::set<std::string> told;
  std::lock_guard lock(mutex);
  if (told.insert(path).second)
    std::fprintf(stderr, "rendezvous: %s %s; no single-instance lookup there\n", path.c_str(),
                 why.c_str());
}

// A folder that only this user can reach, or nothing (refused with a line). Another user could
// otherwise take a window's name first or answer for it.
bool Private(const std::string& folder) {
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0) {
    Refuse(folder, std::string("cannot be used: ") + std::strerror(errno));
    return false;
  }
  if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
    Refuse(folder, "is not a folder of this user's own (mode 0700)");
    return false;
  }
  return true;
}

// $XDG_RUNTIME_DIR, else $TMPDIR/pda-<uid> (or /tmp/pda-<uid>), made 0700 on first use.
std::optional<std::string> Folder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
    return Private(runtime) ? std::optional<std::string>(runtime) : std::nullopt;
  const char* tmp = std::getenv("TMPDIR");
  const std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/pda-" +
                             std::to_string(::geteuid());
  ::mkdir(folder.c_str(), 0700);
  return Private(folder) ? std::optional<std::string>(folder) : std::nullopt;
}

// The socket's path without its ".sock"; the claim's lock file adds ".lock".
std::optional<std::string> BasePath(const std::string& key) {
  std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
  for (char c : DeviceRoot() + '\n' + key) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  const std::optional<std::string> folder = Folder();
  if (!folder) return std::nullopt;
  char name[64];
  std::snprintf(name, sizeof name, "/pda-window-%016llx", static_cast<unsigned long long>(hash));
  return *folder + name;
}

// A name taken by a file of another user is never trusted.
bool OwnedOrAbsent(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || info.st_uid == ::geteuid()) return true;
  Refuse(path, "belongs to another user (uid " + std::to_string(info.st_uid) + ")");
  return false;
}

std::optional<sockaddr_un> Address(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return std::nullopt;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

// Connects to a socket of this user's, answered by a process of this user's.
UniqueFd Connect(const std::string& path) {
  auto address = Address(path);
  if (!address || !OwnedOrAbsent(path)) return UniqueFd();
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd) return UniqueFd();
  if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0)
    return UniqueFd();
  ucred peer{};
  socklen_t size = sizeof peer;
  if (::getsockopt(fd.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
      peer.uid != ::geteuid()) {
    Refuse(path, "is answered by another user");
    return UniqueFd();
  }
  return fd;
}

// ---- claims --------------------------------------------------------------------------------

// A name claimed by this process: the lock that makes the claim (held while the process lives,
// released by the host when it ends, however it ends) and the socket it listens on.
struct Claim {
  std::string base;
  UniqueFd lock;
  UniqueFd listener;
  explicit operator bool() const { return static_cast<bool>(listener); }
  void Release() {
    if (lock) {
      ::unlink((base + ".sock").c_str());
      ::unlink((base + ".lock").c_str());
    }
    listener.reset();
    lock.reset();
  }
};

// Takes the lock of the name, or finds it held by another process (Taken) or unusable
// (Refused, said on standard error).
ClaimResult TryClaim(const std::string& key, Claim* claim) {
  const std::optional<std::string> base = BasePath(key);
  if (!base) return ClaimResult::Refused;
  const std::string lockPath = *base + ".lock", socketPath = *base + ".sock";
  for (int attempt = 0; attempt < 8; ++attempt) {
    UniqueFd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600));
    struct stat held {}, named {};
    if (!lock || ::fstat(lock.get(), &held) != 0 || !S_ISREG(held.st_mode)) {
      Refuse(lockPath, "cannot be used as a lock");
      return ClaimResult::Refused;
    }
    if (!OwnedOrAbsent(lockPath)) return ClaimResult::Refused;
    if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0)
      return errno == EWOULDBLOCK ? ClaimResult::Taken : ClaimResult::Refused;
    // A lock file removed by its releasing owner meanwhile locks nothing: take the new one.
    if (::lstat(lockPath.c_str(), &named) != 0 || named.st_ino != held.st_ino) continue;
    if (!OwnedOrAbsent(socketPath)) return ClaimResult::Refused;
    ::unlink(socketPath.c_str());  // left by a process that ended without its exit
    auto address = Address(socketPath);
    UniqueFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!address || !listener ||
        ::bind(listener.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::listen(listener.get(), 16) != 0) {
      ::unlink(lockPath.c_str());
      return ClaimResult::Refused;
    }
    claim->base = *base;
    claim->lock = std::move(lock);
    claim->listener = std::move(listener);
    return ClaimResult::Claimed;
  }
  return ClaimResult::Taken;
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
  Claim claim;
};

// A name claimed by a lookup that found no such window: the window is expected to follow.
struct Reservation {
  Claim claim;
  std::chrono::steady_clock::time_point until;
  bool activate = false;  // asked for meanwhile: done when the window is published
};

constexpr auto kReservationLife = std::chrono::seconds(10);

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
      it->second.claim.Release();
      published_.erase(it);
    }
    Published entry{window, key, Claim()};
    // A claim made under another folder (the environment changed since) is of no use here.
    if (auto reserved = reservations_.find(key); reserved != reservations_.end()) {
      if (reserved->second.claim.base == BasePath(key)) {
        entry.claim = std::move(reserved->second.claim);
        if (reserved->second.activate) PostMessageW(window, WM_PDA_ACTIVATE, 0, 0);
      }
      reserved->second.claim.Release();
      reservations_.erase(reserved);
    }
    if (!entry.claim && !Holds(key)) {
      TryClaim(key, &entry.claim);
    }
    published_.emplace(window.value, std::move(entry));
    Poke();
  }

  void Withdraw(HWND window) {
    std::lock_guard lock(mutex_);
    if (auto it = published_.find(window.value); it != published_.end()) {
      it->second.claim.Release();
      published_.erase(it);
      Poke();
    }
  }

  ClaimResult Reserve(const std::string& key) {
    std::lock_guard lock(mutex_);
    if (Holds(key)) return ClaimResult::Claimed;
    if (auto stale = reservations_.find(key); stale != reservations_.end()) {
      stale->second.claim.Release();
      reservations_.erase(stale);
    }
    Reservation reservation{Claim(), std::chrono::steady_clock::now() + kReservationLife};
    const ClaimResult result = TryClaim(key, &reservation.claim);
    if (result != ClaimResult::Claimed) return result;
    Start();
    reservations_.emplace(key, std::move(reservation));
    Poke();
    return result;
  }

  // Whether this process holds the name (a window of its own, or one expected).
  bool HoldsName(const std::string& key) {
    std::lock_guard lock(mutex_);
    return Holds(key);
  }

  // The names are given back at exit: no socket of a process that has ended stays behind.
  void ReleaseAll() {
    std::lock_guard lock(mutex_);
    for (auto& [value, entry] : published_) entry.claim.Release();
    for (auto& [key, reservation] : reservations_) reservation.claim.Release();
  }

  // One connection: the request line in, the answer line out.
  void Serve(int client) {
    auto request = ReadLine(client, 4096, 1000);
    if (!request) return;
    const auto tab = request->find('\t');
    const std::string verb = request->substr(0, tab);
    const std::string key = tab == std::string::npos ? std::string() : request->substr(tab + 1);
    bool yes = false;
    HWND window;
    {
      std::lock_guard lock(mutex_);
      for (auto& [value, entry] : published_)
        if (entry.key == key && entry.claim) window = entry.window;
      if (auto reserved = reservations_.find(key); !window && reserved != reservations_.end()) {
        yes = true;
        if (verb == "ACTIVATE") reserved->second.activate = true;
      }
    }
    // Activation runs on the window's own thread, through its queue.
    if (window) yes = verb != "ACTIVATE" || PostMessageW(window, WM_PDA_ACTIVATE, 0, 0) != FALSE;
    WriteAll(client, yes ? "YES\n" : "NO\n");
  }

 private:
  bool Holds(const std::string& key) const {
    const std::optional<std::string> base = BasePath(key);
    if (!base) return false;
    if (auto it = reservations_.find(key); it != reservations_.end() && it->second.claim.base == *base)
      return true;
    for (const auto& [value, entry] : published_)
      if (entry.key == key && entry.claim && entry.claim.base == *base) return true;
    return false;
  }

  void Start() {
    if (started_) return;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    wakeRead_ = UniqueFd(fds[0]);
    wakeWrite_ = UniqueFd(fds[1]);
    started_ = true;
    std::atexit([] { Get().ReleaseAll(); });
    std::thread([this] {
      pthread_setname_np(pthread_self(), "pda-rendezvous");  // as ps and top show it
      Run();
    }).detach();
  }

  void Poke() {
    if (!wakeWrite_) return;
    // A full pipe already holds a wake-up, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t n = ::write(wakeWrite_.get(), "x", 1);
  }

  // Gives back the names of lookups whose window never came; returns the wait until the next.
  int ExpireLocked() {
    const auto now = std::chrono::steady_clock::now();
    int waitMs = -1;
    for (auto it = reservations_.begin(); it != reservations_.end();) {
      if (it->second.until <= now) {
        it->second.claim.Release();
        it = reservations_.erase(it);
        continue;
      }
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(it->second.until - now);
      if (waitMs < 0 || left.count() < waitMs) waitMs = static_cast<int>(left.count());
      ++it;
    }
    return waitMs;
  }

  void Run() {
    for (;;) {
      std::vector<pollfd> fds{{wakeRead_.get(), POLLIN, 0}};
      int waitMs;
      {
        std::lock_guard lock(mutex_);
        waitMs = ExpireLocked();
        for (auto& [value, entry] : published_)
          if (entry.claim) fds.push_back(pollfd{entry.claim.listener.get(), POLLIN, 0});
        for (auto& [key, reservation] : reservations_)
          fds.push_back(pollfd{reservation.claim.listener.get(), POLLIN, 0});
      }
      if (::poll(fds.data(), fds.size(), waitMs) < 0) continue;
      if (fds[0].revents & POLLIN) {
        char buffer[64];
        while (::read(wakeRead_.get(), buffer, sizeof buffer) > 0) {
        }
      }
      for (std::size_t i = 1; i < fds.size(); ++i) {
        if (!(fds[i].revents & POLLIN)) continue;
        // The descriptor may have been closed since; accept fails harmlessly then, and a
        // descriptor number reused meanwhile only answers by the records under the lock.
        UniqueFd client(::accept4(fds[i].fd, nullptr, nullptr, SOCK_CLOEXEC));
        if (client) Serve(client.get());
      }
    }
  }

  std::mutex mutex_;
  bool started_ = false;
  UniqueFd wakeRead_;
  UniqueFd wakeWrite_;
  std::map<std::uint32_t, Published> published_;
  std::map<std::string, Reservation> reservations_;
};

// ---- asking another process ----------------------------------------------------------------

bool Ask(const char* verb, const std::u16string& className, const std::u16string& title) {
  const std::string key = Key(className, title);
  if (Listener::Get().HoldsName(key)) return false;  // it is this process's own
  const std::optional<std::string> base = BasePath(key);
  if (!base) return false;
  UniqueFd fd = Connect(*base + ".sock");
  if (!fd || !WriteAll(fd.get(), std::string(verb) + '\t' + key + '\n')) return false;
  auto answer = ReadLine(fd.get(), 16, 5000);
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

ClaimResult Reserve(const std::u16string& className, const std::u16string& title) {
  return Listener::Get().Reserve(Key(className, title));
}

std::optional<std::string> SocketPathOf(const std::u16string& className,
                                        const std::u16string& title) {
  const std::optional<std::string> base = BasePath(Key(className, title));
  return base ? std::optional<std::string>(*base + ".sock") : std::nullopt;
}

void ServeConnection(int fd) { Listener::Get().Serve(fd); }

}  // namespace pda::user::rendezvous
