// SPDX-License-Identifier: MIT
// Starting programs and bundles, listing and quitting them, running tasks by
// path, and the scripts: what compiles (the pane's own among them), and what
// running it does.
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "pane/overlay_scripts.h"
#include "pane/tweaks/finder_restart.h"
#include "platform/login_items/login_items.h"
#include "platform/process/app_bundle.h"
#include "platform/process/apple_script_runner.h"
#include "platform/process/posix_task_runner.h"
#include "platform/process/process_workspace.h"
#include "platform/process/script_compiler.h"
#include "test_home.h"

namespace unit {
namespace {

class Processes : public ::testing::Test {
 protected:
  std::vector<platform::ApplicationDescription> named(const std::string& name) {
    std::vector<platform::ApplicationDescription> found;
    for (auto& application : workspace.launchedApplications())
      if (application["NSApplicationName"] == name) found.push_back(application);
    return found;
  }
  fs::path autostart() const { return home.path() / "config" / "autostart"; }

  TempHome home;
  ScopedEnvironment config{"XDG_CONFIG_HOME", (home.path() / "config").string()};
  platform::SleepingClock clock;
  platform::ProcessWorkspace workspace{clock};
  platform::LoginItems loginItems;
  platform::AppleScriptRunner runner{workspace, loginItems};
};

TEST_F(Processes, ABundleRunsDetachedInItsOwnSessionWithoutTheCallersStreams) {
  auto report = home.path() / "report";
  auto bundle = makeBundle(home.path(), "Probe",
                           "#!/bin/sh\n[ $(ps -o sid= -p $$) -ne " + std::to_string(getsid(0)) +
                               " ] && s=own; echo $s $(readlink /proc/$$/fd/0 /proc/$$/fd/1) > '" + report.string() + "'\n");
  ASSERT_TRUE(workspace.launchApplication(bundle.string()));
  ASSERT_TRUE(waitFor([&] { return readText(report).find('\n') != std::string::npos; }));
  EXPECT_EQ(readText(report), "own /dev/null /dev/null\n") << "a session of its own, no streams of the caller's";
}

TEST_F(Processes, ARunningApplicationIsListedByItsNameNotStartedTwiceAndQuitByName) {
  auto bundle = makeBundle(home.path(), "Idle Probe", "");
  fs::copy_file(IDLE_PROGRAM, bundle / "Contents/MacOS/Idle Probe", fs::copy_options::overwrite_existing);
  ASSERT_TRUE(workspace.launchApplication(bundle.string()));
  ASSERT_TRUE(waitFor([&] { return named("Idle Probe").size() == 1; }));
  EXPECT_EQ(named("Idle Probe")[0]["NSApplicationPath"], bundle.string());
  EXPECT_TRUE(workspace.launchApplication(bundle.string()));
  EXPECT_EQ(named("Idle Probe").size(), 1u);
  // One still listed while it quits: pane_test.py switches the overlay off and at once on again.

  fs::copy_file(IDLE_PROGRAM, home.path() / "idle-plain");
  ASSERT_TRUE(workspace.launchApplication((home.path() / "idle-plain").string()));
  ASSERT_TRUE(waitFor([&] { return named("idle-plain").size() == 1; })) << "a plain program by its file name";
  EXPECT_TRUE(runner.execute("tell application \"Idle Probe\" to quit").ok());
  EXPECT_TRUE(waitFor([&] { return named("Idle Probe").empty(); }));
  EXPECT_EQ(named("idle-plain").size(), 1u) << "only the application of that name";
  EXPECT_TRUE(runner.execute("tell application \"idle-plain\" to quit").ok());
  EXPECT_TRUE(waitFor([&] { return named("idle-plain").empty(); }));
}

TEST_F(Processes, WhatCannotBeStartedIsReportedAndTasksRunByPathWithTheArgumentsAsGiven) {
  platform::Status missing = workspace.launchApplication((home.path() / "Missing.app").string());
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), (home.path() / "Missing.app").string() + " is missing");
  auto bundle = makeBundle(home.path(), "Broken", "");
  fs::remove(bundle / "Contents/MacOS/Broken");
  EXPECT_FALSE(workspace.launchApplication(bundle.string()));
  // A bundle may only name a program inside its own Contents/MacOS.
  writeText(bundle / "Contents/Info.plist",
            "<plist version=\"1.0\"><dict><key>CFBundleExecutable</key><string>../../x</string></dict></plist>");
  EXPECT_EQ(platform::bundleExecutable(bundle.string()), std::nullopt);

