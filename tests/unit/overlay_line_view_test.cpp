#include <cairo.h>
#include <gtest/gtest.h>

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
  ~Stroke() override { cairo_surface_destroy(surface); }

  // An image of the given size; the context's view is viewHeight high with
  // its top-left corner at the origin.
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
  // The line view filling an image of its own size, asked to draw rect.
  void draw(float width, float height, std::optional<platform::Rect> rect = std::nullopt) {
    render(static_cast<int>(width), static_cast<int>(height), height, 0, 0,
           [&](auto& context) { view.drawRect(rect.value_or(platform::Rect{0, 0, width, height}), context); });
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

  retikonx::ProcessState state = [] {
    retikonx::ProcessState s;
    s.s_color = platform::redColor();
    return s;
  }();
  retikonx::lineView view{state};
  cairo_surface_t* surface = nullptr;
  int w = 0, h = 0;
};

TEST_F(Stroke, HorizontalAndVerticalBarsHaveRoundEndsAndTheirThicknessAsWidth) {
  draw(200, 20);
  for (auto [x, y] : {std::pair{100, 0}, {100, 19}, {0, 10}, {199, 10}}) EXPECT_TRUE(painted(x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{0, 0}, {199, 19}, {1, 18}}) EXPECT_FALSE(painted(x, y)) << x << "," << y;
  draw(20, 200);
  for (auto [x, y] : {std::pair{0, 100}, {19, 100}, {10, 0}, {10, 199}}) EXPECT_TRUE(painted(x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{0, 199}, {19, 0}}) EXPECT_FALSE(painted(x, y)) << x << "," << y;
  draw(1, 100);
  EXPECT_EQ(paintedCount(), 100) << "a thin arm is one pixel wide";
}

TEST_F(Stroke, TheTieIsDrawnAsADisc) {
  draw(40, 40);
  for (auto [x, y] : {std::pair{20, 20}, {20, 1}, {1, 20}}) EXPECT_TRUE(painted(x, y)) << x << "," << y;
  EXPECT_FALSE(painted(2, 2)) << "a disc, not a square";
  EXPECT_NEAR(paintedCount(), 3.14159 * 20 * 20, 60);
}

TEST_F(Stroke, TheRectanglesOriginIsIgnored) {
  draw(200, 20);
  const int atOrigin = paintedCount();
  draw(200, 20, platform::Rect{10, 10, 200, 20});
  EXPECT_EQ(paintedCount(), atOrigin);
  EXPECT_TRUE(painted(0, 10));
  EXPECT_FALSE(painted(0, 0));
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
