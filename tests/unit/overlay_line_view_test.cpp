#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "overlay/line_view.h"
#include "overlay/my_window.h"
#include "overlay_fakes.h"
#include "platform/x11/cairo_drawing.h"

namespace {

// Drawing onto an image without antialiasing, so every pixel is either
// stroked red or untouched.
class Stroke : public ::testing::Test {
 protected:
  Stroke() { state.s_color = platform::redColor(); }
  ~Stroke() override { cairo_surface_destroy(surface); }

  // An image of the given size showing a view viewHeight high whose top-left corner lies at the origin.
  void render(int width, int height, double viewHeight, double originX, double originY,
              const std::function<void(platform::CairoDrawing&)>& paint) {
    cairo_surface_destroy(surface);
    w = width, h = height;
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cairo = cairo_create(surface);
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
    platform::CairoDrawing context(cairo, viewHeight, originX, originY,
                                   {static_cast<float>(width), static_cast<float>(height)});
    paint(context);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
  }
  // The line view asked to draw rect, on an image of the rectangle's size.
  void draw(platform::Rect rect) {
    render(static_cast<int>(rect.width), static_cast<int>(rect.height), rect.height, 0, 0,
           [&](auto& context) { view.drawRect(rect, context); });
  }

  // The pixel counted from the image's top-left corner.
  bool paintedFromTop(int x, int y) const {
    const auto* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const uint32_t*>(row)[x] == 0xFFFF0000;
  }
  // The pixel in view coordinates (origin bottom-left).
  bool painted(int x, int y) const { return paintedFromTop(x, h - 1 - y); }
  int paintedCount() const {
    int n = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) n += painted(x, y);
    return n;
  }

  retikonx::ProcessState state;
  retikonx::lineView view{state};
  cairo_surface_t* surface = nullptr;
  int w = 0, h = 0;
};

TEST_F(Stroke, ArmsAreRoundCappedBarsAsThickAsTheShortSideWhateverTheRectanglesOrigin) {
  using Pixels = std::vector<std::pair<int, int>>;
  const struct {
    float width, height;
    Pixels painted, clear;  // in view coordinates
    int count, tolerance;   // painted pixels, when checked
  } cases[] = {{200, 20, {{100, 0}, {100, 19}, {0, 10}, {199, 10}}, {{0, 0}, {199, 19}, {1, 18}}, -1, 0},
               {20, 200, {{0, 100}, {19, 100}, {10, 0}, {10, 199}}, {{0, 199}, {19, 0}}, -1, 0},
               {1, 100, {}, {}, 100, 0},                                    // a thin arm is one pixel wide
               {40, 40, {{20, 20}, {20, 1}, {1, 20}}, {{2, 2}}, 1257, 60}};  // the tie is a disc
  for (const auto& c : cases) {
    for (float origin : {0.0f, 10.0f}) {
      SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << origin);
      draw({origin, origin, c.width, c.height});
      for (auto [x, y] : c.painted) EXPECT_TRUE(painted(x, y)) << x << "," << y;
      for (auto [x, y] : c.clear) EXPECT_FALSE(painted(x, y)) << x << "," << y;
      EXPECT_TRUE(c.count < 0 || std::abs(paintedCount() - c.count) <= c.tolerance) << paintedCount();
    }
  }
}

// A surface showing only part of an arm that lies billions of points away
// still paints exactly the band the arm crosses.
TEST_F(Stroke, FarAwayIsCutToTheSurface) {
  render(50, 10, 4, -2e9, 3, [](platform::CairoDrawing& context) {
    context.setColour(platform::redColor());
    context.setLineCapRound();
    context.setLineWidth(4);
    context.moveTo(2, 2);
    context.lineTo(4e9f, 2);
    context.stroke();
  });
  for (int x = 0; x < 50; ++x) {
    EXPECT_TRUE(paintedFromTop(x, 3) && paintedFromTop(x, 6)) << x;
    EXPECT_FALSE(paintedFromTop(x, 2) || paintedFromTop(x, 7)) << x;
  }
}

TEST(ArmWindow, IsBorderlessBufferedAndImmediateWhateverIsAsked) {
  fakes::FakeWindowServer server;
  auto window = retikonx::MyWindow::initWithContentRect(
      server, {10, 20, 300, 40}, platform::kTitledWindowMask | platform::kResizableWindowMask,
      platform::BackingStore::Retained, true);
  ASSERT_EQ(server.windows.size(), 1u);
  EXPECT_EQ(server.lastRect, (platform::Rect{10, 20, 300, 40}));
  EXPECT_EQ(server.lastStyle, platform::kBorderlessWindowMask);
  EXPECT_EQ(server.lastBacking, platform::BackingStore::Buffered);
  EXPECT_FALSE(server.lastDefer);
  const auto& fake = *server.windows[0];
  EXPECT_EQ(*fake.background, *platform::clearColor());
  EXPECT_EQ(fake.level, 13000) << "the screen saver's level";
  EXPECT_EQ(fake.alpha, 1.0f);
  EXPECT_EQ(fake.opaque, false);
  EXPECT_EQ(fake.shadow, false);
}

}  // namespace
