// SPDX-License-Identifier: MIT
#pragma once
// The desktop's default file manager standing for "Finder": listed under
// that name while it runs, quit cleanly, and started again from
// "/System/Library/CoreServices/Finder.app" in the mode it ran in.
#include <optional>
#include <string>
#include <vector>

#include "platform/process/script_runner.h"
#include "platform/process/task_runner.h"
#include "platform/process/workspace.h"

namespace platform {

inline constexpr const char* kFileManagerName = "Finder";
inline constexpr const char* kFileManagerPath = "/System/Library/CoreServices/Finder.app";
inline constexpr const char* kFolderContentType = "inode/directory";

// The default application for folders, as GIO (and `xdg-mime query
// default inode/directory`) finds it.
struct FileManagerProgram {
  std::string id;                      // its desktop entry
  std::string program;                 // resolved from PATH when it has no slash
  std::vector<std::string> arguments;  // the entry's own, without field codes
};
Result<FileManagerProgram> defaultFileManager();

// Options a file manager knows by its program's name.
std::optional<std::string> quitOption(const std::string& program);
std::optional<std::string> backgroundOption(const std::string& program);

// Everything else goes to the workspace it decorates.
class FileManagerWorkspace final : public Workspace {
 public:
  FileManagerWorkspace(Workspace& inner, TaskRunner& tasks) : inner_(inner), tasks_(tasks) {}

  // "/System/Library/CoreServices/Finder.app" starts the default file
  // manager again with the arguments of the copy the last quit ended, else
  // in its background mode (for one whose background mode is unknown: as
  // its desktop entry starts it).
  Status launchApplication(const std::string& path) override;
  // A running copy of the default file manager is listed as "Finder".
  std::vector<ApplicationDescription> launchedApplications() override;

  // Ends this user's running copies: its own quit option where it has one,
  // else (or when that fails) SIGTERM. Nothing running is no failure.
  Status quitFileManager();

 private:
  struct Copy {
    std::string pid;
    std::vector<std::string> arguments;
  };
  std::vector<Copy> runningCopies(const FileManagerProgram& manager);

  Workspace& inner_;
  TaskRunner& tasks_;
  std::optional<std::vector<std::string>> quitArguments_;  // of the copy the last quit ended
};

// Sends the file manager's quit script to the workspace above, every other
// script to the runner it decorates.
class FileManagerScripts final : public ScriptRunner {
 public:
  FileManagerScripts(ScriptRunner& inner, FileManagerWorkspace& workspace) : inner_(inner), workspace_(workspace) {}
  Status execute(const std::string& source) override;

 private:
  ScriptRunner& inner_;
  FileManagerWorkspace& workspace_;
};

}  // namespace platform
