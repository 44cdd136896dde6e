// SPDX-License-Identifier: MIT
#include "stroke_glyphs.h"

#include <numbers>

namespace platform::x11 {
namespace {

// Glyphs are laid out in pixels, y down, their strokes through pixel centres:
// a stroke a little over one pixel wide then paints whole pixels without
// antialiasing and stays crisp with it.
constexpr double kStrokeWidth = 1.3;
constexpr int kGap = 2;
constexpr int kDigitWidth = 5;

int glyphWidth(char c) {
  switch (c) {
    case '-': return 4;
    case ',': return 2;
    default: return kDigitWidth;
  }
}

class Pen {
 public:
  Pen(cairo_t* cairo, int left, int top) : cairo_(cairo), x_(left + 0.5), y_(top + 0.5) {}

  void move(double x, double y) { cairo_move_to(cairo_, x_ + x, y_ + y); }
  void line(double x, double y) { cairo_line_to(cairo_, x_ + x, y_ + y); }
  // Clockwise on screen from one angle to the other, in degrees from the +x axis;
  // joined by a straight stroke to where the pen stands.
  void arc(double cx, double cy, double r, double from, double to) {
    cairo_arc(cairo_, x_ + cx, y_ + cy, r, radians(from), radians(to));
  }
  void circle(double cx, double cy, double r) {
    cairo_new_sub_path(cairo_);
    arc(cx, cy, r, 0, 360);
    close();
  }
  void close() { cairo_close_path(cairo_); }

 private:
  static double radians(double degrees) { return degrees * std::numbers::pi / 180; }
  cairo_t* cairo_;
  double x_, y_;
};

// The digits fill five columns and nine rows (0..4, 0..8 as stroke centres);
// round parts are arcs of radius 2, so a bowl is half the digit's height.
void traceGlyph(Pen& pen, char c) {
  switch (c) {
    case '0':
      pen.arc(2, 2, 2, 180, 360);
      pen.line(4, 6);
      pen.arc(2, 6, 2, 0, 180);
      pen.close();
      break;
    case '1':
      pen.move(0, 2);
      pen.line(2, 0);
      pen.line(2, 8);
      pen.move(0, 8);
      pen.line(4, 8);
      break;
    case '2':
      pen.arc(2, 2, 2, 180, 360);
      pen.line(0, 8);
      pen.line(4, 8);
      break;
    case '3':
      pen.arc(2, 2, 2, 180, 450);
      pen.arc(2, 6, 2, 270, 540);
      break;
    case '4':
      // Open at the top: a diagonal this short would close into a blot.
      pen.move(0, 0);
      pen.line(0, 5);
      pen.line(4, 5);
      pen.move(3, 2);
      pen.line(3, 8);
      break;
    case '5':
      pen.move(4, 0);
      pen.line(0, 0);
      pen.line(0, 4);
      pen.arc(2, 6, 2, 270, 510);
      break;
    case '6':
      pen.circle(2, 6, 2);
      pen.move(0, 6);
      pen.line(0, 2);
      pen.arc(2, 2, 2, 180, 330);
      break;
    case '7':
      pen.move(0, 0);
      pen.line(4, 0);
      pen.line(1, 8);
      break;
    case '8':
      pen.circle(2, 2, 2);
      pen.circle(2, 6, 2);
      break;
    case '9':
      pen.circle(2, 2, 2);
      pen.move(4, 2);
      pen.line(4, 6);
      pen.arc(2, 6, 2, 0, 150);
      break;
    case '-':
      pen.move(0, 4);
      pen.line(3, 4);
      break;
    case ',':
      pen.move(1, 7);
      pen.line(1, 8);
      pen.line(0, 10);
      break;
    default:
      break;
  }
}

}  // namespace

int strokeTextWidth(std::string_view text) {
  int width = 0;
  for (char c : text) width += glyphWidth(c) + kGap;
  return text.empty() ? 0 : width - kGap;
}

void strokeText(cairo_t* cairo, std::string_view text, int left, int top) {
  cairo_save(cairo);
  cairo_set_line_width(cairo, kStrokeWidth);
  cairo_set_line_cap(cairo, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cairo, CAIRO_LINE_JOIN_ROUND);
  cairo_new_path(cairo);
  for (char c : text) {
    Pen pen(cairo, left, top);
    cairo_new_sub_path(cairo);
    traceGlyph(pen, c);
    left += glyphWidth(c) + kGap;
  }
  cairo_stroke(cairo);
  cairo_restore(cairo);
}

}  // namespace platform::x11
