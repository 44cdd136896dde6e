// SPDX-License-Identifier: MIT
// Load and save of a typical settings file, and the change notification's
// round trip over the session bus.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>

#include "platform/bus/notification_center.h"
#include "platform/event/event_loop.h"
#include "settings/settings_record.h"

namespace {

struct TypicalFile {
  TypicalFile() {
    std::string pattern = (std::filesystem::current_path() / "retikon-bench-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    path = folder + "/com.Halvix.RetikonX.plist";
    settings::SettingsRecord record;
    settings::loadPref(record, path, settings::Reader::SettingsPage);
    record.s_Retikon = 1;
    record.s_distance = 10;
    if (!settings::writePref(record, path)) abort();
  }
  ~TypicalFile() { std::filesystem::remove_all(folder); }
  std::string folder, path;
};

void BM_LoadPref(benchmark::State& state) {
  TypicalFile file;
  settings::SettingsRecord record;
  for (auto _ : state) {
    settings::loadPref(record, file.path, settings::Reader::Overlay);
    benchmark::DoNotOptimize(record.s_WinWidth);
  }
}
BENCHMARK(BM_LoadPref)->Unit(benchmark::kMicrosecond);

void BM_WritePref(benchmark::State& state) {
  TypicalFile file;
  settings::SettingsRecord record;
  settings::loadPref(record, file.path, settings::Reader::SettingsPage);
  for (auto _ : state) {
    record.s_WinWidth = record.s_WinWidth % 100 + 1;
    if (!settings::writePref(record, file.path)) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_WritePref)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NotificationRoundTrip(benchmark::State& state) {
  auto poster = platform::DistributedNotificationCenter::defaultCenter();
  auto observer = platform::DistributedNotificationCenter::defaultCenter();
  platform::EventLoop loop;
  bool arrived = false;
  if (!poster->connected() ||
      !observer->addObserver(loop, settings::kNotificationName, settings::kNotificationObject, [&] { arrived = true; })) {
    state.SkipWithError("no session bus");
    return;
  }
  for (auto _ : state) {
    arrived = false;
    if (auto posted = poster->postNotification(settings::kNotificationName, settings::kNotificationObject); !posted) {
      state.SkipWithError(posted.error().c_str());
      return;
    }
    while (!arrived) loop.runOnce();
  }
}
BENCHMARK(BM_NotificationRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
