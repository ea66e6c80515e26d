// The shell's watch on foreground and title changes.
#include "user/shell_watch.h"

#include <mutex>

namespace pda::user {
namespace {

std::mutex watchMutex;
std::function<void()>& Watch() {
  static std::function<void()>* const watch = new std::function<void()>;
  return *watch;
}

}  // namespace

void SetShellWatch(std::function<void()> changed) {
  std::lock_guard lock(watchMutex);
  Watch() = std::move(changed);
}

void TellShellWatch() {
  std::function<void()> watch;
  {
    std::lock_guard lock(watchMutex);
    watch = Watch();
  }
  if (watch) watch();
}

}  // namespace pda::user
