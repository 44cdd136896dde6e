// SPDX-License-Identifier: MIT
#include "pane/tweaks/system_generation.h"

#include <cmath>

namespace vantrel {

int32_t versionCheck(double appKitVersionNumber) {
  const double v = std::floor(appKitVersionNumber);
  if (v < 620) return 0;
  if (v < 663) return 1;
  if (v < 743) return 2;
  return 3;
}

}  // namespace vantrel
