// SPDX-License-Identifier: MIT
#pragma once
// Windows as the overlay's controller and interface see them.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/foundation/colour.h"
#include "platform/windowing/drawing.h"
#include "platform/windowing/geometry.h"

namespace platform {

inline constexpr uint32_t kBorderlessWindowMask = 0;
inline constexpr uint32_t kTitledWindowMask = 1 << 0;
inline constexpr uint32_t kResizableWindowMask = 1 << 3;

enum class BackingStore : int32_t { Retained = 0, Nonretained = 1, Buffered = 2 };

// The level key of the screen saver: above every other window.
inline constexpr int32_t kScreenSaverWindowLevelKey = 13;

enum class TextAlignment { Left, Centre, Right };

class TextField {
 public:
  virtual ~TextField() = default;
  virtual void setIntValue(int32_t value) = 0;
  virtual void setStringValue(std::string text) = 0;
  virtual void setTextColor(const ColourRef& colour) = 0;
};

class Window {
 public:
  virtual ~Window() = default;

  // The view fills the window and follows its size; the window does not own it.
  virtual void setContentView(View* view) = 0;
  // A text field at a place in the window's content, owned by the window.
  virtual TextField& addTextField(Rect frame, TextAlignment alignment) = 0;

  virtual void setBackgroundColor(const ColourRef& colour) = 0;
  virtual void setLevel(int32_t level) = 0;
  virtual void setAlphaValue(float alpha) = 0;
  virtual void setOpaque(bool opaque) = 0;
  virtual void setHasShadow(bool hasShadow) = 0;

  // display: redraw the content now rather than at the next exposure.
  virtual void setFrame(Rect frame, bool display) = 0;
  virtual void makeKeyAndOrderFront() = 0;
  virtual void orderOut() = 0;
};

class WindowServer {
 public:
  virtual ~WindowServer() = default;
  // A new window, not on screen, with the given content rectangle. styleMask,
  // backing and defer are ignored: every window is borderless, buffered and
  // made at once, which is all the overlay asks for.
  virtual std::unique_ptr<Window> createWindow(Rect contentRect, uint32_t styleMask, BackingStore backing,
                                               bool defer) = 0;
  virtual int32_t windowLevelForKey(int32_t key) const = 0;
};

}  // namespace platform
