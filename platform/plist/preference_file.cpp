// SPDX-License-Identifier: MIT
#include "preference_file.h"

#include "platform/foundation/atomic_file.h"
#include "platform/foundation/file_lock.h"

namespace platform {

Status updatePreferenceFile(const std::string& path, const std::function<void(PlistDictionary&)>& change) {
  // The lock file goes beside the file, so the folder is made first, once.
  if (auto folder = makeFolders(folderOf(path), 0700); !folder) return folder;
  auto lock = FileLock::acquire(path);
  if (!lock) return fail(lock.error());
  auto existing = PlistDictionary::readExisting(path);
  if (!existing) return fail(existing.error() + "; not overwritten");
  PlistDictionary file = existing.value() ? std::move(*existing.value()) : PlistDictionary();
  change(file);
  return file.writeIntoExistingFolder(path);
}

}  // namespace platform
