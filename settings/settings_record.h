// SPDX-License-Identifier: MIT
#pragma once
// The crosshair settings record, its file and the notification that tells a
// running overlay to read the file again. The settings page is the only
// writer; the overlay only reads.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/foundation/colour.h"
#include "platform/foundation/result.h"
#include "platform/windowing/input.h"

namespace platform {
class DistributedNotificationCenter;
}

namespace settings {

struct SettingsRecord {
  platform::ColourRef s_WinColor;  // crosshair and readout colour
  int32_t s_WinWidth = 0;          // arm thickness in points
  uint32_t s_key = 0;              // modifiers that must all be held in hot-key mode
  int32_t s_Retikon = 0;           // overlay enabled: 1 on, 0 off
  int32_t s_Disp = 0;              // display kind: 1 always, otherwise hot-key mode
  int32_t s_Locate = 0;            // coordinate readout: 1 on
  int32_t s_shadow = 0;            // arm-window shadow: 1 on
  int32_t s_distance = 0;          // gap around the pointer in points
};

// The mask holds the modifier bits of platform/windowing/input.h.
inline constexpr uint32_t kDefaultPageMask = platform::kControlKey | platform::kCommandKey;
// Bits the overlay never requires: right control and one the page never sets.
inline constexpr uint32_t kOverlayIgnoredBits = 0x8008;

inline constexpr int32_t kDefaultWidth = 5;

inline constexpr const char* kSettingsFile = "~/Library/Preferences/com.Halvix.RetikonX.plist";
inline constexpr const char* kNotificationName = "Vantrl Notification";
inline constexpr const char* kNotificationObject = "com.Halvix.Vantrel";

// Who reads the record: the two differ only in how they treat the mask.
enum class Reader { SettingsPage, Overlay };

// The settings file's path with the tilde expanded from HOME, afresh each call.
std::string settingsFilePath();

// The mask from its stored single-precision form: NaN and negatives give 0,
// 2^32 and above give 2^32 - 1, everything else is truncated toward zero.
uint32_t maskFromFloat(float value);

// Replaces every variable of the record from the file; a missing or broken
// file, or a missing key, gives the defaults. The reason when a file is
// there but could not be used; a missing file is no failure.
platform::Status readPref(SettingsRecord& record, const std::string& path, Reader reader);

// As readPref, for a reader that meets an unusable file with the defaults
// and nothing more.
void loadPref(SettingsRecord& record, const std::string& path, Reader reader);

// Writes all eight keys into the file, keeping every other key it holds.
// Only a missing file is started afresh: a file that is there but cannot
// be read as settings is left untouched and the save fails, as it does
// when the file cannot be written; the old file then stays as it was.
platform::Status writePref(const SettingsRecord& record, const std::string& path);

// What a save of the settings page did: the file written or not, and in
// status, a sentence that says which of the two failed.
struct SaveResult {
  bool written = false;
  platform::Status status;
  explicit operator bool() const { return status.ok(); }
  const std::string& error() const { return status.error(); }
};

// The settings page's save: write the file and post the change
// notification either way, so a running overlay reads whatever file is
// there now. Fails when the file was not written or the notification not
// sent (no session bus at all is no failure: then no overlay can be
// listening).
SaveResult savePref(const SettingsRecord& record, const std::string& path,
                          platform::DistributedNotificationCenter& center);

}  // namespace settings
