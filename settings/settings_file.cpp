// SPDX-License-Identifier: MIT
#include <cmath>

#include "platform/bus/notification_center.h"
#include "platform/foundation/text.h"
#include "platform/plist/plist_dictionary.h"
#include "platform/plist/preference_file.h"
#include "settings_record.h"

namespace settings {
namespace {

platform::ColourRef colourFromName(const platform::PlistDictionary& file) {
  auto name = file.string("WinColor");
  if (!name) return platform::greenColor();
  if (*name == "black") return platform::blackColor();
  if (*name == "white") return platform::whiteColor();
  if (*name == "yellow") return platform::yellowColor();
  if (*name == "red") return platform::redColor();
  if (*name == "green") return platform::greenColor();
  if (*name == "blue") return platform::blueColor();
  return platform::greenColor();
}

}  // namespace

std::string settingsFilePath() { return platform::expandTilde(kSettingsFile); }

uint32_t maskFromFloat(float value) {
  if (std::isnan(value) || value < 0.0f) return 0;
  if (value >= 4294967296.0f) return 0xFFFFFFFFu;
  return static_cast<uint32_t>(value);
}

platform::Status readPref(SettingsRecord& record, const std::string& path, Reader reader) {
  auto existing = platform::PlistDictionary::readExisting(path);
  platform::PlistDictionary file;
  if (existing && existing.value()) file = std::move(*existing.value());

  record.s_WinColor = colourFromName(file);
  if (auto archive = file.data("WinColor2")) {
    // An archive that cannot be read leaves the colour from the name.
    if (auto colour = platform::unarchiveColour(*archive)) record.s_WinColor = colour;
  }

  record.s_WinWidth = file.intValue("WinWidth");
  if (record.s_WinWidth == 0) record.s_WinWidth = kDefaultWidth;

  uint32_t mask = maskFromFloat(file.floatValue("keys"));
  if (reader == Reader::SettingsPage) {
    if (mask == 0) mask = kDefaultPageMask;
  } else {
    mask &= ~kOverlayIgnoredBits;
  }
  record.s_key = mask;

  record.s_Retikon = file.intValue("retikon");
  record.s_Disp = file.intValue("DispKind");
  record.s_Locate = file.intValue("Locate");
  record.s_shadow = file.intValue("shadow");
  record.s_distance = file.intValue("distance");
  if (!existing) return platform::fail(existing.error());
  return {};
}

void loadPref(SettingsRecord& record, const std::string& path, Reader reader) {
  (void)readPref(record, path, reader);
}

platform::Status writePref(const SettingsRecord& record, const std::string& path) {
  return platform::updatePreferenceFile(path, [&](platform::PlistDictionary& file) {
    const platform::Colour colour = record.s_WinColor ? *record.s_WinColor : *platform::greenColor();
    file.setData("WinColor2", platform::archiveColour(colour));
    file.setString("WinWidth", platform::stringValue(record.s_WinWidth));
    file.setString("keys", platform::stringValue(static_cast<float>(record.s_key)));
    file.setString("retikon", platform::stringValue(record.s_Retikon));
    file.setString("DispKind", platform::stringValue(record.s_Disp));
    file.setString("Locate", platform::stringValue(record.s_Locate));
    file.setString("shadow", platform::stringValue(record.s_shadow));
    file.setString("distance", platform::stringValue(record.s_distance));
  });
}

SaveResult savePref(const SettingsRecord& record, const std::string& path,
                    platform::DistributedNotificationCenter& center) {
  const platform::Status written = writePref(record, path);
  const platform::Status posted = center.postNotification(kNotificationName, kNotificationObject);
  if (!written && !posted) return {false, platform::fail("settings not saved: " + written.error() + "; " + posted.error())};
  if (!written) return {false, platform::fail("settings not saved: " + written.error())};
  if (!posted) return {true, platform::fail("settings saved, but a running overlay was not told: " + posted.error())};
  return {true, {}};
}

}  // namespace settings
