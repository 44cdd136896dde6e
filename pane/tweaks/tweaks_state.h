// SPDX-License-Identifier: MIT
#pragma once
// The tweaks page's process-wide variables. The pane owns one instance for
// the whole process; every load of the main view assigns it afresh.
#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "platform/plist/plist_dictionary.h"

namespace vantrel {

struct TweaksState {
  // The global preferences file's expanded path and its contents as read by
  // the last load, plus this page's changes since; nothing when the file
  // is there but could not be read, and then the page writes nothing.
  std::string recordsFile;
  std::optional<platform::PlistDictionary> records;
  // No file at the load (a fresh account has none): records started empty,
  // and the page's first change creates the file; the load writes nothing.
  bool recordsFileToCreate = false;
  // The keys of records this page has stored since the load. Only these are
  // written over the file: everything else in it belongs to other programs.
  std::set<std::string> recordsPageKeys;

  // The file manager's preference file; read only, nothing when unreadable.
  std::string recordsFile2;
  std::optional<platform::PlistDictionary> records2;

  int32_t osVersion = 0;  // system generation 0..3
};

}  // namespace vantrel
