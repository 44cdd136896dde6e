// settings_probe: drives the settings record and the notification centre
// from the command line, so tests in other languages and other processes
// can exercise them.
//
//   settings_probe load PATH page|overlay
//   settings_probe save PATH [FIELD=VALUE ...]     (fields as printed by load)
//   settings_probe save-loop PATH                   (saves until killed)
//   settings_probe post NAME OBJECT
//   settings_probe observe NAME OBJECT COUNT SECONDS
//   settings_probe storm PATH COUNT SECONDS [FIELD=VALUE ...]
//       COUNT saves, each followed by the change notification, spread over
//       SECONDS; the last one stores the fields given.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

#include "platform/bus/notification_center.h"
#include "platform/event/event_loop.h"
#include "settings/settings_record.h"

namespace {

void print(const settings::SettingsRecord& r) {
  std::printf("colour=%.9g %.9g %.9g %.9g\n", r.s_WinColor->red, r.s_WinColor->green, r.s_WinColor->blue,
              r.s_WinColor->alpha);
  std::printf("s_WinWidth=%d\ns_key=%u\ns_Retikon=%d\ns_Disp=%d\ns_Locate=%d\ns_shadow=%d\ns_distance=%d\n",
              r.s_WinWidth, r.s_key, r.s_Retikon, r.s_Disp, r.s_Locate, r.s_shadow, r.s_distance);
}

bool assign(settings::SettingsRecord& r, std::string_view field, const std::string& value) {
  if (field == "colour") {
    float c[4];
    if (std::sscanf(value.c_str(), "%f %f %f %f", &c[0], &c[1], &c[2], &c[3]) != 4) return false;
    r.s_WinColor = platform::makeColour(c[0], c[1], c[2], c[3]);
    return true;
  }
  long long number = std::strtoll(value.c_str(), nullptr, 10);
  if (field == "s_key") r.s_key = static_cast<uint32_t>(number);
  else if (field == "s_WinWidth") r.s_WinWidth = static_cast<int32_t>(number);
  else if (field == "s_Retikon") r.s_Retikon = static_cast<int32_t>(number);
  else if (field == "s_Disp") r.s_Disp = static_cast<int32_t>(number);
  else if (field == "s_Locate") r.s_Locate = static_cast<int32_t>(number);
  else if (field == "s_shadow") r.s_shadow = static_cast<int32_t>(number);
  else if (field == "s_distance") r.s_distance = static_cast<int32_t>(number);
  else return false;
  return true;
}

int observe(const char* name, const char* object, int count, double seconds) {
  platform::EventLoop loop;
  auto center = platform::DistributedNotificationCenter::defaultCenter();
  int received = 0;
  if (auto observed = center->addObserver(loop, name, object, [&] {
        std::printf("notified %d\n", ++received);
        std::fflush(stdout);
        if (received >= count) loop.exit(0);
      });
      !observed) {
    std::fprintf(stderr, "settings_probe: %s\n", observed.error().c_str());
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  if (auto timer = loop.addRepeatingTimer(std::chrono::microseconds(static_cast<long long>(seconds * 1e6)),
                                         [&] { loop.exit(0); });
      !timer) {
    std::fprintf(stderr, "settings_probe: %s\n", timer.error().c_str());
    return 1;
  }
  loop.run();
  std::printf("received %d\n", received);
  return 0;
}

int usage() {
  std::fputs("usage: settings_probe load|save|save-loop|post|observe ...\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  std::string_view command = argv[1];
  if (command == "load" && argc == 4) {
    settings::SettingsRecord record;
    settings::loadPref(record, argv[2],
                       std::string_view(argv[3]) == "overlay" ? settings::Reader::Overlay : settings::Reader::SettingsPage);
    print(record);
    return 0;
  }
  if (command == "save") {
    settings::SettingsRecord record;
    settings::loadPref(record, argv[2], settings::Reader::SettingsPage);
    for (int i = 3; i < argc; ++i) {
      std::string_view pair = argv[i];
      auto equals = pair.find('=');
      if (equals == std::string_view::npos || !assign(record, pair.substr(0, equals), std::string(pair.substr(equals + 1))))
        return usage();
    }
    if (auto saved = settings::writePref(record, argv[2]); !saved) {
      std::fprintf(stderr, "settings_probe: %s\n", saved.error().c_str());
      return 1;
    }
    return 0;
  }
  if (command == "save-loop") {
    settings::SettingsRecord record;
    settings::loadPref(record, argv[2], settings::Reader::SettingsPage);
    for (int32_t step = 1;; step = step % 100 + 1) {
      record.s_WinWidth = step;
      record.s_distance = -step;
      (void)settings::writePref(record, argv[2]);
    }
  }
  if (command == "storm" && argc >= 5) {
    settings::SettingsRecord record;
    settings::loadPref(record, argv[2], settings::Reader::SettingsPage);
    auto center = platform::DistributedNotificationCenter::defaultCenter();
    const int count = std::atoi(argv[3]);
    const auto spacing = std::chrono::duration<double>(std::atof(argv[4]) / count);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 1; i <= count; ++i) {
      record.s_WinWidth = i % 50 + 1;
      record.s_WinColor = platform::makeColour(i % 2, 0.5f, 0, 1);
      if (i == count)
        for (int f = 5; f < argc; ++f) {
          std::string_view pair = argv[f];
          auto equals = pair.find('=');
          if (equals == std::string_view::npos ||
              !assign(record, pair.substr(0, equals), std::string(pair.substr(equals + 1))))
            return usage();
        }
      if (auto saved = settings::savePref(record, argv[2], *center); !saved)
        std::fprintf(stderr, "settings_probe: %s\n", saved.error().c_str());
      std::this_thread::sleep_until(start + spacing * i);
    }
    return 0;
  }
  if (command == "post" && argc == 4) {
    auto center = platform::DistributedNotificationCenter::defaultCenter();
    if (!center->connected()) {
      std::fputs("settings_probe: no session bus\n", stderr);
      return 1;
    }
    if (auto posted = center->postNotification(argv[2], argv[3]); !posted) {
      std::fprintf(stderr, "settings_probe: %s\n", posted.error().c_str());
      return 1;
    }
    return 0;
  }
  if (command == "observe" && argc == 6) return observe(argv[2], argv[3], std::atoi(argv[4]), std::atof(argv[5]));
  return usage();
}
