// SPDX-License-Identifier: MIT
#include "color_well.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>

#include "platform/pane_host/colour_panel.h"

namespace platform {

ColorWell::ColorWell(QWidget* parent) : QPushButton(parent), colour_(greenColor()) {
  setMinimumSize(44, 24);
  connect(this, &QPushButton::clicked, this, &ColorWell::activate);
}

void ColorWell::setColor(const ColourRef& colour) {
  colour_ = colour;
  update();
}

void ColorWell::activate() {
  QColorDialog* panel = sharedColorPanel();
  panel->setCurrentColor(qColorFromColour(colour_));
  connect(panel, &QColorDialog::currentColorChanged, this, &ColorWell::followPanel, Qt::UniqueConnection);
  panel->show();
  panel->raise();
  panel->activateWindow();
}

void ColorWell::followPanel(const QColor& colour) {
  setColor(colourFromQColor(colour));
}

void ColorWell::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  QPainter painter(this);
  QRect swatch = rect().adjusted(6, 5, -6, -5);
  // Transparency shows against a checkerboard.
  const int square = 5;
  for (int y = swatch.top(); y <= swatch.bottom(); y += square)
    for (int x = swatch.left(); x <= swatch.right(); x += square)
      painter.fillRect(QRect(x, y, square, square).intersected(swatch),
                       ((x - swatch.left()) / square + (y - swatch.top()) / square) % 2 ? Qt::lightGray : Qt::white);
  QColor shown = qColorFromColour(colour_);
  if (!isEnabled()) shown.setAlphaF(shown.alphaF() * 0.4f);
  painter.fillRect(swatch, shown);
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

}  // namespace platform
