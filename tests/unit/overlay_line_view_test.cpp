#include <cairo.h>
#include <gtest/gtest.h>

#include "overlay/line_view.h"
#include "overlay/my_window.h"
#include "overlay_fakes.h"
#include "platform/x11/cairo_drawing.h"

namespace {

// The view drawn onto an image of its own size, without antialiasing, so
// every pixel is either stroked or untouched.
class Stroke : public ::testing::Test {
 protected:
  void draw(float width, float height, platform::Rect rect) {
    w = static_cast<int>(width);
    h = static_cast<int>(height);
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cairo = cairo_create(surface);
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
    platform::CairoDrawing context(cairo, height, 0, 0, {width, height});
    view.drawRect(rect, context);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
  }
  void draw(float width, float height) { draw(width, height, {0, 0, width, height}); }
  ~Stroke() override {
    if (surface) cairo_surface_destroy(surface);
  }

  // The pixel in view coordinates (origin bottom-left).
  uint32_t pixel(int x, int y) const {
    const auto* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const uint32_t*>(data + (h - 1 - y) * stride)[x];
  }
  bool painted(int x, int y) const { return pixel(x, y) == kRed; }
  int paintedCount() const {
    int n = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) n += painted(x, y);
    return n;
  }

  static constexpr uint32_t kRed = 0xFFFF0000;
  retikonx::ProcessState state = [] {
    retikonx::ProcessState s;
    s.s_color = platform::redColor();
    return s;
  }();
  retikonx::lineView view{state};
  cairo_surface_t* surface = nullptr;
  int w = 0, h = 0;
};

TEST_F(Stroke, HorizontalBarHasRoundEndsAndTheHeightAsWidth) {
  draw(200, 20);
  EXPECT_TRUE(painted(100, 0));
  EXPECT_TRUE(painted(100, 19)) << "the full height is stroked";
  EXPECT_TRUE(painted(0, 10)) << "the cap reaches the left edge";
  EXPECT_TRUE(painted(199, 10)) << "the cap reaches the right edge";
  EXPECT_FALSE(painted(0, 0)) << "corners outside the round cap stay clear";
  EXPECT_FALSE(painted(199, 19));
  EXPECT_FALSE(painted(1, 18));
}

TEST_F(Stroke, VerticalBarAndTheTieIsDrawnAsADisc) {
  draw(20, 200);
  EXPECT_TRUE(painted(0, 100));
  EXPECT_TRUE(painted(19, 100));
  EXPECT_TRUE(painted(10, 0));
  EXPECT_TRUE(painted(10, 199));
  EXPECT_FALSE(painted(0, 199));
  EXPECT_FALSE(painted(19, 0));

  cairo_surface_destroy(surface);
  draw(40, 40);
  EXPECT_TRUE(painted(20, 20));
  EXPECT_TRUE(painted(20, 1));
  EXPECT_TRUE(painted(1, 20));
  EXPECT_FALSE(painted(2, 2)) << "a disc, not a square";
  EXPECT_NEAR(paintedCount(), 3.14159 * 20 * 20, 60);
}

TEST_F(Stroke, TheRectanglesOriginIsIgnored) {
  draw(200, 20);
  const int atOrigin = paintedCount();
  cairo_surface_destroy(surface);
  draw(200, 20, {10, 10, 200, 20});
  EXPECT_EQ(paintedCount(), atOrigin);
  EXPECT_TRUE(painted(0, 10));
  EXPECT_FALSE(painted(0, 0));
}

TEST_F(Stroke, ThinArmIsOnePixelWide) {
  draw(1, 100);
  EXPECT_EQ(paintedCount(), 100);
}

// A surface showing only part of an arm that lies billions of points away
// still paints exactly the band the arm crosses.
TEST(StrokeFarAway, IsCutToTheSurface) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 50, 10);
  cairo_t* cairo = cairo_create(surface);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  platform::CairoDrawing context(cairo, 4, -2e9, 3, {50, 10});
  context.setColour(platform::redColor());
  context.setLineCapRound();
  context.setLineWidth(4);
  context.moveTo(2, 2);
  context.lineTo(4e9f, 2);
  context.stroke();
  cairo_destroy(cairo);
  cairo_surface_flush(surface);
  const auto* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  auto at = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(data + y * stride)[x]; };
  for (int x = 0; x < 50; ++x) {
    EXPECT_EQ(at(x, 3), 0xFFFF0000u) << x;
    EXPECT_EQ(at(x, 6), 0xFFFF0000u) << x;
    EXPECT_EQ(at(x, 2), 0u) << x;
    EXPECT_EQ(at(x, 7), 0u) << x;
  }
  cairo_surface_destroy(surface);
}

TEST(ArmWindow, IsBorderlessBufferedAndImmediateWhateverIsAsked) {
  fakes::FakeWindowServer server;
  auto window = retikonx::MyWindow::initWithContentRect(
      server, {10, 20, 300, 40}, platform::kTitledWindowMask | platform::kResizableWindowMask,
      platform::BackingStore::Retained, true);
  ASSERT_EQ(server.created.size(), 1u);
  const auto& created = server.created[0];
  EXPECT_EQ(created.contentRect, (platform::Rect{10, 20, 300, 40}));
  EXPECT_EQ(created.styleMask, platform::kBorderlessWindowMask);
  EXPECT_EQ(created.backing, platform::BackingStore::Buffered);
  EXPECT_FALSE(created.defer);

  auto& fake = *server.windows[0];
  EXPECT_EQ(fake.background->alpha, 0.0f);
  EXPECT_EQ(fake.level, 13000);
  EXPECT_EQ(fake.alpha, 1.0f);
  EXPECT_EQ(fake.opaque, false);
  EXPECT_EQ(fake.shadow, false);
  const std::vector<std::string> order = {"w1.setBackgroundColor", "w1.setLevel", "w1.setAlphaValue",
                                          "w1.setOpaque", "w1.setHasShadow NO"};
  EXPECT_EQ(server.log, order);
}

}  // namespace
