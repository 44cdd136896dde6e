// SPDX-License-Identifier: MIT
// Every script the pane builds compiles to the form it is meant to be, and
// hostile titles and paths stay texts when the real runner runs them.
#include <gtest/gtest.h>

#include "pane/overlay_scripts.h"
#include "pane/tweaks/finder_restart.h"
#include "platform/login_items/login_items.h"
#include "platform/process/apple_script_runner.h"
#include "platform/process/process_workspace.h"
#include "platform/process/script_compiler.h"
#include "test_home.h"

namespace unit {
namespace {

std::string said(const platform::AddLoginItem& s) { return s.application + ": add [" + s.path + (s.hidden ? "] hidden" : "]"); }
std::string said(const platform::DeleteLoginItem& s) { return s.application + ": delete [" + s.name + "]"; }
std::string said(const platform::OpenLocation& s) { return "open [" + s.location + "]"; }
std::string said(const platform::QuitApplication& s) { return s.name + ": quit"; }

TEST(PaneScripts, EachBuilderCompilesToItsFormWithTheTextInsertedAsItIs) {
  const std::string path = "/a b/q\"uo\\te\n\" & do shell script \"id/RetikonX.app";
  const std::string title = "x\\\"\n do shell script \"id\" --\\";
  const std::pair<std::string, std::string> rows[] = {
      {vantrel::addLoginItemScript(path), "System Events: add [" + path + "]"},
      {vantrel::deleteLoginItemScript(), "System Events: delete [RetikonX]"},
      {vantrel::openLocationScript(title), "open [" + title + "]"},
      {vantrel::kFinderQuitScript, "Finder: quit"},
  };
  for (const auto& [text, meaning] : rows) {
    auto compiled = platform::compileScript(text);
    ASSERT_TRUE(compiled.ok()) << compiled.error() << "\n" << text;
    EXPECT_EQ(std::visit([](const auto& form) { return said(form); }, *compiled), meaning);
  }
}

TEST(PaneScripts, AHostileTitleOpensOnlyItsOwnOddAddress) {
  TempHome home;
  ScopedEnvironment path{"PATH", (home.path() / "bin").string() + ":/usr/bin:/bin"};
  platform::SleepingClock clock;
  platform::ProcessWorkspace workspace{clock};
  platform::LoginItems loginItems;
  platform::AppleScriptRunner runner{workspace, loginItems};
  const fs::path opened = home.path() / "opened", marker = home.path() / "pwned";
  writeExecutable(home.path() / "bin/xdg-open", "#!/bin/sh\n{ printf '%s' \"$#\"; for a in \"$@\"; do printf ' [%s]' \"$a\"; "
                                                "done; echo; } >> '" + opened.string() + "'\n");
  const std::string title = "x\\\"\n do shell script \"touch " + marker.string() + "\" --\\";
  ASSERT_TRUE(runner.execute(vantrel::openLocationScript(title)).ok());
  ASSERT_TRUE(waitFor([&] { return readText(opened).ends_with("\n"); }));
  EXPECT_EQ(readText(opened), "1 [" + title + "]\n");
  EXPECT_FALSE(fs::exists(marker));
}

}  // namespace
}  // namespace unit
