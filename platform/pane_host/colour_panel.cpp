// SPDX-License-Identifier: MIT
#include "colour_panel.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QPointer>

namespace platform {
namespace {

QPointer<QColorDialog> panel;

// Top-level widgets must go before the application object does.
void deletePanel() { delete panel.data(); }

}  // namespace

QColorDialog* sharedColorPanel() {
  if (!panel) {
    panel = new QColorDialog;
    panel->setWindowTitle(QCoreApplication::translate("ColourPanel", "Colours"));
    panel->setModal(false);
    // A live panel: every pick is the colour, there is nothing to accept or
    // cancel. The toolkit's own dialog is used because only it reports each
    // change as it happens.
    panel->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    qAddPostRoutine(deletePanel);
  }
  return panel;
}

void setShowsAlpha(QColorDialog* colourPanel, bool shown) {
  if (colourPanel) colourPanel->setOption(QColorDialog::ShowAlphaChannel, shown);
}

ColourRef colourFromQColor(const QColor& colour) {
  float red, green, blue, alpha;
  colour.getRgbF(&red, &green, &blue, &alpha);
  return makeColour(red, green, blue, alpha);
}

QColor qColorFromColour(const ColourRef& colour) {
  if (!colour) return QColor();
  auto clamp = [](float component) { return component < 0 ? 0.0f : component > 1 ? 1.0f : component; };
  return QColor::fromRgbF(clamp(colour->red), clamp(colour->green), clamp(colour->blue), clamp(colour->alpha));
}

}  // namespace platform
