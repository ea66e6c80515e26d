// The message box's look, kept apart from its window: a layout computed from the content and the
// screen, and a painter that draws that layout into any device context (the screen, or a memory
// bitmap in a test). The window and its modal loop are in message_box.cpp.
#pragma once

#include <string>
#include <vector>

#include "pda/dialogs.h"
#include "pda/gdi.h"

namespace pda::user {

struct MessageBoxContent {
  std::u16string text;
  std::u16string caption;
  UINT type = MB_OK;
};

struct MessageBoxButton {
  const char16_t* label;
  int result;
  RECT rect;  // client coordinates
};

// The answers of one button set: which buttons, and what Escape and closing give.
struct MessageBoxAnswers {
  std::vector<MessageBoxButton> buttons;  // rects still empty
  int escape;
  int close;
};
MessageBoxAnswers AnswersFor(UINT type);

enum class MessageBoxIcon { none, hand, question, exclamation, information };
MessageBoxIcon IconOf(UINT type);

struct MessageBoxLayout {
  RECT panel{};    // screen coordinates: the box's window
  RECT caption{};  // client coordinates from here on
  RECT icon{};     // empty without an icon
  RECT text{};
  std::vector<MessageBoxButton> buttons;
  int defaultButton = 0;
  int escape = IDOK;
  int close = IDOK;
};

// Fonts of the box; the layout measures with them and the painter draws with them.
struct MessageBoxFonts {
  HFONT text;
  HFONT bold;
};

// screen: width x height at dpi. The text wraps at word breaks; a text too long for the screen
// is cut at the panel's bottom (the buttons stay on screen).
MessageBoxLayout LayOutMessageBox(const MessageBoxContent& content, const MessageBoxFonts& fonts,
                                  int screenWidth, int screenHeight, int dpi);

// Draws the whole box at client coordinates; pressed is the index of a held button or -1.
void PaintMessageBox(HDC dc, const MessageBoxLayout& layout, const MessageBoxContent& content,
                     const MessageBoxFonts& fonts, int dpi, int pressed);

}  // namespace pda::user