  // Waited for in pauses of the caller's clock, and never beyond the deadline.
  struct CountingClock : platform::WaitClock {
    std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }
    void pause(std::chrono::milliseconds duration) override { ++pauses, std::this_thread::sleep_for(duration); }
    int pauses = 0;
  } counting;
  platform::PosixTaskRunner hasty(counting, std::chrono::milliseconds(300));
  auto hung = hasty.runAndWait("/bin/sleep", {"60"});
  ASSERT_FALSE(hung);
  EXPECT_EQ(hung.error(), "/bin/sleep did not finish within 0.3 s and was ended");
  EXPECT_GT(counting.pauses, 5);

  platform::PosixTaskRunner tasks(clock);
  auto task = tasks.runAndWait((home.path() / "missing").string(), {});
  ASSERT_FALSE(task);
  EXPECT_NE(task.error().find("No such file"), std::string::npos) << task.error();
  // The arguments reach the program untouched: nothing interprets them.
  const auto out = home.path() / "out";
  auto outcome = tasks.runAndWait(
      "/bin/sh", {"-c", "printf '%s|%s' \"$1\" \"$2\" > \"$0\"; exit 3", out.string(), "a;b $(touch x)", "\"q\" \\"});
  ASSERT_TRUE(outcome) << outcome.error();
  EXPECT_EQ(*outcome, 3);
  EXPECT_EQ(readText(out), "a;b $(touch x)|\"q\" \\");
  EXPECT_FALSE(fs::exists("x"));
}

std::string said(const platform::AddLoginItem& s) { return s.application + ": add [" + s.path + (s.hidden ? "] hidden" : "]"); }
std::string said(const platform::DeleteLoginItem& s) { return s.application + ": delete [" + s.name + "]"; }
std::string said(const platform::OpenLocation& s) { return "open [" + s.location + "]"; }
std::string said(const platform::QuitApplication& s) { return s.name + ": quit"; }

// Each script the pane builds compiles to its form with hostile texts inserted as they are; nothing else compiles.
TEST(ScriptCompiler, OnlyTheFormsCompileWithKeywordsInAnyCaseAndThePanesScriptsAreThem) {
  const std::string path = "/a b/q\"uo\\te\n\" & do shell script \"id/RetikonX.app";
  const std::string title = "x\\\"\n do shell script \"id\" --\\";
  const std::pair<std::string, std::string> rows[] = {
      {vantrel::addLoginItemScript(path), "System Events: add [" + path + "]"},
      {vantrel::deleteLoginItemScript(), "System Events: delete [RetikonX]"},
      {vantrel::openLocationScript(title), "open [" + title + "]"},
      {vantrel::kFinderQuitScript, "Finder: quit"}, {"\r\n  Tell Application \"X\"  TO quit\n\n", "X: quit"}};
  for (const auto& [text, meaning] : rows) {
    auto compiled = platform::compileScript(text);
    ASSERT_TRUE(compiled.ok()) << compiled.error() << "\n" << text;
    EXPECT_EQ(std::visit([](const auto& form) { return said(form); }, *compiled), meaning);
  }
  for (const char* source : {"", "do shell script \"touch /tmp/x\"", "tell application \"Finder\" to activate",
                             "tell application \"Finder\" to quit\ndo shell script \"id\"",
                             "tell application \"Finder\" to quit -- comment",
                             "tell application \"Finder to quit", "tell application \"Fin\\der\" to quit",
                             "property target_URL : \"x\"\n open location other_URL",
                             "property target_URL : \"x\" open location target_URL",
                             "tell application \"System Events\"\n delete login item \"A\" \"B\"\n end tell",
                             "tell application \"System Events\"\n make new login item at end with properties "
                             "{path:\"/p\", hidden:maybe} \n end tell"})
    EXPECT_FALSE(platform::compileScript(source).ok()) << source;
}

