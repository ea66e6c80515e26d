// Where the compose form's parts go in its client area: the header fields (To, Subject for
// e-mail, From), each a label on the left and a framed one-line field, a rule under them, and
// the body filling the rest down to the form's bottom edge. Lengths are given in points and
// scaled to the screen's DPI, so one layout serves 240x320@96 and 480x640@192 alike.
#pragma once

#include <array>

#include "pda/types.h"

namespace pda::messaging {

enum class ComposeField { To, Subject, From, Body };
inline constexpr std::size_t kComposeFieldCount = 4;

struct ComposeFieldPlace {
  RECT label{};  // empty for the body
  RECT frame{};  // the frame drawn around the field; empty for the body
  RECT edit{};   // the EDIT control; all three empty for a field the form does not have
};

struct ComposeFormLayout {
  std::array<ComposeFieldPlace, kComposeFieldCount> fields;
  RECT rule{};      // the line between the header and the body
  int frameWidth = 1;

  const ComposeFieldPlace& operator[](ComposeField field) const {
    return fields[static_cast<std::size_t>(field)];
  }
};

// The text measures the layout needs, in pixels: the height of a line of the fields' font and
// the width of the widest label.
struct ComposeFormMetrics {
  int lineHeight;
  int labelWidth;
};

// A client area of width x height; an SMS form (email false) has no Subject field. When the
// area is too short the body shrinks to nothing; the header keeps its size.
ComposeFormLayout LayOutComposeForm(int width, int height, bool email,
                                    const ComposeFormMetrics& metrics, int dpi);

}  // namespace pda::messaging
