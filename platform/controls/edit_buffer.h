// The edit control's text and selection, without any window: the anchor and the caret (the
// selection is the range between them), the typing limit and the modified flag.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace pda::controls {

class EditBuffer {
 public:
  static constexpr std::size_t kDefaultLimit = 0x7FFE;    // characters, before EM_LIMITTEXT
  static constexpr std::size_t kLargestLimit = 0x7FFFFFFE;  // EM_LIMITTEXT 0

  const std::u16string& text() const { return text_; }
  std::size_t caret() const { return caret_; }
  std::size_t anchor() const { return anchor_; }
  std::size_t selectionStart() const { return std::min(anchor_, caret_); }
  std::size_t selectionEnd() const { return std::max(anchor_, caret_); }
  bool hasSelection() const { return anchor_ != caret_; }
  std::u16string_view selectedText() const;
  std::size_t limit() const { return limit_; }
  bool modified() const { return modified_; }
  void setModified(bool modified) { modified_ = modified; }

  // The whole text; the limit does not apply (as for WM_SETTEXT). Selection at 0.
  void SetText(std::u16string_view text);
  // 0 means the largest limit. Text already longer stays.
  void SetLimit(std::size_t limit);
  // Positions are clamped to the text and kept off the middle of a CR LF pair.
  void Select(std::size_t anchor, std::size_t caret);
  // Moves the caret; extend keeps the anchor (a shift-selection).
  void MoveCaret(std::size_t position, bool extend);
  std::size_t PreviousPosition(std::size_t position) const;  // steps over CR LF as one
  std::size_t NextPosition(std::size_t position) const;

  struct Replaced {
    std::size_t inserted;  // characters of the new text that went in
    bool cut;              // the limit left room for less than all of it
  };
  // Replaces the selection; honourLimit cuts the new text to the room the limit leaves (never
  // between the halves of a surrogate pair). The caret ends after the inserted text.
  Replaced ReplaceSelection(std::u16string_view text, bool honourLimit);
  // Backspace and Delete: remove the selection, else one position before or after the caret.
  bool DeleteBackward();
  bool DeleteForward();

 private:
  std::size_t Clamp(std::size_t position) const;
  std::u16string text_;
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
  std::size_t limit_ = kDefaultLimit;
  bool modified_ = false;
};

}  // namespace pda::controls
