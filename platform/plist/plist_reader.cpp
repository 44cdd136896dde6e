// SPDX-License-Identifier: MIT
#include "plist_reader.h"

#include "platform/plist/plist_limits.h"

namespace platform {

Result<plist_t> readPlistTree(std::string_view bytes) {
  if (bytes.size() > kLargestPlistFile) return fail("larger than " + std::to_string(kLargestPlistFile) + " bytes");
  if (bytes.starts_with("bplist00")) return readBinaryPlist(bytes);
  return readXmlPlist(bytes);
}

}  // namespace platform
