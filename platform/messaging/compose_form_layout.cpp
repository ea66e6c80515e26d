// The compose form's layout (compose_form_layout.h).
#include "messaging/compose_form_layout.h"

#include <algorithm>

#include "look/look.h"

namespace pda::messaging {

ComposeFormLayout LayOutComposeForm(int width, int height, bool email,
                                    const ComposeFormMetrics& metrics, int dpi) {
  ComposeFormLayout layout;
  const int margin = look::PointsToPixels(3, dpi);
  const int gap = look::PointsToPixels(2, dpi);
  const int frame = std::max(1, dpi / 96);
  // Inside the frame, a little air above and below the line.
  const int pad = frame + look::PointsToPixels(1, dpi);
  const int row = metrics.lineHeight + 2 * pad;
  const int fieldLeft = margin + metrics.labelWidth + margin;
  const int fieldRight = std::max(fieldLeft + 2 * frame, width - margin);
  layout.frameWidth = frame;

  int y = margin;
  for (const ComposeField field : {ComposeField::To, ComposeField::Subject, ComposeField::From}) {
    if (field == ComposeField::Subject && !email) continue;
    ComposeFieldPlace& place = layout.fields[static_cast<std::size_t>(field)];
    place.label = {margin, y, margin + metrics.labelWidth, y + row};
    place.frame = {fieldLeft, y, fieldRight, y + row};
    place.edit = {fieldLeft + frame, y + pad, fieldRight - frame, y + row - pad};
    y += row + gap;
  }
  layout.rule = {0, y, width, y + frame};
  y += frame;
  ComposeFieldPlace& body = layout.fields[static_cast<std::size_t>(ComposeField::Body)];
  body.edit = {0, y, width, std::max(y, height)};
  return layout;
}

}  // namespace pda::messaging
