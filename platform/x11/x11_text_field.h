// SPDX-License-Identifier: MIT
#pragma once
// A text field drawn by the window that holds it.
#include <string>

#include "platform/windowing/window.h"
#include "platform/x11/window_content.h"

namespace platform::x11 {

class X11TextField : public TextField {
 public:
  X11TextField(Rect frame, TextAlignment alignment) : content_{frame, alignment, {}, {0, 0, 0, 1}} {}

  void setIntValue(int32_t value) override { content_.text = std::to_string(value); }
  void setStringValue(std::string text) override { content_.text = std::move(text); }
  void setTextColor(const ColourRef& colour) override {
    if (colour) content_.colour = *colour;
  }

  const TextContent& content() const { return content_; }

 private:
  TextContent content_;
};

}  // namespace platform::x11
