// SPDX-License-Identifier: MIT
#pragma once
// The shared colour panel: one non-modal colour dialog per process, made on
// first use. Its currentColorChanged signal is the panel's colour-change
// notification.
#include <QColor>

#include "platform/foundation/colour.h"

class QColorDialog;

namespace platform {

QColorDialog* sharedColorPanel();

// The panel offers an opacity control when shown is true.
void setShowsAlpha(QColorDialog* panel, bool shown);

ColourRef colourFromQColor(const QColor& colour);
QColor qColorFromColour(const ColourRef& colour);

}  // namespace platform
