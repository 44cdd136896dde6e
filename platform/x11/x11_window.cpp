#include "x11_window.h"

#include <cairo-xcb.h>
#include <xcb/shape.h>

#include <cmath>

#include "platform/x11/x11_window_server.h"

namespace platform::x11 {
namespace {

// Runs of painted pixels, one rectangle per run, rows with the same runs
// merged into one taller rectangle.
std::vector<xcb_rectangle_t> paintedRectangles(cairo_surface_t* mask) {
  const int width = cairo_image_surface_get_width(mask);
  const int height = cairo_image_surface_get_height(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  const unsigned char* data = cairo_image_surface_get_data(mask);
  std::vector<xcb_rectangle_t> rectangles;
  std::vector<std::pair<int, int>> previous;
  size_t previousStart = 0;
  for (int y = 0; y < height; ++y) {
    std::vector<std::pair<int, int>> runs;
    const unsigned char* row = data + y * stride;
    for (int x = 0; x < width;) {
      if (!row[x]) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < width && row[x]) ++x;
      runs.emplace_back(start, x - start);
    }
    if (!runs.empty() && runs == previous) {
      for (size_t i = previousStart; i < rectangles.size(); ++i) ++rectangles[i].height;
      continue;
    }
    previousStart = rectangles.size();
    for (auto [start, length] : runs)
      rectangles.push_back({static_cast<int16_t>(start), static_cast<int16_t>(y), static_cast<uint16_t>(length), 1});
    previous = std::move(runs);
  }
  return rectangles;
}

uint32_t scaled(float component, uint32_t mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const uint32_t max = mask >> shift;
  const float clamped = std::fmin(1.0f, std::fmax(0.0f, component));
  return (static_cast<uint32_t>(std::lround(clamped * max)) << shift) & mask;
}

}  // namespace

X11Window::X11Window(X11WindowServer& server, Rect contentRect) : server_(server), frame_(contentRect) { create(); }

X11Window::~X11Window() {
  server_.forget(this);
  xcb_connection_t* c = server_.display().connection();
  xcb_destroy_window(c, id_);
  if (colormap_) xcb_free_colormap(c, colormap_);
}

void X11Window::create() {
  X11Display& display = server_.display();
  xcb_connection_t* c = display.connection();
  composited_ = server_.composited();
  id_ = xcb_generate_id(c);

  box_ = intersection(boxFromFrame(frame_, server_.screens().primary()),
                      representableArea(server_.screens().root()));
  const Box initial = box_.empty() ? Box{-1, -1, 1, 1} : box_;

  uint8_t depth = XCB_COPY_FROM_PARENT;
  xcb_visualid_t visual = display.screen()->root_visual;
  if (composited_) {
    depth = 32;
    visual = display.argbVisual()->visual_id;
    colormap_ = xcb_generate_id(c);
    xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, colormap_, display.root(), visual);
  }
  // Value order follows the bit order of the mask.
  const uint32_t mask = XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK |
                        (composited_ ? XCB_CW_COLORMAP : 0);
  backPixel_ = composited_ ? 0 : pixelFor(background_);
  const uint32_t values[] = {backPixel_, 0, 1, XCB_EVENT_MASK_EXPOSURE, colormap_};
  xcb_create_window(c, depth, id_, display.root(), static_cast<int16_t>(initial.x), static_cast<int16_t>(initial.y),
                    static_cast<uint16_t>(initial.width), static_cast<uint16_t>(initial.height), 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, visual, mask, values);
  if (display.hasShape())
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, id_, 0, 0, 0, nullptr);
  static const char kClass[] = "RetikonX\0RetikonX";
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, id_, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof kClass, kClass);
}

void X11Window::rebuild() {
  xcb_connection_t* c = server_.display().connection();
  xcb_destroy_window(c, id_);
  if (colormap_) xcb_free_colormap(c, colormap_);
  colormap_ = XCB_NONE;
  mapped_ = false;
  shown_.reset();
  create();
  update(true);
}

TextField& X11Window::addTextField(Rect frame, TextAlignment alignment) {
  fields_.push_back(std::make_unique<X11TextField>(frame, alignment));
  return *fields_.back();
}

void X11Window::setBackgroundColor(const ColourRef& colour) {
  if (colour) background_ = *colour;
  update(false);
}

void X11Window::setAlphaValue(float alpha) {
  alpha_ = std::fmin(1.0f, std::fmax(0.0f, alpha));
  update(false);
}

void X11Window::setOpaque(bool opaque) {
  opaque_ = opaque;
  update(false);
}

void X11Window::setHasShadow(bool hasShadow) {
  shadow_ = hasShadow;
  update(false);
}

void X11Window::setFrame(Rect frame, bool display) {
  frame_ = frame;
  update(display);
}

void X11Window::makeKeyAndOrderFront() {
  orderedIn_ = true;
  update(false);
}

void X11Window::orderOut() {
  orderedIn_ = false;
  update(false);
}

