#include "pane/tweaks/global_preferences.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "platform/foundation/system_log.h"
#include "platform/foundation/text.h"

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

// The file as it is now. A file removed since the load is started afresh;
// one that has turned unreadable is not ours to overwrite.
std::optional<PlistDictionary> currentFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error) && !error) return PlistDictionary();
  return PlistDictionary::readFile(path);
}

void save(TweaksState& state) {
  if (!state.records) return;
  auto file = currentFile(state.recordsFile);
  if (!file) {
    platform::systemLog("not saving " + state.recordsFile + ": it is no longer a readable preferences file");
    return;
  }
  for (const std::string& key : state.recordsPageKeys) copyValue(*state.records, *file, key);
  if (auto failure = file->writeFile(state.recordsFile))
    platform::systemLog("could not save " + state.recordsFile + ": " + *failure);
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
    save(state);
    return kDefaultScaling;
  }
  return scaling(*state.records, key).value_or(kDefaultScaling);
}

}  // namespace

void loadGlobalPreferences(TweaksState& state) {
  state.recordsFile = platform::expandTilde(kGlobalPreferencesFile);
  state.records = PlistDictionary::readFile(state.recordsFile);
  state.recordsPageKeys.clear();
}

std::optional<ScrollBarPlacement> loadScrollBarPlacement(TweaksState& state) {
  if (!state.records || !state.records->contains(kScrollBarVariantKey)) {
    storeString(state, kScrollBarVariantKey, storedValue(ScrollBarPlacement::Single));
    save(state);
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

void storeScrollBarPlacement(TweaksState& state, ScrollBarPlacement placement) {
  storeString(state, kScrollBarVariantKey, storedValue(placement));
  save(state);
}

void storePointerSpeed(TweaksState& state, float sliderValue) {
  const double number = sliderValue;
  storeReal(state, kMouseScalingKey, number);
  storeReal(state, kTrackpadScalingKey, number);
  save(state);
}

}  // namespace vantrel