// The ordinary login item and its removal are the pane's own, seen on the
// desktop; here a replacement and what must never happen.
TEST_F(Processes, AHostilePathIsOnlyThePathOfItsLoginItemAndNoOtherFileIsRemoved) {
  const auto bundle = home.path() / "we\"ird $(touch x) \\ %u`.app";
  const std::string add = vantrel::addLoginItemScript(bundle.string());
  for (int time = 0; time < 2; ++time) ASSERT_TRUE(runner.execute(add).ok());
  ASSERT_EQ(std::distance(fs::directory_iterator(autostart()), {}), 1) << "added again, the item is replaced";
  // Quoted by the Desktop Entry rules, then escaped as a string value.
  const std::string name = "we\\\\\"ird \\\\$(touch x) \\\\\\\\ %%u\\\\`";
  const std::string entry = readText(autostart() / "we\"ird $(touch x) \\ %u`.desktop");
  EXPECT_NE(entry.find("\nExec=\"" + home.path().string() + "/" + name + ".app/Contents/MacOS/" + name + "\"\n"),
            std::string::npos)
      << entry;
  EXPECT_EQ(platform::desktopEntryExecArgument("line\nbreak"), "\"line\\nbreak\"") << "no line of its own";

  for (const char* script : {"tell application \"System Events\"\n delete login item \"../config\"\n end tell",
                             "tell application \"System Events\"\n delete login item \"no such\"\n end tell",
                             "tell application \"Finder\"\n delete login item \"we\\\"ird $(touch x) \\\\ %u`\"\n end tell"})
    EXPECT_FALSE(runner.execute(script).ok()) << script;
  EXPECT_EQ(std::distance(fs::directory_iterator(autostart()), {}), 1);
  for (const char* relative : {"relative", ""}) {
    ScopedEnvironment setting("XDG_CONFIG_HOME", relative);
    EXPECT_EQ(platform::LoginItems::autostartFolder(), home.path().string() + "/.config/autostart") << relative;
  }
}

// A hostile title opens only its own odd address; what is no address, or has no opener, opens nothing.
TEST_F(Processes, OpenLocationOpensTheTitleAsItIsAndRefusesWhatIsNoAddressOrHasNoOpener) {
  // Only the test's own programs: a missing opener must not be found elsewhere.
  ScopedEnvironment path{"PATH", (home.path() / "bin").string()};
  const fs::path opened = home.path() / "opened", marker = home.path() / "pwned";
  writeExecutable(home.path() / "bin/xdg-open", "#!/bin/sh\n{ printf '%s' \"$#\"; for a in \"$@\"; do printf ' [%s]' \"$a\"; "
                                                "done; echo; } >> '" + opened.string() + "'\n");
  // A title inserted without escaping is no script at all.
  EXPECT_FALSE(runner.execute("property target_URL : \"\"\n do shell script \"id\"\"\n open location target_URL").ok());
  EXPECT_FALSE(runner.execute("property u : \"--help\"\n open location u").ok());
  const std::string title = "x\\\"\n do shell script \"touch " + marker.string() + "\" --\\";
  ASSERT_TRUE(runner.execute(vantrel::openLocationScript(title)).ok());
  ASSERT_TRUE(waitFor([&] { return readText(opened).ends_with("\n"); }));
  EXPECT_EQ(readText(opened), "1 [" + title + "]\n") << "the refused ones opened nothing";
  EXPECT_FALSE(fs::exists(marker));
  fs::remove(home.path() / "bin" / "xdg-open");
  EXPECT_FALSE(runner.execute("property u : \"https://example.org\"\n open location u").ok());
}

}  // namespace
}  // namespace unit
