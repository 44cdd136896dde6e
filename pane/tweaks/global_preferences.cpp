// SPDX-License-Identifier: MIT
#include "pane/tweaks/global_preferences.h"

#include <cmath>
#include <limits>
#include <string>

#include "platform/foundation/atomic_file.h"
#include "platform/foundation/log.h"
#include "platform/foundation/text.h"
#include "platform/plist/preference_file.h"

namespace vantrel {
namespace {

using platform::PlistDictionary;

void storeString(TweaksState& state, const std::string& key, std::string_view value) {
  if (!state.records) return;
  state.records->setString(key, value);
  state.recordsPageKeys.insert(key);
}

void storeReal(TweaksState& state, const std::string& key, double value) {
  if (!state.records) return;
  state.records->setReal(key, value);
  state.recordsPageKeys.insert(key);
}

// The page stores only texts and reals.
void copyValue(const PlistDictionary& from, PlistDictionary& to, const std::string& key) {
  if (auto text = from.string(key))
    to.setString(key, *text);
  else if (auto number = from.real(key))
    to.setReal(key, *number);
}

// Made private to the user, as the system makes it, in a folder that is too.
platform::Status createFile(const std::string& path) {
  const std::string folder = path.substr(0, path.rfind('/'));
  if (platform::Status made = platform::makeFolders(folder, 0700); !made) return made;
  return platform::createFileExclusively(path, PlistDictionary().toXml(), 0600);
}

// The file as it is now, with this page's keys: another program may have
// changed the others since the load.
platform::Status save(TweaksState& state) {
  if (!state.records) return {};
  if (state.recordsFileToCreate) {
    if (platform::Status created = createFile(state.recordsFile); !created) return created;
    state.recordsFileToCreate = false;
  }
  return platform::updatePreferenceFile(state.recordsFile, [&](PlistDictionary& file) {
    for (const std::string& key : state.recordsPageKeys) copyValue(*state.records, file, key);
  });
}

// The saves the load makes on its own have nobody to answer to but the log.
// A file that is not there yet waits for the user's first change.
void saveDuringLoad(TweaksState& state) {
  if (state.recordsFileToCreate) return;
  if (auto saved = save(state); !saved) platform::logLine("preferences not saved: " + saved.error());
}

std::optional<float> scaling(const PlistDictionary& records, const std::string& key) {
  if (auto number = records.integer(key)) return static_cast<float>(*number);
  if (auto number = records.real(key)) {
    if (std::isfinite(*number) && std::fabs(*number) <= std::numeric_limits<float>::max())
      return static_cast<float>(*number);
  }
  return std::nullopt;
}

float loadScaling(TweaksState& state, const std::string& key) {
  if (!state.records || !state.records->contains(key)) {
    storeReal(state, key, static_cast<double>(kDefaultScaling));
    saveDuringLoad(state);
    return kDefaultScaling;
  }
  return scaling(*state.records, key).value_or(kDefaultScaling);
}

}  // namespace

void loadGlobalPreferences(TweaksState& state) {
  state.recordsFile = platform::expandTilde(kGlobalPreferencesFile);
  auto existing = PlistDictionary::readExisting(state.recordsFile);
  if (!existing) platform::logLine("not using the global preferences: " + existing.error());
  state.records.reset();
  state.recordsFileToCreate = existing && !existing.value();
  if (existing) state.records = existing.value() ? std::move(*existing.value()) : PlistDictionary();
  state.recordsPageKeys.clear();
}

std::optional<ScrollBarPlacement> loadScrollBarPlacement(TweaksState& state) {
  if (!state.records || !state.records->contains(kScrollBarVariantKey)) {
    storeString(state, kScrollBarVariantKey, storedValue(ScrollBarPlacement::Single));
    saveDuringLoad(state);
    return ScrollBarPlacement::Single;
  }
  auto value = state.records->string(kScrollBarVariantKey);
  if (!value) return std::nullopt;
  return placementFromStoredValue(*value);
}

float loadPointerSpeed(TweaksState& state) {
  loadScaling(state, kTrackpadScalingKey);
  return loadScaling(state, kMouseScalingKey);
}

platform::Status storeScrollBarPlacement(TweaksState& state, ScrollBarPlacement placement) {
  storeString(state, kScrollBarVariantKey, storedValue(placement));
  return save(state);
}

platform::Status storePointerSpeed(TweaksState& state, float sliderValue) {
  const double number = sliderValue;
  storeReal(state, kMouseScalingKey, number);
  storeReal(state, kTrackpadScalingKey, number);
  return save(state);
}

}  // namespace vantrel
