// SPDX-License-Identifier: MIT
#include "apple_script_runner.h"

#include "platform/process/process_workspace.h"
#include "platform/process/program_launch.h"
#include "platform/process/script_compiler.h"

namespace platform {
namespace {

constexpr std::string_view kSystemEvents = "System Events";

template <class... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};
// clang 14 does not deduce aggregate bases by itself.
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace

Status AppleScriptRunner::execute(const std::string& source) {
  auto compiled = compileScript(source);
  if (!compiled) return fail("compile error: " + compiled.error());

  return std::visit(
      Overloaded{
          [&](const AddLoginItem& script) -> Status {
            if (script.application != kSystemEvents)
              return fail("\"" + script.application + "\" does not understand login items");
            return loginItems_.add(script.path);
          },
          [&](const DeleteLoginItem& script) -> Status {
            if (script.application != kSystemEvents)
              return fail("\"" + script.application + "\" does not understand login items");
            return loginItems_.remove(script.name);
          },
          [&](const OpenLocation& script) -> Status {
            // The opener would read a leading dash as one of its options.
            if (script.location.empty() || script.location.front() == '-')
              return fail("\"" + script.location + "\" is not a location");
            auto opener = findProgram(locationOpener_);
            if (!opener) return fail(locationOpener_ + " not found in PATH");
            return spawnDetached(*opener, {script.location});
          },
          [&](const QuitApplication& script) -> Status {
            std::vector<std::string> ids;
            for (const auto& application : workspace_.launchedApplications()) {
              auto name = application.find(kApplicationNameKey);
              auto process = application.find(kApplicationProcessKey);
              if (name != application.end() && process != application.end() && name->second == script.name)
                ids.push_back(process->second);
            }
            return terminateProcesses(ids, script.name);
          },
      },
      *compiled);
}

}  // namespace platform
