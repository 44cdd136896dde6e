// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the pane as the global preferences file and as
// the file manager's preference file, then runs the tweaks page's load and
// each of its saves over them.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "pane/tweaks/finder_zoom.h"
#include "pane/tweaks/global_preferences.h"
#include "platform/foundation/atomic_file.h"
#include "platform/foundation/text.h"

namespace {

// Tasks that succeed at once, counted; problems ignored.
struct Services : platform::TaskRunner, platform::ProblemReporter {
  platform::Result<int> runAndWait(const std::string&, const std::vector<std::string>&) override {
    return ++runs, 0;
  }
  void report(std::string_view, std::string_view) override {}
  void resolved(std::string_view) override {}
  int runs = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool scratchHome = [] {
    std::string folder = "/tmp/retikon-fuzz-home-XXXXXX";
    setenv("HOME", mkdtemp(folder.data()), 1);
    return std::filesystem::create_directories(platform::expandTilde("~/Library/Preferences"));
  }();
  (void)scratchHome;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!platform::writeFileAtomically(platform::expandTilde(vantrel::kGlobalPreferencesFile), bytes)) return 0;
  if (!platform::writeFileAtomically(platform::expandTilde(vantrel::kFinderPreferencesFile), bytes)) return 0;

  vantrel::TweaksState state;
  state.osVersion = 3;
  vantrel::loadGlobalPreferences(state);
  vantrel::loadScrollBarPlacement(state);
  float speed = vantrel::loadPointerSpeed(state);
  (void)vantrel::storeScrollBarPlacement(state, vantrel::ScrollBarPlacement::DoubleBoth);
  (void)vantrel::storePointerSpeed(state, speed);

  vantrel::loadFinderPreferences(state);
  Services services;
  auto zoom = vantrel::loadZoomCheckbox(state, services, "/nonexistent/defaults", services);
  if (zoom.disable || !zoom.checked || services.runs > 1) std::abort();
  return 0;
}
