#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/x11/window_content.h"
#include "platform/x11/x11_text_field.h"

using platform::TextAlignment;
using platform::x11::X11TextField;

namespace {

// The readout's 90 x 19 box, painted on a larger image with a margin around
// it so that a stroke leaving the box shows.
constexpr int kMargin = 20, kHeight = 19, kImageWidth = 90 + 2 * kMargin, kImageHeight = kHeight + 2 * kMargin;
using Image = std::vector<uint32_t>;  // row by row

// The readout laid out as the overlay's interface lays it out.
Image renderReadout(int32_t h, int32_t v, bool composited) {
  X11TextField pointX({0, 0, 41, 19}, TextAlignment::Right), pointD({41, 0, 8, 19}, TextAlignment::Centre),
      pointY({49, 0, 41, 19}, TextAlignment::Left);
  pointX.setIntValue(h);
  pointD.setStringValue(",");
  pointY.setIntValue(v);
  platform::x11::WindowContent content;
  content.box = {0, 0, kImageWidth, kImageHeight};
  content.originX = content.originY = kMargin;
  content.viewHeight = kHeight;
  content.composited = composited;
  for (X11TextField* field : {&pointX, &pointD, &pointY}) {
    field->setTextColor(platform::redColor());
    content.texts.push_back(field->content());
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kImageWidth, kImageHeight);
  cairo_t* cairo = cairo_create(surface);
  platform::x11::paintContent(cairo, content);
  cairo_destroy(cairo);
  cairo_surface_flush(surface);
  Image image;
  for (int y = 0; y < kImageHeight; ++y) {
    const auto* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    image.insert(image.end(), reinterpret_cast<const uint32_t*>(row), reinterpret_cast<const uint32_t*>(row) + kImageWidth);
  }
  cairo_surface_destroy(surface);
  return image;
}

// Painted pixels of the readout's box between two of its columns.
int paintedBetween(const Image& image, int from, int to) {
  int n = 0;
  for (int y = kMargin; y < kMargin + kHeight; ++y)
    for (int x = kMargin + from; x < kMargin + to; ++x) n += image[y * kImageWidth + x] != 0;
  return n;
}

TEST(ReadoutGlyphs, EachTextPaintsInsideItsFieldAndDifferentNumbersLookDifferent) {
  for (bool composited : {false, true}) {
    SCOPED_TRACE(composited ? "composited" : "shaped");
    EXPECT_GT(paintedBetween(renderReadout(-1, 0, composited), 0, 41),
              paintedBetween(renderReadout(1, 0, composited), 0, 41)) << "the minus sign";
    // Every digit on its own, so that two digits drawn alike show, the widest
    // values and whole readouts.
    std::vector<std::pair<int32_t, int32_t>> points = {{-1, 1},       {700, 300},         {300, 700},
                                                       {110, 39},     {-32768, -32768},   {12345, 67890}};
    for (int32_t digit = 0; digit <= 9; ++digit) points.emplace_back(digit, digit);
    std::vector<Image> images;
    for (auto [h, v] : points) {
      const Image& image = images.emplace_back(renderReadout(h, v, composited));
      const int first = paintedBetween(image, 0, 41), label = paintedBetween(image, 41, 49),
                second = paintedBetween(image, 49, 90);
      EXPECT_GT(first, 4) << h;
      EXPECT_GT(label, 1) << h;
      EXPECT_GT(second, 4) << v;
      EXPECT_EQ(first + label + second, image.size() - std::count(image.begin(), image.end(), 0u))
          << h << "," << v << ": every text within its field, nothing outside the readout";
    }
    for (size_t i = 0; i < images.size(); ++i)
      for (size_t j = i + 1; j < images.size(); ++j)
        EXPECT_NE(images[i], images[j]) << points[i].first << "," << points[i].second << " against "
                                        << points[j].first << "," << points[j].second;
  }
}

}  // namespace
