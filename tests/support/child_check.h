// Runs a check in a forked child, optionally as an unprivileged user.
//
// Permission cases mean nothing to root, who bypasses file modes, and CI runs as root: there the
// child gives up root for "nobody" before the check, after the folder the check works in has
// been handed to that user. Limits a check sets (RLIMIT_FSIZE, say) stay in the child.
#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace zaz::testing {

// The check returns "" when it holds, else what went wrong; so does this, for the child's fate.
inline std::string RunInChild(const std::function<std::string()>& check, bool unprivileged = false,
                              const std::string& folder = {}) {
  uid_t uid = 0;
  gid_t gid = 0;
  const bool drop = unprivileged && ::geteuid() == 0;
  if (drop) {
    const passwd* nobody = ::getpwnam("nobody");
    if (nobody == nullptr) return "no user \"nobody\" to run the check as";
    uid = nobody->pw_uid;
    gid = nobody->pw_gid;
    std::error_code ignored;
    if (!folder.empty()) {
      ::lchown(folder.c_str(), uid, gid);
      for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored))
        ::lchown(entry.path().c_str(), uid, gid);
    }
  }
  int pipe[2];
  if (::pipe(pipe) != 0) return "no pipe";
  const pid_t pid = ::fork();
  if (pid < 0) return "no fork";
  if (pid == 0) {
    ::close(pipe[0]);
    std::string result;
    if (drop && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0 ||
                 ::geteuid() == 0)) {
      result = "cannot give up root";
    } else {
      result = check();
    }
    [[maybe_unused]] const ssize_t n = ::write(pipe[1], result.data(), result.size());
    ::_exit(0);
  }
  ::close(pipe[1]);
  std::string result;
  char buffer[512];
  ssize_t n;
  while ((n = ::read(pipe[0], buffer, sizeof buffer)) > 0) result.append(buffer, buffer + n);
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    result += " (the child did not end normally: status " + std::to_string(status) + ")";
  return result;
}

}  // namespace zaz::testing
