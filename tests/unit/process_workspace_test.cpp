#include <signal.h>

#include <sstream>

#include <gtest/gtest.h>

#include "platform/process/app_bundle.h"
#include "platform/process/process_workspace.h"
#include "process_test_support.h"

namespace process_test {
namespace {

std::vector<platform::ApplicationDescription> named(platform::Workspace& workspace, const std::string& name) {
  std::vector<platform::ApplicationDescription> found;
  for (auto& application : workspace.launchedApplications())
    if (application["NSApplicationName"] == name) found.push_back(application);
  return found;
}

void terminate(const std::vector<platform::ApplicationDescription>& applications) {
  for (const auto& application : applications) kill(std::stoi(application.at("NSApplicationProcessIdentifier")), SIGTERM);
}

TEST(AppBundle, NamesAndExecutables) {
  EXPECT_TRUE(platform::isApplicationBundle("/a/RetikonX.app"));
  EXPECT_TRUE(platform::isApplicationBundle("/a/RetikonX.app/"));
  EXPECT_FALSE(platform::isApplicationBundle("/a/.app"));
  EXPECT_FALSE(platform::isApplicationBundle("/usr/bin/sleep"));
  EXPECT_EQ(platform::applicationName("/a/RetikonX.app/"), "RetikonX");
  EXPECT_EQ(platform::applicationName("/usr/bin/sleep"), "sleep");
  EXPECT_EQ(platform::bundleOfExecutable("/p/R X.app/Contents/MacOS/R"), "/p/R X.app");
  EXPECT_EQ(platform::bundleOfExecutable("/usr/bin/sleep"), std::nullopt);

  TempFolder folder;
  auto bundle = makeBundle(folder.path(), "Tool", "#!/bin/sh\n");
  EXPECT_EQ(platform::bundleExecutable(bundle.string()), (bundle / "Contents/MacOS/Tool").string());
  std::ofstream(bundle / "Contents/Info.plist")
      << "<plist version=\"1.0\"><dict><key>CFBundleExecutable</key><string>../../x</string></dict></plist>";
  EXPECT_EQ(platform::bundleExecutable(bundle.string()), std::nullopt);
}

TEST(ProcessWorkspace, ABundleRunsDetachedInItsOwnSessionWithoutTheCallersStreams) {
  TempFolder folder;
  auto report = folder.path() / "report";
  auto bundle = makeBundle(folder.path(), "Probe",
                           "#!/bin/sh\necho \"$$ $(ps -o sid= -p $$) $(readlink /proc/$$/fd/0) "
                           "$(readlink /proc/$$/fd/1)\" > '" +
                               report.string() + "'\n");
  platform::ProcessWorkspace workspace;
  ASSERT_TRUE(workspace.launchApplication(bundle.string()));
  ASSERT_TRUE(waitFor([&] { return readText(report).find('\n') != std::string::npos; }));
  std::istringstream words(readText(report));
  std::string pid, session, input, output;
  words >> pid >> session >> input >> output;
  EXPECT_NE(std::stoi(session), getsid(0)) << "a session of its own, not the caller's";
  EXPECT_EQ(input, "/dev/null");
  EXPECT_EQ(output, "/dev/null");
}

TEST(ProcessWorkspace, ARunningApplicationIsListedByItsBundleNameAndNotStartedTwice) {
  TempFolder folder;
  auto bundle = makeBundle(folder.path(), "Idle Probe", "");
  std::filesystem::copy_file(IDLE_PROGRAM, bundle / "Contents/MacOS/Idle Probe",
                             std::filesystem::copy_options::overwrite_existing);
  platform::ProcessWorkspace workspace;
  ASSERT_TRUE(workspace.launchApplication(bundle.string()));
  ASSERT_TRUE(waitFor([&] { return named(workspace, "Idle Probe").size() == 1; }));
  auto listed = named(workspace, "Idle Probe");
  EXPECT_EQ(listed[0]["NSApplicationPath"], bundle.string());

  EXPECT_TRUE(workspace.launchApplication(bundle.string()));
  EXPECT_EQ(named(workspace, "Idle Probe").size(), 1u);
  terminate(listed);
  EXPECT_TRUE(waitFor([&] { return named(workspace, "Idle Probe").empty(); }));
}

TEST(ProcessWorkspace, WhatCannotBeStartedIsReported) {
  TempFolder folder;
  platform::ProcessWorkspace workspace;
  EXPECT_FALSE(workspace.launchApplication((folder.path() / "Missing.app").string()));
  auto bundle = makeBundle(folder.path(), "Broken", "");
  std::filesystem::remove(bundle / "Contents/MacOS/Broken");
  EXPECT_FALSE(workspace.launchApplication(bundle.string()));
  EXPECT_FALSE(workspace.launchApplication((folder.path() / "no-program").string()));
}

TEST(ProcessWorkspace, APlainProgramIsListedByItsFileName) {
  TempFolder folder;
  auto program = folder.path() / "idle-plain";
  std::filesystem::copy_file(IDLE_PROGRAM, program);
  platform::ProcessWorkspace workspace;
  ASSERT_TRUE(workspace.launchApplication(program.string()));
  ASSERT_TRUE(waitFor([&] { return named(workspace, "idle-plain").size() == 1; }));
  terminate(named(workspace, "idle-plain"));
}

}  // namespace
}  // namespace process_test
