// EditBuffer: text edits with the typing limit.
#include "controls/edit_buffer.h"

#include <algorithm>

namespace pda::controls {
namespace {
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
}  // namespace

std::u16string_view EditBuffer::selectedText() const {
  return std::u16string_view(text_).substr(selectionStart(), selectionEnd() - selectionStart());
}

std::size_t EditBuffer::Clamp(std::size_t position) const {
  position = std::min(position, text_.size());
  if (position > 0 && position < text_.size() && text_[position - 1] == u'\r' &&
      text_[position] == u'\n')
    --position;
  return position;
}

void EditBuffer::SetText(std::u16string_view text) {
  text_.assign(text);
  anchor_ = caret_ = 0;
}

void EditBuffer::SetLimit(std::size_t limit) { limit_ = limit ? limit : kLargestLimit; }

void EditBuffer::Select(std::size_t anchor, std::size_t caret) {
  anchor_ = Clamp(anchor);
  caret_ = Clamp(caret);
}

void EditBuffer::MoveCaret(std::size_t position, bool extend) {
  caret_ = Clamp(position);
  if (!extend) anchor_ = caret_;
}

std::size_t EditBuffer::PreviousPosition(std::size_t position) const {
  if (position == 0) return 0;
  if (position >= 2 && text_[position - 2] == u'\r' && text_[position - 1] == u'\n')
    return position - 2;
  return position - 1;
}

std::size_t EditBuffer::NextPosition(std::size_t position) const {
  if (position >= text_.size()) return text_.size();
  if (text_[position] == u'\r' && position + 1 < text_.size() && text_[position + 1] == u'\n')
    return position + 2;
  return position + 1;
}

EditBuffer::Replaced EditBuffer::ReplaceSelection(std::u16string_view text, bool honourLimit) {
  const std::size_t start = selectionStart();
  const std::size_t kept = text_.size() - (selectionEnd() - start);
  std::size_t count = text.size();
  if (honourLimit) {
    const std::size_t room = kept < limit_ ? limit_ - kept : 0;
    if (count > room) {
      count = room;
      if (count > 0 && IsHighSurrogate(text[count - 1])) --count;
    }
  }
  const std::size_t removed = selectionEnd() - start;
  text_.replace(start, removed, text.substr(0, count));
  anchor_ = caret_ = start + count;
  if (count > 0 || removed > 0) modified_ = true;
  return {count, count < text.size()};
}

bool EditBuffer::DeleteBackward() {
  if (!hasSelection()) {
    if (caret_ == 0) return false;
    anchor_ = PreviousPosition(caret_);
  }
  ReplaceSelection(u"", false);
  return true;
}

bool EditBuffer::DeleteForward() {
  if (!hasSelection()) {
    if (caret_ >= text_.size()) return false;
    anchor_ = NextPosition(caret_);
  }
  ReplaceSelection(u"", false);
  return true;
}

}  // namespace pda::controls
