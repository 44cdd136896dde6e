#include <cairo.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/x11/window_content.h"
#include "platform/x11/x11_text_field.h"

using platform::TextAlignment;
using platform::x11::X11TextField;

namespace {

// The readout's 90 x 19 box, painted on a larger image with a margin around
// it so that a stroke leaving the box shows.
constexpr int kMargin = 20, kWidth = 90, kHeight = 19;

struct Image {
  std::vector<uint32_t> pixels;  // one per pixel of the image, row by row
  bool operator==(const Image&) const = default;
  bool painted(int x, int y) const { return pixels[y * (kWidth + 2 * kMargin) + x] != 0; }
};

// The readout laid out as the overlay's interface lays it out.
Image renderReadout(int32_t h, int32_t v, bool composited) {
  X11TextField pointX({0, 0, 41, 19}, TextAlignment::Right);
  X11TextField pointD({41, 0, 8, 19}, TextAlignment::Centre);
  X11TextField pointY({49, 0, 41, 19}, TextAlignment::Left);
  pointX.setIntValue(h);
  pointD.setStringValue(",");
  pointY.setIntValue(v);
  platform::x11::WindowContent content;
  content.box = {0, 0, kWidth + 2 * kMargin, kHeight + 2 * kMargin};
  content.originX = content.originY = kMargin;
  content.viewHeight = kHeight;
  content.composited = composited;
  for (X11TextField* field : {&pointX, &pointD, &pointY}) {
    field->setTextColor(platform::redColor());
    content.texts.push_back(field->content());
  }

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, content.box.width, content.box.height);
  cairo_t* cairo = cairo_create(surface);
  platform::x11::paintContent(cairo, content);
  cairo_destroy(cairo);
  cairo_surface_flush(surface);
  Image image;
  const auto* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < content.box.height; ++y)
    for (int x = 0; x < content.box.width; ++x)
      image.pixels.push_back(reinterpret_cast<const uint32_t*>(data + y * stride)[x]);
  cairo_surface_destroy(surface);
  return image;
}

// Painted pixels of the image between two columns of the readout.
int paintedBetween(const Image& image, int fromColumn, int toColumn) {
  int n = 0;
  for (int y = 0; y < kHeight + 2 * kMargin; ++y)
    for (int x = kMargin + fromColumn; x < kMargin + toColumn; ++x) n += image.painted(x, y);
  return n;
}

class ReadoutGlyphs : public ::testing::TestWithParam<bool> {};

TEST_P(ReadoutGlyphs, EveryGlyphPaintsInsideItsFieldAndTheBox) {
  // Every digit and the minus sign, the widest value included.
  for (int32_t value : {-32768, 12345, 67890}) {
    SCOPED_TRACE(value);
    const Image image = renderReadout(value, value, GetParam());
    int inside = 0, total = 0;
    for (int y = 0; y < kHeight + 2 * kMargin; ++y)
      for (int x = 0; x < kWidth + 2 * kMargin; ++x) {
        total += image.painted(x, y);
        inside += image.painted(x, y) && x >= kMargin && x < kMargin + kWidth && y >= kMargin && y < kMargin + kHeight;
      }
    EXPECT_EQ(inside, total) << "nothing outside the readout";
    EXPECT_GT(paintedBetween(image, 0, 41), 6) << "the first coordinate";
    EXPECT_GT(paintedBetween(image, 41, 49), 1) << "the label";
    EXPECT_GT(paintedBetween(image, 49, 90), 6) << "the second coordinate";
    EXPECT_EQ(paintedBetween(image, 0, 41) + paintedBetween(image, 41, 49) + paintedBetween(image, 49, 90), total)
        << "each text within its field";
  }
  // Each digit alone paints something, and the minus sign adds to it.
  for (int32_t digit = 0; digit <= 9; ++digit)
    EXPECT_GT(paintedBetween(renderReadout(digit, 0, GetParam()), 0, 41), 4) << digit;
  EXPECT_GT(paintedBetween(renderReadout(-1, 0, GetParam()), 0, 41),
            paintedBetween(renderReadout(1, 0, GetParam()), 0, 41));
}

TEST_P(ReadoutGlyphs, DifferentNumbersGiveDifferentImages) {
  // Each digit on its own, so two digits drawn alike show, and whole readouts.
  std::vector<std::pair<int32_t, int32_t>> points = {{-1, 1}, {700, 300}, {300, 700}, {110, 39}, {-32768, 32767}};
  for (int32_t digit = 0; digit <= 9; ++digit) points.emplace_back(digit, digit);
  std::vector<Image> images;
  for (auto [h, v] : points) images.push_back(renderReadout(h, v, GetParam()));
  for (size_t i = 0; i < images.size(); ++i)
    for (size_t j = i + 1; j < images.size(); ++j)
      EXPECT_NE(images[i], images[j]) << points[i].first << "," << points[i].second << " against " << points[j].first
                                      << "," << points[j].second;
}

INSTANTIATE_TEST_SUITE_P(Targets, ReadoutGlyphs, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Composited" : "Shaped"; });

}  // namespace
