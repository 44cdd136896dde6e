// Starting programs and bundles, listing them, and running tasks by path.
#include <signal.h>

#include <chrono>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/login_items/login_items.h"
#include "platform/process/app_bundle.h"
#include "platform/process/apple_script_runner.h"
#include "platform/process/posix_task_runner.h"
#include "platform/process/process_workspace.h"
#include "test_home.h"

namespace unit {
namespace {

class ProcessWorkspace : public ::testing::Test {
 protected:
  std::vector<platform::ApplicationDescription> named(const std::string& name) {
    std::vector<platform::ApplicationDescription> found;
    for (auto& application : workspace.launchedApplications())
      if (application["NSApplicationName"] == name) found.push_back(application);
    return found;
  }
  void terminate(const std::string& name) {
    for (const auto& application : named(name))
      kill(std::stoi(application.at("NSApplicationProcessIdentifier")), SIGTERM);
    EXPECT_TRUE(waitFor([&] { return named(name).empty(); }));
  }

  TempHome home;
  platform::ProcessWorkspace workspace;
};

TEST_F(ProcessWorkspace, ABundleRunsDetachedInItsOwnSessionWithoutTheCallersStreams) {
  auto report = home.path() / "report";
  auto bundle = makeBundle(home.path(), "Probe",
                           "#!/bin/sh\necho \"$(ps -o sid= -p $$) $(readlink /proc/$$/fd/0) $(readlink /proc/$$/fd/1)\" > '" +
                               report.string() + "'\n");
  ASSERT_TRUE(workspace.launchApplication(bundle.string()));
  ASSERT_TRUE(waitFor([&] { return readText(report).find('\n') != std::string::npos; }));
  std::istringstream words(readText(report));
  std::string session, input, output;
  words >> session >> input >> output;
  EXPECT_NE(std::stoi(session), getsid(0)) << "a session of its own, not the caller's";
  EXPECT_EQ(input, "/dev/null");
  EXPECT_EQ(output, "/dev/null");
}

TEST_F(ProcessWorkspace, ARunningApplicationIsListedByItsNameAndNotStartedTwice) {
  auto bundle = makeBundle(home.path(), "Idle Probe", "");
  fs::copy_file(IDLE_PROGRAM, bundle / "Contents/MacOS/Idle Probe", fs::copy_options::overwrite_existing);
  ASSERT_TRUE(workspace.launchApplication(bundle.string()));
  ASSERT_TRUE(waitFor([&] { return named("Idle Probe").size() == 1; }));
  EXPECT_EQ(named("Idle Probe")[0]["NSApplicationPath"], bundle.string());
  EXPECT_TRUE(workspace.launchApplication(bundle.string()));
  EXPECT_EQ(named("Idle Probe").size(), 1u);

  // One that is still listed while it quits is not taken for a running one.
  const std::string first = named("Idle Probe")[0]["NSApplicationProcessIdentifier"];
  std::thread quitting([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(std::stoi(first), SIGTERM);
  });
  EXPECT_TRUE(workspace.launchApplication(bundle.string()));
  quitting.join();
  ASSERT_TRUE(waitFor([&] { return named("Idle Probe").size() == 1; })) << "a copy started after the old one left";
  EXPECT_NE(named("Idle Probe")[0]["NSApplicationProcessIdentifier"], first);
  terminate("Idle Probe");

  fs::copy_file(IDLE_PROGRAM, home.path() / "idle-plain");
  ASSERT_TRUE(workspace.launchApplication((home.path() / "idle-plain").string()));
  ASSERT_TRUE(waitFor([&] { return named("idle-plain").size() == 1; })) << "a plain program by its file name";
  terminate("idle-plain");
}

TEST_F(ProcessWorkspace, AQuitScriptEndsEveryProcessOfThatNameOnly) {
  for (const char* name : {"Quit Probe", "Other Probe"}) {
    auto bundle = makeBundle(home.path(), name, "");
    fs::copy_file(IDLE_PROGRAM, bundle / "Contents/MacOS" / name, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(workspace.launchApplication(bundle.string()));
  }
  ASSERT_TRUE(waitFor([&] { return named("Quit Probe").size() == 1 && named("Other Probe").size() == 1; }));
  platform::LoginItems loginItems;
  platform::AppleScriptRunner runner{workspace, loginItems};
  EXPECT_TRUE(runner.execute("tell application \"Quit Probe\" to quit").ok());
  EXPECT_TRUE(waitFor([&] { return named("Quit Probe").empty(); }));
  EXPECT_EQ(named("Other Probe").size(), 1u);
  EXPECT_TRUE(runner.execute("tell application \"Other Probe\" to quit").ok());
  EXPECT_TRUE(waitFor([&] { return named("Other Probe").empty(); }));
}

TEST_F(ProcessWorkspace, WhatCannotBeStartedIsReported) {
  platform::Status missing = workspace.launchApplication((home.path() / "Missing.app").string());
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), (home.path() / "Missing.app").string() + " is missing");
  auto bundle = makeBundle(home.path(), "Broken", "");
  fs::remove(bundle / "Contents/MacOS/Broken");
  EXPECT_FALSE(workspace.launchApplication(bundle.string()));
  EXPECT_FALSE(workspace.launchApplication((home.path() / "no-program").string()));
  // A bundle may only name a program inside its own Contents/MacOS.
  writeText(bundle / "Contents/Info.plist",
            "<plist version=\"1.0\"><dict><key>CFBundleExecutable</key><string>../../x</string></dict></plist>");
  EXPECT_EQ(platform::bundleExecutable(bundle.string()), std::nullopt);
}

TEST_F(ProcessWorkspace, TasksRunByPathWithTheArgumentsAsGivenAndAreWaitedFor) {
  auto out = home.path() / "out";
  platform::PosixTaskRunner runner;
  // The arguments reach the program untouched: nothing interprets them.
  auto outcome = runner.runAndWait(
      "/bin/sh", {"-c", "printf '%s|%s' \"$1\" \"$2\" > \"$0\"; exit 3", out.string(), "a;b $(touch x)", "\"q\" \\"});
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.exitStatus, 3);
  EXPECT_EQ(readText(out), "a;b $(touch x)|\"q\" \\");
  EXPECT_FALSE(fs::exists("x"));
  auto missing = runner.runAndWait((home.path() / "missing").string(), {});
  EXPECT_FALSE(missing.started);
  EXPECT_NE(missing.error.find("No such file"), std::string::npos) << missing.error;
}

}  // namespace
}  // namespace unit
