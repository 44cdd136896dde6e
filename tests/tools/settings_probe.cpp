// SPDX-License-Identifier: MIT
// settings_probe PATH COUNT SECONDS [FIELD=VALUE ...]: the settings page's load,
// whose width and gap it prints, then COUNT of its saves (-1: until killed), each
// with the change notification, spread over SECONDS. Save i stores the width
// i % 100 + 1 and the gap minus that, the last one the fields given instead
// (colour=R G B A, s_WinWidth, s_Retikon, s_Disp, s_Locate, s_shadow, s_distance).
// Exits with 1 when the last save fails.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/bus/notification_center.h"
#include "settings/settings_record.h"

namespace {

bool assign(settings::SettingsRecord& r, const std::string& pair) {
  const auto equals = pair.find('=');
  if (equals == std::string::npos) return false;
  const std::string field = pair.substr(0, equals), value = pair.substr(equals + 1);
  float c[4];
  if (field == "colour" && std::sscanf(value.c_str(), "%f %f %f %f", &c[0], &c[1], &c[2], &c[3]) == 4) {
    r.s_WinColor = platform::makeColour(c[0], c[1], c[2], c[3]);
    return true;
  }
  const std::pair<const char*, int32_t*> fields[] = {{"s_WinWidth", &r.s_WinWidth}, {"s_Retikon", &r.s_Retikon},
                                                     {"s_Disp", &r.s_Disp},         {"s_Locate", &r.s_Locate},
                                                     {"s_shadow", &r.s_shadow},     {"s_distance", &r.s_distance}};
  for (auto [name, target] : fields)
    if (field == name) {
      *target = static_cast<int32_t>(std::strtol(value.c_str(), nullptr, 10));
      return true;
    }
  return false;
}

int usage() {
  std::fputs("usage: settings_probe PATH COUNT SECONDS [FIELD=VALUE ...]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return usage();
  settings::SettingsRecord record;
  settings::loadPref(record, argv[1], settings::Reader::SettingsPage);
  std::printf("s_WinWidth=%d s_distance=%d\n", record.s_WinWidth, record.s_distance);

  auto center = platform::DistributedNotificationCenter::defaultCenter();
  const long count = std::atol(argv[2]);
  const auto spacing = std::chrono::duration<double>(count > 0 ? std::atof(argv[3]) / static_cast<double>(count) : 0);
  const auto start = std::chrono::steady_clock::now();
  for (long i = 1; count < 0 || i <= count; ++i) {
    record.s_WinWidth = static_cast<int32_t>(i % 100 + 1);
    record.s_distance = -record.s_WinWidth;
    for (int f = 4; i == count && f < argc; ++f)
      if (!assign(record, argv[f])) return usage();
    if (auto saved = settings::savePref(record, argv[1], *center); !saved && i == count) {
      std::fprintf(stderr, "settings_probe: %s\n", saved.error().c_str());
      return 1;
    }
    std::this_thread::sleep_until(start + spacing * i);
  }
  return 0;
}
