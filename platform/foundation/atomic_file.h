#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Replaces the file at path so that a reader finds either the old content or
// the new one, never a mixture: a new file with a unique name in the same
// folder is written in full, flushed, then renamed over the target. A symlink
// at path is followed (the link stays, its target is replaced), and an
// existing file keeps its permission bits. On failure the old file stays,
// no temporary is left behind, and the reason is returned. Temporaries that
// killed writers left are removed by the next successful write.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content);

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

}  // namespace platform
