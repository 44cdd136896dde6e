// SPDX-License-Identifier: MIT
#include "line_view.h"

namespace retikonx {

void lineView::drawRect(platform::Rect rect, platform::DrawingContext& context) {
  // The rectangle's origin plays no part: the stroke sits in the view's own
  // coordinates, and the caps end exactly at the edges of the longer side.
  const float width = rect.width;
  const float height = rect.height;
  context.setColour(state_.s_color);
  context.setLineCapRound();
  if (width > height) {
    context.setLineWidth(height);
    context.moveTo(height * 0.5f, height * 0.5f);
    context.lineTo(width - height * 0.5f, height * 0.5f);
  } else {
    context.setLineWidth(width);
    context.moveTo(width * 0.5f, height - width * 0.5f);
    context.lineTo(width * 0.5f, width * 0.5f);
  }
  context.stroke();
}

}  // namespace retikonx
