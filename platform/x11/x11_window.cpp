// SPDX-License-Identifier: MIT
#include "x11_window.h"

#include <cairo-xcb.h>
#include <xcb/shape.h>

#include <cmath>

#include "platform/x11/x11_window_server.h"
#include "platform/x11/xcb_cairo_owners.h"

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

// Whether the two differ at most in where the box lies. Compared as a whole,
// with the candidate's place set aside for the while, so no field is missed.
bool samePixels(WindowContent& candidate, const WindowContent& shown) {
  const Box place = candidate.box;
  candidate.box.x = shown.box.x;
  candidate.box.y = shown.box.y;
  const bool same = candidate == shown;
  candidate.box = place;
  return same;
}

uint32_t scaled(float component, uint32_t mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const uint32_t max = mask >> shift;
  const float clamped = std::fmin(1.0f, std::fmax(0.0f, component));
  return (static_cast<uint32_t>(std::lround(clamped * static_cast<float>(max))) << shift) & mask;
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
  if (hasShadow == shadow_) return;
  shadow_ = hasShadow;
  update(false);
}

void X11Window::setFrame(Rect frame, bool display) {
  frame_ = frame;
  update(display);
}

// The content does not depend on the ordering: only the pass's end, which
// maps and unmaps, needs to hear of it.
void X11Window::makeKeyAndOrderFront() {
  if (orderedIn_) return;
  orderedIn_ = true;
  server_.orderingChanged();
}

void X11Window::orderOut() {
  if (!orderedIn_) return;
  orderedIn_ = false;
  server_.orderingChanged();
}

// Filled in place, into vectors and strings that keep their capacity from
// tick to tick, so a tick at rest allocates nothing.
void X11Window::fillContent(WindowContent& content, bool redraw) {
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
    return;
  }
  drawing_.clear();
  if (view_) view_->drawRect({0, 0, frame_.width, frame_.height}, drawing_);
  content.calls = drawing_.calls();
  content.texts.resize(fields_.size());
  for (size_t i = 0; i < fields_.size(); ++i) content.texts[i] = fields_[i]->content();
}

void X11Window::update(bool display) {
  if (!display && !shown_) return;
  fillContent(next_, display);
  if (!shown_ || !(next_ == *shown_)) applyContent();
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

void X11Window::applyContent() {
  WindowContent& content = next_;
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
  const bool repaintNeeded = !shown_ || !samePixels(content, *shown_);
  // Swapped rather than copied, so both keep their buffers for the next tick.
  if (shown_)
    std::swap(*shown_, next_);
  else
    shown_ = next_;
  const WindowContent& now = *shown_;
  server_.orderingChanged();
  if (!repaintNeeded || now.box.empty()) return;

  if (composited_) {
    if (mapped_) repaint();
    return;
  }
  setShapeFromContent(now);
  const uint32_t pixel = pixelFor(now.mainColour());
  if (pixel != backPixel_) {
    xcb_change_window_attributes(c, id_, XCB_CW_BACK_PIXEL, &pixel);
    backPixel_ = pixel;
    if (mapped_) xcb_clear_area(c, 0, id_, 0, 0, 0, 0);
  }
}

void X11Window::setShapeFromContent(const WindowContent& content) {
  if (!server_.display().hasShape()) return;
  const CairoSurface mask(cairo_image_surface_create(CAIRO_FORMAT_A8, content.box.width, content.box.height));
  paintContent(CairoContext(cairo_create(mask.get())).get(), content);
  cairo_surface_flush(mask.get());
  const auto rectangles = paintedRectangles(mask.get());
  xcb_shape_rectangles(server_.display().connection(), XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                       XCB_CLIP_ORDERING_UNSORTED, id_, 0, 0, static_cast<uint32_t>(rectangles.size()),
                       rectangles.data());
}

void X11Window::repaint() {
  // Without real alpha the background pixel and the shape are the picture.
  if (!composited_ || !shown_ || shown_->box.empty()) return;
  X11Display& display = server_.display();
  const CairoSurface surface(cairo_xcb_surface_create(display.connection(), id_, display.argbVisual(),
                                                      shown_->box.width, shown_->box.height));
  {
    const CairoContext cairo(cairo_create(surface.get()));
    // Painted aside and put in place in one step, so nothing flickers.
    cairo_push_group(cairo.get());
    paintContent(cairo.get(), *shown_);
    cairo_pop_group_to_source(cairo.get());
    cairo_set_operator(cairo.get(), CAIRO_OPERATOR_SOURCE);
    cairo_paint_with_alpha(cairo.get(), alpha_);
  }
  cairo_surface_flush(surface.get());
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
