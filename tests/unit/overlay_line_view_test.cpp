// SPDX-License-Identifier: MIT
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "overlay/line_view.h"
#include "overlay/process_state.h"
#include "platform/x11/cairo_drawing.h"

namespace {

// Which pixels of a width x height image are painted red, row by row from the
// top, when paint draws on it without antialiasing: the view drawn is
// viewHeight high, its top-left corner at the origin given.
std::vector<bool> render(int width, int height, double viewHeight, double originX, double originY,
                         const std::function<void(platform::CairoDrawing&)>& paint) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cairo = cairo_create(surface);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  platform::CairoDrawing context(cairo, viewHeight, originX, originY,
                                 {static_cast<float>(width), static_cast<float>(height)});
  paint(context);
  cairo_destroy(cairo);
  cairo_surface_flush(surface);
  std::vector<bool> red;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      red.push_back(reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface) +
                                                      y * cairo_image_surface_get_stride(surface))[x] == 0xFFFF0000);
  cairo_surface_destroy(surface);
  return red;
}

TEST(LineView, ArmsAreRoundCappedBarsAsThickAsTheShortSideWhateverTheRectanglesOrigin) {
  retikonx::ProcessState state;
  state.s_color = platform::redColor();
  retikonx::lineView view{state};
  using Pixels = std::vector<std::pair<int, int>>;  // in view coordinates, origin bottom-left
  const struct { int width, height; Pixels painted, clear; } cases[] = {
      {200, 20, {{100, 0}, {100, 19}, {0, 10}, {199, 10}}, {{0, 0}, {199, 19}, {1, 18}}},
      {20, 200, {{0, 100}, {19, 100}, {10, 0}, {10, 199}}, {{0, 199}, {19, 0}}},
      {1, 100, {{0, 0}, {0, 50}, {0, 99}}, {}}};
  for (const auto& c : cases) {
    for (float origin : {0.0f, 10.0f}) {
      SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << origin);
      const platform::Rect rect{origin, origin, static_cast<float>(c.width), static_cast<float>(c.height)};
      const auto red = render(c.width, c.height, c.height, 0, 0, [&](auto& context) { view.drawRect(rect, context); });
      auto painted = [&](int x, int y) { return red[(c.height - 1 - y) * c.width + x]; };
      for (auto [x, y] : c.painted) EXPECT_TRUE(painted(x, y)) << x << "," << y;
      for (auto [x, y] : c.clear) EXPECT_FALSE(painted(x, y)) << x << "," << y;
      EXPECT_TRUE(c.width != 1 || std::count(red.begin(), red.end(), true) == 100) << "a thin arm is one pixel wide";
    }
  }
}

// A surface showing only part of an arm that lies billions of points away
// still paints exactly the band the arm crosses.
TEST(CairoDrawing, FarAwayIsCutToTheSurface) {
  const auto red = render(50, 10, 4, -2e9, 3, [](platform::CairoDrawing& context) {
    context.setColour(platform::redColor());
    context.setLineCapRound();
    context.setLineWidth(4);
    context.moveTo(2, 2);
    context.lineTo(4e9f, 2);
    context.stroke();
  });
  for (int y = 0; y < 10; ++y)
    EXPECT_EQ(std::count(red.begin() + y * 50, red.begin() + y * 50 + 50, true), y >= 3 && y <= 6 ? 50 : 0) << y;
}

}  // namespace