WindowContent X11Window::currentContent(bool redraw) const {
  WindowContent content;
  content.composited = composited_;
  content.shadow = shadow_ && composited_;
  content.background = background_;
  content.alpha = alpha_;
  content.fillsArea = opaque_ || background_.alpha > 0;
  content.viewHeight = frame_.height;
  const Box primary = server_.screens().primary();
  const Box contentBox = boxFromFrame(frame_, primary);
  const int32_t margin = content.shadow ? X11WindowServer::kShadowMargin : 0;
  content.box = intersection(inflated(contentBox, margin), representableArea(server_.screens().root()));
  // Measured in double from the frame itself, so a box cut down from a far-off
  // frame still draws the part of the content it shows.
  content.originX = (static_cast<double>(primary.x) + frame_.x) - content.box.x;
  content.originY = (static_cast<double>(primary.y) + primary.height - (double{frame_.y} + frame_.height)) - content.box.y;
  // Without a redraw the window keeps its old pixels until the next exposure.
  if (!redraw && shown_) {
    content.calls = shown_->calls;
    content.texts = shown_->texts;
    return content;
  }
  if (view_) {
    RecordedDrawing recorded;
    view_->drawRect({0, 0, frame_.width, frame_.height}, recorded);
    content.calls = recorded.calls();
  }
  for (const auto& field : fields_) content.texts.push_back(field->content());
  return content;
}

void X11Window::update(bool display) {
  if (display || shown_) {
    const WindowContent content = currentContent(display);
    if (!shown_ || !(content == *shown_)) applyContent(content);
  }
  server_.orderingChanged();
}

void X11Window::applyOrdering() {
  const bool visible = orderedIn_ && shown_ && !shown_->box.empty();
  if (visible == mapped_) return;
  xcb_connection_t* c = server_.display().connection();
  if (visible)
    xcb_map_window(c, id_);
  else
    xcb_unmap_window(c, id_);
  mapped_ = visible;
}

void X11Window::applyContent(const WindowContent& content) {
  xcb_connection_t* c = server_.display().connection();
  const bool moved = !content.box.empty() && !(content.box == box_);
  if (moved) {
    uint16_t mask = 0;
    uint32_t values[4];
    int n = 0;
    if (content.box.x != box_.x) mask |= XCB_CONFIG_WINDOW_X, values[n++] = static_cast<uint32_t>(content.box.x);
    if (content.box.y != box_.y) mask |= XCB_CONFIG_WINDOW_Y, values[n++] = static_cast<uint32_t>(content.box.y);
    if (content.box.width != box_.width)
      mask |= XCB_CONFIG_WINDOW_WIDTH, values[n++] = static_cast<uint32_t>(content.box.width);
    if (content.box.height != box_.height)
      mask |= XCB_CONFIG_WINDOW_HEIGHT, values[n++] = static_cast<uint32_t>(content.box.height);
    xcb_configure_window(c, id_, mask, values);
    box_ = content.box;
  }

  // Only the place changed: the X server moves the pixels itself.
  WindowContent placed = content;
  if (shown_) {
    placed.box.x = shown_->box.x;
    placed.box.y = shown_->box.y;
  }
  const bool repaintNeeded = !shown_ || !(placed == *shown_);
  shown_ = content;
  if (!repaintNeeded || content.box.empty()) return;

  if (composited_) {
    if (mapped_) repaint();
    return;
  }
  setShapeFromContent(content);
  const uint32_t pixel = pixelFor(content.mainColour());
  if (pixel != backPixel_) {
    xcb_change_window_attributes(c, id_, XCB_CW_BACK_PIXEL, &pixel);
    backPixel_ = pixel;
    if (mapped_) xcb_clear_area(c, 0, id_, 0, 0, 0, 0);
  }
}

void X11Window::setShapeFromContent(const WindowContent& content) {
  if (!server_.display().hasShape()) return;
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, content.box.width, content.box.height);
  cairo_t* cairo = cairo_create(mask);
  paintContent(cairo, content);
  cairo_destroy(cairo);
  cairo_surface_flush(mask);
  const auto rectangles = paintedRectangles(mask);
  cairo_surface_destroy(mask);
  xcb_shape_rectangles(server_.display().connection(), XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                       XCB_CLIP_ORDERING_UNSORTED, id_, 0, 0, static_cast<uint32_t>(rectangles.size()),
                       rectangles.data());
}

void X11Window::repaint() {
  // Without real alpha the background pixel and the shape are the picture.
  if (!composited_ || !shown_ || shown_->box.empty()) return;
  X11Display& display = server_.display();
  cairo_surface_t* surface = cairo_xcb_surface_create(display.connection(), id_, display.argbVisual(),
                                                      shown_->box.width, shown_->box.height);
  cairo_t* cairo = cairo_create(surface);
  // Painted aside and put in place in one step, so nothing flickers.
  cairo_push_group(cairo);
  paintContent(cairo, *shown_);
  cairo_pop_group_to_source(cairo);
  cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
  cairo_paint_with_alpha(cairo, alpha_);
  cairo_destroy(cairo);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
}

void X11Window::raise() {
  if (!mapped_) return;
  const uint32_t above = XCB_STACK_MODE_ABOVE;
  xcb_configure_window(server_.display().connection(), id_, XCB_CONFIG_WINDOW_STACK_MODE, &above);
}

uint32_t X11Window::pixelFor(const Colour& colour) const {
  const xcb_visualtype_t* visual = server_.display().rootVisual();
  if (!visual) return 0;
  return scaled(colour.red, visual->red_mask) | scaled(colour.green, visual->green_mask) |
         scaled(colour.blue, visual->blue_mask);
}

}  // namespace platform::x11
