// SPDX-License-Identifier: MIT
#include "x11_conversion.h"

#include <xcb/xproto.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/windowing/input.h"

namespace platform::x11 {
namespace {

int32_t clampToInt32(double value) {
  return static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

// Far beyond any screen, yet close enough that a difference of two fits in 32 bits.
int32_t clampToReach(double value) { return static_cast<int32_t>(std::clamp(value, -1e9, 1e9)); }

int16_t clampToInt16(int64_t value) {
  return static_cast<int16_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

}  // namespace

uint32_t modifierMaskFromState(uint16_t state) {
  uint32_t mask = 0;
  if (state & XCB_MOD_MASK_4) mask |= kCommandKey;
  if (state & XCB_MOD_MASK_SHIFT) mask |= kShiftKey;
  if (state & XCB_MOD_MASK_LOCK) mask |= kCapsLockKey;
  if (state & XCB_MOD_MASK_1) mask |= kOptionKey;
  if (state & XCB_MOD_MASK_CONTROL) mask |= kControlKey;
  return mask;
}

Box boxFromFrame(Rect frame, Box primary) {
  if (!(frame.width > 0) || !(frame.height > 0)) return {};
  const double left = std::floor(static_cast<double>(primary.x) + frame.x);
  const double right = std::floor(static_cast<double>(primary.x) + frame.x + frame.width);
  const double top = std::floor(static_cast<double>(primary.y) + primary.height - (double{frame.y} + frame.height));
  const double bottom = std::floor(static_cast<double>(primary.y) + primary.height - frame.y);
  // Far-off frames are cut down to the screen later; only what lies near it matters.
  const int32_t x = clampToReach(left), y = clampToReach(top);
  return {x, y, clampToReach(right) - x, clampToReach(bottom) - y};
}

Box inflated(Box box, int32_t margin) {
  if (box.empty()) return box;
  auto grow = [&](int32_t origin, int32_t size, int32_t& newOrigin, int32_t& newSize) {
    const int64_t start = int64_t{origin} - margin;
    const int64_t end = int64_t{origin} + size + margin;
    newOrigin = clampToInt32(static_cast<double>(start));
    newSize = clampToInt32(static_cast<double>(end - newOrigin));
  };
  Box result;
  grow(box.x, box.width, result.x, result.width);
  grow(box.y, box.height, result.y, result.height);
  return result;
}

Box intersection(Box a, Box b) {
  if (a.empty() || b.empty()) return {};
  const int64_t left = std::max(a.x, b.x), top = std::max(a.y, b.y);
  const int64_t right = std::min(int64_t{a.x} + a.width, int64_t{b.x} + b.width);
  const int64_t bottom = std::min(int64_t{a.y} + a.height, int64_t{b.y} + b.height);
  if (right <= left || bottom <= top) return {};
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
          static_cast<int32_t>(bottom - top)};
}

Box representableArea(Box root) {
  // Window sizes and drawing coordinates inside a window stay below 2^15.
  static constexpr int32_t kSpan = 32000;
  auto axis = [](int32_t origin, int32_t size, int32_t& start, int32_t& length) {
    const int32_t room = std::max<int32_t>(64, (kSpan - size) / 2);
    start = std::max<int32_t>(origin - room, std::numeric_limits<int16_t>::min());
    const int32_t end = std::min<int32_t>(origin + size + room, std::numeric_limits<int16_t>::max());
    length = std::min<int32_t>(end - start, kSpan);
  };
  Box area;
  axis(root.x, root.width, area.x, area.width);
  axis(root.y, root.height, area.y, area.height);
  return area;
}

Point pointerFromRoot(int32_t rootX, int32_t rootY, Box primary) {
  return {clampToInt16(int64_t{rootY} - primary.y), clampToInt16(int64_t{rootX} - primary.x)};
}

}  // namespace platform::x11
