// SPDX-License-Identifier: MIT
#pragma once
// A view's drawing kept as a list of calls: compared with the previous list
// to tell whether a window's content changed, and replayed to paint it.
#include <vector>

#include "platform/windowing/drawing.h"

namespace platform::x11 {

struct DrawCall {
  enum class Kind { Colour, RoundCap, LineWidth, Move, Line, Stroke } kind;
  Colour colour{};
  float x = 0, y = 0;
  bool operator==(const DrawCall&) const = default;
};

class RecordedDrawing : public DrawingContext {
 public:
  void setColour(const ColourRef& colour) override;
  void setLineCapRound() override { calls_.push_back({DrawCall::Kind::RoundCap}); }
  void setLineWidth(float width) override { calls_.push_back({DrawCall::Kind::LineWidth, {}, width}); }
  void moveTo(float x, float y) override { calls_.push_back({DrawCall::Kind::Move, {}, x, y}); }
  void lineTo(float x, float y) override { calls_.push_back({DrawCall::Kind::Line, {}, x, y}); }
  void stroke() override { calls_.push_back({DrawCall::Kind::Stroke}); }

  const std::vector<DrawCall>& calls() const { return calls_; }
  // Starts afresh, keeping the room already taken.
  void clear() { calls_.clear(); }

 private:
  std::vector<DrawCall> calls_;
};

void replay(const std::vector<DrawCall>& calls, DrawingContext& target);

// A soft shadow below and right of every stroke drawn through it: the same
// path stroked in a few widening, faint layers of black.
class ShadowDrawing : public DrawingContext {
 public:
  static constexpr float kOffsetX = 2, kOffsetY = -3, kSpread = 4;
  explicit ShadowDrawing(DrawingContext& target) : target_(target) {}

  void setColour(const ColourRef&) override {}
  void setLineCapRound() override { target_.setLineCapRound(); }
  void setLineWidth(float width) override { width_ = width; }
  void moveTo(float x, float y) override;
  void lineTo(float x, float y) override;
  void stroke() override;

 private:
  DrawingContext& target_;
  float width_ = 1;
  std::vector<DrawCall> path_;
};

}  // namespace platform::x11
