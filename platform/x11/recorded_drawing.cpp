// SPDX-License-Identifier: MIT
#include "recorded_drawing.h"

namespace platform::x11 {

void RecordedDrawing::setColour(const ColourRef& colour) {
  calls_.push_back({DrawCall::Kind::Colour, colour ? *colour : Colour{}});
}

void replay(const std::vector<DrawCall>& calls, DrawingContext& target) {
  for (const DrawCall& call : calls) {
    switch (call.kind) {
      case DrawCall::Kind::Colour:
        target.setColour(makeColour(call.colour.red, call.colour.green, call.colour.blue, call.colour.alpha));
        break;
      case DrawCall::Kind::RoundCap: target.setLineCapRound(); break;
      case DrawCall::Kind::LineWidth: target.setLineWidth(call.x); break;
      case DrawCall::Kind::Move: target.moveTo(call.x, call.y); break;
      case DrawCall::Kind::Line: target.lineTo(call.x, call.y); break;
      case DrawCall::Kind::Stroke: target.stroke(); break;
    }
  }
}

void ShadowDrawing::moveTo(float x, float y) { path_.push_back({DrawCall::Kind::Move, {}, x, y}); }

void ShadowDrawing::lineTo(float x, float y) { path_.push_back({DrawCall::Kind::Line, {}, x, y}); }

void ShadowDrawing::stroke() {
  constexpr int kLayers = 4;
  const ColourRef layer = makeColour(0, 0, 0, 0.14f);
  for (int i = kLayers; i >= 1; --i) {
    target_.setColour(layer);
    target_.setLineWidth(width_ + kSpread * 2 * static_cast<float>(i) / kLayers);
    for (const DrawCall& step : path_) {
      if (step.kind == DrawCall::Kind::Move)
        target_.moveTo(step.x + kOffsetX, step.y + kOffsetY);
      else
        target_.lineTo(step.x + kOffsetX, step.y + kOffsetY);
    }
    target_.stroke();
  }
  path_.clear();
}

}  // namespace platform::x11
