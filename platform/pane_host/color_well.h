// SPDX-License-Identifier: MIT
#pragma once
// A colour well: a button that shows a colour. Clicking it hands its colour
// to the shared colour panel and opens the panel; from then on it shows
// whatever the panel chooses. It has no action of its own: whoever wants
// the chosen colour observes the panel.
#include <QPushButton>

#include "platform/foundation/colour.h"

namespace platform {

class ColorWell : public QPushButton {
  Q_OBJECT
 public:
  explicit ColorWell(QWidget* parent = nullptr);

  void setColor(const ColourRef& colour);
  const ColourRef& color() const { return colour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void activate();
  void followPanel(const QColor& colour);
  ColourRef colour_;
};

}  // namespace platform
