// SPDX-License-Identifier: MIT
#include "platform/desktop/file_manager_workspace.h"

#include <map>

#include "platform/desktop/gio_desktop.h"
#include "platform/foundation/atomic_file.h"
#include "platform/process/process_workspace.h"
#include "platform/process/program_launch.h"
#include "platform/process/script_compiler.h"

namespace platform {
namespace {

std::string baseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> commandLine(const std::string& pid) {
  std::vector<std::string> words;
  auto text = readWholeFile("/proc/" + pid + "/cmdline", size_t{1} << 20);
  if (!text) return words;
  for (size_t start = 0; start < text->size();) {
    size_t end = text->find('\0', start);
    if (end == std::string::npos) end = text->size();
    words.push_back(text->substr(start, end - start));
    start = end + 1;
  }
  return words;
}

const std::map<std::string, std::string> kQuitOptions = {
    {"thunar", "--quit"}, {"nautilus", "--quit"}, {"nemo", "--quit"}, {"caja", "--quit"}};
// The modes that run without a window, as a session starts them.
const std::map<std::string, std::string> kBackgroundOptions = {
    {"thunar", "--daemon"},         {"nautilus", "--gapplication-service"}, {"caja", "--no-default-window"},
    {"pcmanfm", "--daemon-mode"},   {"pcmanfm-qt", "--daemon-mode"},        {"dolphin", "--daemon"}};

std::optional<std::string> option(const std::map<std::string, std::string>& table, const std::string& program) {
  auto found = table.find(baseName(program));
  if (found == table.end()) return std::nullopt;
  return found->second;
}

}  // namespace

Result<FileManagerProgram> defaultFileManager() {
  auto application = gio::defaultApplicationFor(kFolderContentType);
  if (!application) return fail("there is no default file manager (no application is set for folders, inode/directory)");
  FileManagerProgram manager{application->id, application->executable, application->arguments};
  if (manager.program.find('/') == std::string::npos) {
    auto found = findProgram(manager.program);
    if (!found) return fail("the default file manager " + application->id + " runs " + manager.program + ", which is not in PATH");
    manager.program = *found;
  }
  return manager;
}

std::optional<std::string> quitOption(const std::string& program) { return option(kQuitOptions, program); }
std::optional<std::string> backgroundOption(const std::string& program) { return option(kBackgroundOptions, program); }

// A copy runs the program itself, or an interpreter with the program (a
// script) among its first words; its arguments are the words after it.
std::vector<FileManagerWorkspace::Copy> FileManagerWorkspace::runningCopies(const FileManagerProgram& manager) {
  const std::string program = canonicalPath(manager.program);
  std::vector<Copy> copies;
  for (const auto& application : inner_.launchedApplications()) {
    auto path = application.find(kApplicationPathKey);
    auto pid = application.find(kApplicationProcessKey);
    if (path == application.end() || pid == application.end()) continue;
    std::vector<std::string> words = commandLine(pid->second);
    size_t programWord = words.size();
    if (canonicalPath(path->second) == program) {
      programWord = 0;
    } else {
      for (size_t i = 1; i < words.size() && i < 3; ++i)
        if (words[i].find('/') != std::string::npos && canonicalPath(words[i]) == program) {
          programWord = i;
          break;
        }
    }
    if (programWord >= words.size()) continue;
    copies.push_back({pid->second, std::vector<std::string>(words.begin() + programWord + 1, words.end())});
  }
  return copies;
}

std::vector<ApplicationDescription> FileManagerWorkspace::launchedApplications() {
  std::vector<ApplicationDescription> applications = inner_.launchedApplications();
  auto manager = defaultFileManager();
  if (!manager) return applications;
  std::vector<Copy> copies = runningCopies(*manager);
  for (ApplicationDescription& application : applications) {
    auto pid = application.find(kApplicationProcessKey);
    if (pid == application.end()) continue;
    for (const Copy& copy : copies)
      if (copy.pid == pid->second) application[kApplicationNameKey] = kFileManagerName;
  }
  return applications;
}

Status FileManagerWorkspace::launchApplication(const std::string& path) {
  if (path != kFileManagerPath) return inner_.launchApplication(path);
  auto manager = defaultFileManager();
  if (!manager) return fail(manager.error());
  std::vector<std::string> arguments = manager->arguments;
  if (quitArguments_) {
    arguments = *quitArguments_;
  } else if (auto background = backgroundOption(manager->program)) {
    arguments = {*background};
  }
  quitArguments_.reset();
  if (Status started = spawnDetached(manager->program, arguments); !started)
    return fail("cannot start the file manager " + manager->program + ": " + started.error());
  return {};
}

Status FileManagerWorkspace::quitFileManager() {
  quitArguments_.reset();
  auto manager = defaultFileManager();
  if (!manager) return fail(manager.error());
  std::vector<Copy> copies = runningCopies(*manager);
  if (copies.empty()) return {};
  quitArguments_ = copies.front().arguments;
  if (auto quit = quitOption(manager->program)) {
    Result<int> exitStatus = tasks_.runAndWait(manager->program, {*quit});
    if (exitStatus && *exitStatus == 0) return {};
  }
  std::vector<std::string> ids;
  for (const Copy& copy : copies) ids.push_back(copy.pid);
  return terminateProcesses(ids, "could not end the file manager");
}

Status FileManagerScripts::execute(const std::string& source) {
  auto compiled = compileScript(source);
  if (compiled) {
    auto* quit = std::get_if<QuitApplication>(&compiled.value());
    if (quit && quit->name == kFileManagerName) return workspace_.quitFileManager();
  }
  return inner_.execute(source);
}

}  // namespace platform
