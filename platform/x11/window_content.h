// SPDX-License-Identifier: MIT
#pragma once
// Everything that decides what a window shows, taken as a value: when it is
// equal to what was shown last, the window sends nothing and paints nothing.
#include <cairo.h>

#include <string>
#include <vector>

#include "platform/x11/recorded_drawing.h"
#include "platform/windowing/window.h"
#include "platform/x11/x11_conversion.h"

namespace platform::x11 {

struct TextContent {
  Rect frame;  // in the window's content, bottom-left origin
  TextAlignment alignment = TextAlignment::Left;
  std::string text;
  Colour colour;
  bool operator==(const TextContent&) const = default;
};

struct WindowContent {
  std::vector<DrawCall> calls;
  std::vector<TextContent> texts;
  Box box;                           // the X window's place
  double originX = 0, originY = 0;   // the content's top-left corner in the X window
  float viewHeight = 0;
  Colour background;
  bool fillsArea = false;  // opaque: every pixel of the area is painted
  float alpha = 1;         // the whole window's, applied when it is put on screen
  bool shadow = false;
  bool composited = false;
  bool operator==(const WindowContent&) const = default;

  // The colour a window without real alpha is filled with: the background
  // when that covers the area, else the first colour drawn.
  Colour mainColour() const;
};

// Paints the content on a cleared target of the box's size. Without real
// alpha every colour is drawn opaque and nothing is smoothed, so the painted
// pixels are exactly those a shape mask made from them lets through.
void paintContent(cairo_t* cairo, const WindowContent& content);

}  // namespace platform::x11
