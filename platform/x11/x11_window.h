// SPDX-License-Identifier: MIT
#pragma once
// A window of the overlay on X: override-redirect so no window manager frames
// it or gives it the focus, an empty input shape so clicks reach the window
// below, real alpha where a compositing manager runs and a shape of exactly
// the painted pixels where none does. Requests go out only for what changed.
#include <xcb/xcb.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/windowing/window.h"
#include "platform/x11/window_content.h"
#include "platform/x11/x11_text_field.h"

namespace platform::x11 {

class X11WindowServer;

class X11Window : public Window {
 public:
  X11Window(X11WindowServer& server, Rect contentRect);
  ~X11Window() override;
  // The X window is this object's own, and the server knows it by its address.
  X11Window(const X11Window&) = delete;
  X11Window& operator=(const X11Window&) = delete;

  void setContentView(View* view) override { view_ = view; }
  TextField& addTextField(Rect frame, TextAlignment alignment) override;
  void setBackgroundColor(const ColourRef& colour) override;
  void setLevel(int32_t level) override { level_ = level; }
  void setAlphaValue(float alpha) override;
  void setOpaque(bool opaque) override;
  void setHasShadow(bool hasShadow) override;
  void setFrame(Rect frame, bool display) override;
  void makeKeyAndOrderFront() override;
  void orderOut() override;

  xcb_window_t id() const { return id_; }
  int32_t level() const { return level_; }
  bool mapped() const { return mapped_; }
  // Maps or unmaps the X window to match the last order in or out. Held back
  // until the caller's pass is over: a compositing manager draws a window
  // only after damage it sees following the map, and a repaint just before
  // an unmap and map in one pass leaves that damage reported, and taken,
  // before the map, so the window would stay undrawn.
  void applyOrdering();
  // A new X window of the kind the compositing state asks for, showing what this one showed.
  void rebuild();
  void repaint();
  void raise();

 private:
  void create();
  void update(bool display);
  void fillContent(WindowContent& content, bool redraw);
  // Puts next_ on screen and keeps it as what is shown.
  void applyContent();
  void setShapeFromContent(const WindowContent& content);
  uint32_t pixelFor(const Colour& colour) const;

  X11WindowServer& server_;
  xcb_window_t id_ = XCB_NONE;
  xcb_colormap_t colormap_ = XCB_NONE;
  bool composited_ = false;
  bool mapped_ = false;
  Box box_;
  uint32_t backPixel_ = 0;  // the fill of a window without real alpha
  std::optional<WindowContent> shown_;
  WindowContent next_;        // scratch: what the window would show now
  RecordedDrawing drawing_;   // scratch: the view's drawing

  View* view_ = nullptr;
  std::vector<std::unique_ptr<X11TextField>> fields_;
  Rect frame_;
  Colour background_{0, 0, 0, 0};
  int32_t level_ = 0;
  float alpha_ = 1;
  bool opaque_ = false;
  bool shadow_ = false;
  bool orderedIn_ = false;
};

}  // namespace platform::x11
