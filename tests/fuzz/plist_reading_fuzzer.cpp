// SPDX-License-Identifier: MIT
// Parses arbitrary bytes as a preference file, asks every key for every
// reading the pane and the overlay use, and round-trips the result through
// the file writer.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/plist/plist_dictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto file = platform::PlistDictionary::parse(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!file) return 0;
  for (const auto& key : file->keys())
    (void)file->intValue(key), (void)file->floatValue(key), (void)file->boolValue(key), (void)file->string(key),
        (void)file->data(key), (void)file->real(key);
  // What the writer accepts (it refuses texts XML cannot carry) reads back
  // with the same keys.
  static const std::string scratch = "/tmp/retikon-plist-fuzz-" + std::to_string(getpid()) + ".plist";
  if (!file->writeFile(scratch)) return 0;
  auto again = platform::PlistDictionary::readFile(scratch);
  unlink(scratch.c_str());
  if (!again || again->keys().size() != file->keys().size()) std::abort();
  return 0;
}
