// The rows of a LISTBOX (see list_box_items.h).
#include "controls/list_box_items.h"

#include <algorithm>

#include "pda/kernel.h"

namespace pda::controls {
namespace {

int CompareIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return lstrcmpiW(std::u16string(a).c_str(), std::u16string(b).c_str());
}

}  // namespace

int ListItems::Add(std::u16string_view text, bool sorted) {
  auto at = rows_.end();
  if (sorted)
    at = std::upper_bound(rows_.begin(), rows_.end(), text,
                          [](std::u16string_view value, const std::u16string& row) {
                            return CompareIgnoringCase(value, row) < 0;
                          });
  const int index = static_cast<int>(at - rows_.begin());
  rows_.emplace(at, text);
  if (selection >= index) ++selection;
  return index;
}

int ListItems::Insert(int index, std::u16string_view text) {
  if (index == -1) index = count();
  if (index < 0 || index > count()) return kNone;
  rows_.emplace(rows_.begin() + index, text);
  if (selection >= index) ++selection;
  return index;
}

bool ListItems::Delete(int index) {
  if (!valid(index)) return false;
  rows_.erase(rows_.begin() + index);
  if (selection == index)
    selection = kNone;
  else if (selection > index)
    --selection;
  top = std::clamp(top, 0, std::max(count() - 1, 0));
  return true;
}

void ListItems::Clear() {
  rows_.clear();
  selection = kNone;
  top = 0;
}

template <class Match>
int ListItems::Find(int after, Match match) const {
  const int n = count();
  const int start = after >= 0 && after < n ? after + 1 : 0;
  for (int i = 0; i < n; ++i) {
    const int index = (start + i) % n;
    if (match(text(index))) return index;
  }
  return kNone;
}

int ListItems::FindPrefix(int after, std::u16string_view prefix) const {
  return Find(after, [prefix](const std::u16string& row) {
    return row.size() >= prefix.size() &&
           CompareIgnoringCase(std::u16string_view(row).substr(0, prefix.size()), prefix) == 0;
  });
}

int ListItems::FindExact(int after, std::u16string_view whole) const {
  return Find(after, [whole](const std::u16string& row) {
    return CompareIgnoringCase(row, whole) == 0;
  });
}

}  // namespace pda::controls
