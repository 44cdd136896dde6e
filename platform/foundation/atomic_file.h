// SPDX-License-Identifier: MIT
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/result.h"

namespace platform {

// Replaces the file at path so that a reader finds either the old content or
// the new one, never a mixture: a new file with a unique name in the same
// folder is written in full, flushed, then renamed over the target. A symlink
// at path is followed (the link stays, its target is replaced), and an
// existing file keeps its permission bits. On failure the old file stays,
// no temporary is left behind, and the reason is given. Temporaries that
// killed writers left are removed by the next successful write.
Status writeFileAtomically(const std::string& path, std::string_view content);

// Makes a file that is not there yet, with this mode and content, written
// aside and linked into place whole. Whatever is already at path (another
// writer may have been first) stays as it is, and that is no failure.
Status createFileExclusively(const std::string& path, std::string_view content, mode_t mode);

// The content of the regular file at path (a symlink is followed), read
// without ever blocking: nothing (no error) only when there is no such
// file; an error for anything else: no permission, a folder, a FIFO, a
// device, or more than limit bytes (reading stops there).
Result<std::optional<std::string>> readRegularFile(const std::string& path, size_t limit);

// As readRegularFile, with every failure and a missing file alike nothing.
std::optional<std::string> readWholeFile(const std::string& path, size_t limit = size_t{64} << 20);

// The folder path names a file in: "." for a bare name, "/" for a file in the root.
std::string folderOf(const std::string& path);

// The absolute path with every symlink, "." and ".." resolved; the path as
// given when it cannot be resolved (nothing there, no permission).
std::string canonicalPath(const std::string& path);

// Makes the folder and any missing parents with the given mode (less the
// umask: 0777 gives what the user's folders usually get); an existing
// folder is left as it is.
Status makeFolders(const std::string& folder, mode_t mode);

}  // namespace platform
