// SPDX-License-Identifier: MIT
#pragma once
// The content of an arm window: one round-capped stroke that fills the view,
// as thick as the view's shorter side, in the arms' colour.
#include "overlay/process_state.h"
#include "platform/windowing/drawing.h"

namespace retikonx {

class lineView : public platform::View {
 public:
  explicit lineView(const ProcessState& state) : state_(state) {}
  void drawRect(platform::Rect rect, platform::DrawingContext& context) override;

 private:
  const ProcessState& state_;
};

}  // namespace retikonx
