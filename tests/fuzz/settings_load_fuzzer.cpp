// SPDX-License-Identifier: MIT
// Loads the settings record, as both readers do, from arbitrary bytes, then
// saves it over the same file and loads it again.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/foundation/atomic_file.h"
#include "settings/settings_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = [] {
    std::string folder = "/tmp/retikon-fuzz-XXXXXX";
    return std::string(mkdtemp(folder.data())) + "/com.Halvix.RetikonX.plist";
  }();
  if (!platform::writeFileAtomically(path, std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  settings::SettingsRecord overlay, page;
  settings::loadPref(overlay, path, settings::Reader::Overlay);
  settings::loadPref(page, path, settings::Reader::SettingsPage);
  if (!overlay.s_WinColor || !page.s_WinColor || page.s_key == 0 || overlay.s_WinWidth == 0) std::abort();
  if (overlay.s_key & 0x8008) std::abort();

  // A file that is there but no settings is refused, not replaced.
  if (!settings::writePref(page, path)) return 0;
  settings::SettingsRecord again;
  settings::loadPref(again, path, settings::Reader::SettingsPage);
  // What the page saves it reads back unchanged (masks below 2^24 are exact).
  if (again.s_WinWidth != page.s_WinWidth || again.s_distance != page.s_distance ||
      again.s_Retikon != page.s_Retikon || again.s_Disp != page.s_Disp || again.s_Locate != page.s_Locate ||
      again.s_shadow != page.s_shadow || *again.s_WinColor != *page.s_WinColor ||
      (page.s_key < (1u << 24) && again.s_key != page.s_key))
    std::abort();
  return 0;
}
