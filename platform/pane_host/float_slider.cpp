// SPDX-License-Identifier: MIT
#include "float_slider.h"

#include <QSignalBlocker>
#include <cmath>

namespace platform {

void FloatSlider::setFloatValue(float value) {
  QSignalBlocker block(this);
  setValue(static_cast<int>(std::lround(value * kStepsPerUnit)));
}

}  // namespace platform
