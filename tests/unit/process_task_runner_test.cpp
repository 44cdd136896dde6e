#include <gtest/gtest.h>

#include "platform/process/posix_task_runner.h"
#include "process_test_support.h"

namespace process_test {
namespace {

TEST(PosixTaskRunner, RunsByPathWithTheArgumentsAsGivenAndWaits) {
  TempFolder folder;
  auto out = folder.path() / "out";
  platform::PosixTaskRunner runner;
  // The arguments reach the program untouched: nothing interprets them.
  auto outcome = runner.runAndWait(
      "/bin/sh", {"-c", "printf '%s|%s' \"$1\" \"$2\" > \"$0\"; exit 3", out.string(), "a;b $(touch x)", "\"q\" \\"});
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.exitStatus, 3);
  EXPECT_EQ(readText(out), "a;b $(touch x)|\"q\" \\");
  EXPECT_FALSE(std::filesystem::exists("x"));
}

TEST(PosixTaskRunner, AProgramThatCannotStartIsAnErrorTheCallerSees) {
  TempFolder folder;
  platform::PosixTaskRunner runner;
  auto missing = runner.runAndWait((folder.path() / "missing").string(), {});
  EXPECT_FALSE(missing.started);
  EXPECT_NE(missing.error.find("No such file"), std::string::npos) << missing.error;

  auto notExecutable = folder.path() / "plain";
  std::ofstream(notExecutable) << "#!/bin/sh\n";
  auto refused = runner.runAndWait(notExecutable.string(), {});
  EXPECT_FALSE(refused.started);
  EXPECT_FALSE(refused.error.empty());
}

}  // namespace
}  // namespace process_test
