// A private gpsd fed by gpsfake (see gpsfake.h).
#include "gpsfake.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace zaz::testing {
namespace {

bool OnPath(const char* program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  dirs += ":/usr/sbin:/sbin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t colon = dirs.find(':', start);
    const std::string dir = dirs.substr(start, colon - start);
    if (!dir.empty() && ::access((dir + "/" + program).c_str(), X_OK) == 0) return true;
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return false;
}

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

bool Accepts(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return false;
  const sockaddr_in a = Loopback(port);
  const bool ok = ::connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  ::close(s);
  return ok;
}

// Processes of the group whose command name is `name`.
std::vector<pid_t> GroupMembers(pid_t group, const std::string& name) {
  std::vector<pid_t> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string pidText = entry.path().filename();
    if (pidText.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    // pid (comm) state ppid pgrp ...; comm may hold spaces, so split at the last ')'.
    const std::size_t open = line.find('('), close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos) continue;
    const std::string comm = line.substr(open + 1, close - open - 1);
    char state = 0;
    int ppid = 0, pgrp = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %d %d", &state, &ppid, &pgrp) != 3) continue;
    if (pgrp == group && comm == name && state != 'Z') found.push_back(static_cast<pid_t>(std::stoi(pidText)));
  }
  return found;
}

}  // namespace

std::string GpsFake::MissingTools() {
  std::string missing;
  if (!OnPath("gpsfake")) missing += "gpsfake (package gpsd-clients) ";
  if (!OnPath("gpsd")) missing += "gpsd (package gpsd) ";
  if (!OnPath("setsid")) missing += "setsid (package util-linux) ";
  return missing;
}

int GpsFake::FreePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return 0;
  sockaddr_in a = Loopback(0);
  socklen_t length = sizeof a;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &length) == 0)
    port = ntohs(a.sin_port);
  ::close(s);
  return port;
}

std::unique_ptr<GpsFake> GpsFake::Start(const std::string& log, int port, double cycleSeconds,
                                        std::string* error) {
  const std::string missing = MissingTools();
  if (!missing.empty()) {
    *error = "not installed: " + missing + "(scripts/install-deps.sh installs them)";
    return nullptr;
  }
  const std::string portText = std::to_string(port);
  char cycle[32];
  std::snprintf(cycle, sizeof cycle, "%g", cycleSeconds);
  const pid_t child = ::fork();
  if (child < 0) {
    *error = "fork failed";
    return nullptr;
  }
  if (child == 0) {
    ::setsid();  // its own process group, so that teardown reaches gpsd too
    // gpsfake and gpsd chatter (for example about D-Bus); keep the test output readable.
    if (std::FILE* null = std::freopen("/dev/null", "w", stdout)) (void)null;
    if (std::FILE* null = std::freopen("/dev/null", "w", stderr)) (void)null;
    ::execlp("gpsfake", "gpsfake", "-P", portText.c_str(), "-q", "-c", cycle, "-W", "60",
             log.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  auto fake = std::unique_ptr<GpsFake>(new GpsFake(child, port));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    if (Accepts(port)) return fake;
    int status = 0;
    if (::waitpid(child, &status, WNOHANG) == child) {
      fake->group_ = 0;
      *error = "gpsfake exited before its gpsd listened on port " + portText;
      return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  *error = "gpsd did not listen on port " + portText + " within 10 s";
  return nullptr;
}

bool GpsFake::KillGpsd() {
  bool killed = false;
  for (pid_t pid : GroupMembers(group_, "gpsd")) killed = ::kill(pid, SIGKILL) == 0 || killed;
  return killed;
}

void GpsFake::Stop() {
  if (group_ <= 0) return;
  ::kill(-group_, SIGKILL);
  int status = 0;
  ::waitpid(group_, &status, 0);
  // gpsd is not our child: wait until the port is free again, so a new gpsfake can take it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!GroupMembers(group_, "gpsd").empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::filesystem::remove("/tmp/gpsfake-" + std::to_string(group_) + ".sock");
  group_ = 0;
}

GpsFake::~GpsFake() { Stop(); }

}  // namespace zaz::testing
