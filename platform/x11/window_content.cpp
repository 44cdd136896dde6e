// SPDX-License-Identifier: MIT
#include "window_content.h"

#include <cmath>

#include "platform/x11/cairo_drawing.h"
#include "platform/x11/stroke_glyphs.h"

namespace platform::x11 {
namespace {

void paintText(cairo_t* cairo, const WindowContent& content, const TextContent& field) {
  if (field.text.empty()) return;
  const double alpha = content.composited ? field.colour.alpha : 1.0;
  cairo_set_source_rgba(cairo, field.colour.red, field.colour.green, field.colour.blue, alpha);

  const double left = content.originX + field.frame.x;
  const double top = content.originY + (content.viewHeight - (field.frame.y + field.frame.height));
  const double width = strokeTextWidth(field.text);
  double x = left;
  if (field.alignment == TextAlignment::Right) x = left + field.frame.width - width;
  if (field.alignment == TextAlignment::Centre) x = left + (field.frame.width - width) / 2;
  const double y = top + (field.frame.height - kGlyphHeight) / 2;
  // Text wholly off the target paints nothing; skipping it also keeps the
  // pixel position within an int for a far-off frame.
  if (x + width < 0 || y + kGlyphHeight + 2 < 0 || x > content.box.width || y > content.box.height) return;
  strokeText(cairo, field.text, static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
}

}  // namespace

Colour WindowContent::mainColour() const {
  if (fillsArea) return background;
  for (const DrawCall& call : calls)
    if (call.kind == DrawCall::Kind::Colour) return call.colour;
  for (const TextContent& field : texts)
    if (!field.text.empty()) return field.colour;
  return background;
}

void paintContent(cairo_t* cairo, const WindowContent& content) {
  if (!content.composited) cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  if (content.fillsArea) {
    const Colour& b = content.background;
    cairo_set_source_rgba(cairo, b.red, b.green, b.blue, content.composited ? b.alpha : 1.0);
    cairo_paint(cairo);
  }

  const Size surface{static_cast<float>(content.box.width), static_cast<float>(content.box.height)};
  CairoDrawing drawing(cairo, content.viewHeight, content.originX, content.originY, surface);
  drawing.setOpaqueColours(!content.composited);
  if (content.shadow && content.composited) {
    ShadowDrawing shadow(drawing);
    replay(content.calls, shadow);
  }
  replay(content.calls, drawing);
  for (const TextContent& field : content.texts) paintText(cairo, content, field);
}

}  // namespace platform::x11
