#include "window_content.h"

#include "platform/x11/cairo_drawing.h"

namespace platform::x11 {
namespace {

constexpr const char* kFontFamily = "DejaVu Sans";
constexpr double kFontSize = 12;

void paintText(cairo_t* cairo, const WindowContent& content, const TextContent& field) {
  if (field.text.empty()) return;
  cairo_select_font_face(cairo, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo, kFontSize);
  const double alpha = content.composited ? field.colour.alpha : 1.0;
  cairo_set_source_rgba(cairo, field.colour.red, field.colour.green, field.colour.blue, alpha);

  cairo_text_extents_t text;
  cairo_text_extents(cairo, field.text.c_str(), &text);
  cairo_font_extents_t font;
  cairo_font_extents(cairo, &font);

  const double left = content.originX + field.frame.x;
  const double top = content.originY + (content.viewHeight - (field.frame.y + field.frame.height));
  double x = left - text.x_bearing;
  if (field.alignment == TextAlignment::Right) x = left + field.frame.width - text.x_advance;
  if (field.alignment == TextAlignment::Centre) x = left + (field.frame.width - text.x_advance) / 2;
  const double baseline = top + (field.frame.height + font.ascent - font.descent) / 2;
  cairo_move_to(cairo, x, baseline);
  cairo_show_text(cairo, field.text.c_str());
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
  if (!content.composited) {
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
    cairo_set_font_options(cairo, options);
    cairo_font_options_destroy(options);
  }
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
