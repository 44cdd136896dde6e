// The scripts the page builds from hostile titles and paths, and what the
// real script runner does with them.
#include <gtest/gtest.h>

#include "pane/overlay_scripts.h"
#include "platform/login_items/login_items.h"
#include "platform/process/apple_script_runner.h"
#include "platform/process/process_workspace.h"
#include "test_home.h"

namespace unit {
namespace {

TEST(OverlayScripts, QuotesAndBackslashesAreEscaped) {
  EXPECT_EQ(vantrel::openLocationScript("a\"b\\c"), "property target_URL : \"a\\\"b\\\\c\"\n open location target_URL");
  EXPECT_NE(vantrel::addLoginItemScript("/x\"y.app").find("{path:\"/x\\\"y.app\", hidden:false}"), std::string::npos);
}

class HostileTexts : public ::testing::Test {
 protected:
  HostileTexts() {
    writeExecutable(home.path() / "bin" / "xdg-open",
                    "#!/bin/sh\n{ printf '%s' \"$#\"; for a in \"$@\"; do printf ' [%s]' \"$a\"; done; echo; } >> '" +
                        opened().string() + "'\n");
  }
  fs::path opened() const { return home.path() / "opened"; }
  fs::path marker() const { return home.path() / "pwned"; }

  TempHome home;
  ScopedEnvironment config{"XDG_CONFIG_HOME", (home.path() / "config").string()};
  ScopedEnvironment path{"PATH", (home.path() / "bin").string() + ":/usr/bin:/bin"};
  platform::ProcessWorkspace workspace;
  platform::LoginItems loginItems;
  platform::AppleScriptRunner runner{workspace, loginItems};
};

TEST_F(HostileTexts, ATitleThatTriesToRunACommandOpensOnlyItsOwnOddAddress) {
  for (const std::string& title : {"\"\n do shell script \"touch " + marker().string(),
                                  "x\\\"\n do shell script \"touch " + marker().string() + "\" --\\",
                                  std::string("https://example.org/a\"b\\c")}) {
    fs::remove(opened());
    ASSERT_TRUE(runner.execute(vantrel::openLocationScript(title)).ok()) << title;
    ASSERT_TRUE(waitFor([&] { return readText(opened()).ends_with("\n"); }));
    EXPECT_EQ(readText(opened()), "1 [" + title + "]\n");
    EXPECT_FALSE(fs::exists(marker()));
  }
}

TEST_F(HostileTexts, APathWithQuotesAndBackslashesIsTheLoginItemsOwnPath) {
  const std::string bundle = (home.path() / "a\" & do shell script \"touch pwned\\.app").string();
  ASSERT_TRUE(runner.execute(vantrel::addLoginItemScript(bundle)).ok());
  const fs::path autostart = home.path() / "config" / "autostart";
  EXPECT_EQ(std::distance(fs::directory_iterator(autostart), {}), 1);
  EXPECT_TRUE(fs::exists(autostart / "a\" & do shell script \"touch pwned\\.desktop"));
  EXPECT_FALSE(fs::exists(marker()));
  EXPECT_FALSE(fs::exists(opened()));
}

}  // namespace
}  // namespace unit
