// SPDX-License-Identifier: MIT
#include "preference_file.h"

#include "platform/foundation/atomic_file.h"
#include "platform/foundation/file_lock.h"

namespace platform {

Status updatePreferenceFile(const std::string& path, const std::function<void(PlistDictionary&)>& change) {
  const auto slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) {
    if (auto folder = makeFolders(path.substr(0, slash), 0700); !folder) return folder;
  }
  auto lock = FileLock::acquire(path);
  if (!lock) return fail(lock.error());
  auto existing = PlistDictionary::readExisting(path);
  if (!existing) return fail(existing.error() + "; not overwritten");
  PlistDictionary file = existing.value() ? std::move(*existing.value()) : PlistDictionary();
  change(file);
  return file.writeFile(path);
}

}  // namespace platform
