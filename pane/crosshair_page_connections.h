// SPDX-License-Identifier: MIT
#pragma once
// What the interface file says about the crosshair page: which control is
// which outlet of the page controller and which action each control sends.
#include "pane/retikon_control.h"

namespace Ui {
class VantrelMainView;
}

namespace vantrel {

// The controller belongs to the view it is made for.
RetikonControl* connectCrosshairPage(Ui::VantrelMainView& ui, QWidget* view, RetikonServices services);

}  // namespace vantrel
