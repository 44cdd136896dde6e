// SPDX-License-Identifier: MIT
#include "ns_preference_pane.h"

namespace platform {

NSPreferencePane::~NSPreferencePane() = default;

bool NSPreferencePane::initWithBundle(const std::string& bundlePath) {
  bundle_ = bundlePath;
  return true;
}

QWidget* NSPreferencePane::loadMainView() {
  if (!mainView_) mainView_ = createMainView();
  return mainView_;
}

}  // namespace platform
