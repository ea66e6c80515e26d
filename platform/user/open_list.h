// The modal windows open on any thread (message boxes, popup menus), innermost last, so that test
// hooks can read the newest one. An entry lives for the scope of the call that shows the window.
#pragma once

#include <algorithm>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace pda::user {

template <class T>
class OpenList {
 public:
  class Entry {
   public:
    Entry(OpenList& list, T* item) : list_(list), item_(item) {
      std::lock_guard lock(list_.mutex_);
      list_.items_.push_back(item_);
    }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
    ~Entry() {
      std::lock_guard lock(list_.mutex_);
      auto& items = list_.items_;
      items.erase(std::remove(items.begin(), items.end(), item_), items.end());
    }

   private:
    OpenList& list_;
    T* item_;
  };

  // read(newest) under the list's lock, or nullopt when nothing is open.
  template <class Read>
  auto Newest(Read read) -> std::optional<decltype(read(std::declval<const T&>()))> {
    std::lock_guard lock(mutex_);
    if (items_.empty()) return std::nullopt;
    return read(*items_.back());
  }

 private:
  std::mutex mutex_;
  std::vector<T*> items_;
};

}  // namespace pda::user
