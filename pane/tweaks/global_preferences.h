// SPDX-License-Identifier: MIT
#pragma once
// The scroll-bar arrow placement and the pointer speed, kept in the user's
// global preferences file. Other programs write that file too, so every
// save reads it afresh and changes only the keys this page has stored.
#include <optional>

#include "pane/tweaks/scroll_bar_placement.h"
#include "pane/tweaks/tweaks_state.h"
#include "platform/foundation/result.h"

namespace vantrel {

inline constexpr const char* kGlobalPreferencesFile = "~/Library/Preferences/.GlobalPreferences.plist";
inline constexpr const char* kScrollBarVariantKey = "AppleScrollBarVariant";
inline constexpr const char* kMouseScalingKey = "com.apple.mouse.scaling";
inline constexpr const char* kTrackpadScalingKey = "com.apple.trackpad.scaling";
// Stored as the single-precision 1.7 widened, which is what the system's
// own settings store.
inline constexpr float kDefaultScaling = 1.7f;

// Reads the file into state.records and forgets the keys stored by an
// earlier load. A file that is there but unreadable or not a dictionary
// gives nothing, and nothing is ever written during this load. A missing
// file gives an empty dictionary: the load fills in the defaults without
// writing, and the first change creates the file (mode 0600, its folder
// 0700) with the page's keys, so what the page shows is what it stored.
void loadGlobalPreferences(TweaksState& state);

// The placement whose radio button is on. An absent value stores and saves
// "Single". Nothing (all four off, nothing written) for a text that names
// no placement, or a value that is not a text at all.
std::optional<ScrollBarPlacement> loadScrollBarPlacement(TweaksState& state);

// Fills in a missing trackpad, then mouse scaling with the default, saving
// after each, and returns the slider's value: the mouse scaling. A scaling
// that is present but no finite number (integers and reals are numbers) is
// left as it is and the slider shows the default.
float loadPointerSpeed(TweaksState& state);

// A radio button's action: stores the placement and saves. The reason when
// the file was not written: it could not be, or what is there now is no
// longer a readable preferences file, which is left as it is. With an
// unreadable file at the load nothing is written, and that is no failure.
platform::Status storeScrollBarPlacement(TweaksState& state, ScrollBarPlacement placement);

// The slider's action: one number for mouse and trackpad, one save; the
// reason as for storeScrollBarPlacement.
platform::Status storePointerSpeed(TweaksState& state, float sliderValue);

}  // namespace vantrel
