// The rows of a LISTBOX: text kept in order, sorted on insert when asked (case-insensitive, as
// the platform's lstrcmpiW orders text), and the selection and top row that follow insertions
// and deletions.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pda::controls {

class ListItems {
 public:
  static constexpr int kNone = -1;

  // Adds at the sorted place (after equal rows) or at the end; returns the index.
  int Add(std::u16string_view text, bool sorted);
  // Inserts before `index` (-1: at the end); kNone when the index is past the end.
  int Insert(int index, std::u16string_view text);
  // Removes a row; false when there is no such row.
  bool Delete(int index);
  void Clear();

  int count() const { return static_cast<int>(rows_.size()); }
  bool valid(int index) const { return index >= 0 && index < count(); }
  const std::u16string& text(int index) const { return rows_[static_cast<std::size_t>(index)]; }

  // The first row after `after` (-1: from the start), wrapping around, whose text starts with
  // `prefix` (or equals `whole`), compared without regard to case; kNone when none does.
  int FindPrefix(int after, std::u16string_view prefix) const;
  int FindExact(int after, std::u16string_view whole) const;

  int selection = kNone;
  int top = 0;

 private:
  template <class Match>
  int Find(int after, Match match) const;
  std::vector<std::u16string> rows_;
};

}  // namespace pda::controls
