// SPDX-License-Identifier: MIT
// The symbol the pane host looks up for the class that Info.plist names.
#include "pane/vantrel_pref_pref.h"

NS_PRINCIPAL_CLASS(VantrelPrefPref, vantrel::VantrelPrefPref)
