#include "line_view.h"

namespace retikonx {

void lineView::drawRect(platform::Rect rect, platform::DrawingContext& context) {
  // The rectangle's origin plays no part: the stroke sits in the view's own
  // coordinates, and the caps end exactly at the edges of the longer side.
  const float w = rect.width;
  const float h = rect.height;
  context.setColour(state_.s_color);
  context.setLineCapRound();
  if (w > h) {
    context.setLineWidth(h);
    context.moveTo(h * 0.5f, h * 0.5f);
    context.lineTo(w - h * 0.5f, h * 0.5f);
  } else {
    context.setLineWidth(w);
    context.moveTo(w * 0.5f, h - w * 0.5f);
    context.lineTo(w * 0.5f, w * 0.5f);
  }
  context.stroke();
}

}  // namespace retikonx
