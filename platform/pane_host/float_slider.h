// SPDX-License-Identifier: MIT
#pragma once
// A slider whose value is a floating-point number, kept in hundredths.
#include <QSlider>

namespace platform {

class FloatSlider : public QSlider {
  Q_OBJECT
 public:
  static constexpr int kStepsPerUnit = 100;
  explicit FloatSlider(QWidget* parent = nullptr) : QSlider(Qt::Horizontal, parent) {}

  float floatValue() const { return static_cast<float>(value()) / kStepsPerUnit; }
  // Not reported as the user's action.
  void setFloatValue(float value);
};

}  // namespace platform
