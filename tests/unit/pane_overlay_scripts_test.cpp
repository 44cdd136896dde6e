// The scripts the page builds from a path or an address, and what the real
// script runner does with them, hostile texts included.
#include <gtest/gtest.h>

#include "pane/overlay_scripts.h"
#include "platform/login_items/login_items.h"
#include "platform/process/apple_script_runner.h"
#include "platform/process/process_workspace.h"
#include "process_test_support.h"
#include "temp_home.h"

namespace {

using process_test::readText;

TEST(OverlayScripts, TheTextsForOrdinaryPathsAndAddresses) {
  EXPECT_EQ(vantrel::addLoginItemScript("/home/u/Library/PreferencePanes/Vantrel.prefPane/Contents/Resources/RetikonX.app"),
            "tell application \"System Events\"\n make new login item at end with properties "
            "{path:\"/home/u/Library/PreferencePanes/Vantrel.prefPane/Contents/Resources/RetikonX.app\", hidden:false} "
            "\n end tell");
  EXPECT_EQ(vantrel::deleteLoginItemScript(),
            "tell application \"System Events\"\n delete login item \"RetikonX\"\n end tell");
  EXPECT_EQ(vantrel::openLocationScript("https://github.com/Halvix/RetikonX"),
            "property target_URL : \"https://github.com/Halvix/RetikonX\"\n open location target_URL");
}

TEST(OverlayScripts, QuotesAndBackslashesAreEscaped) {
  EXPECT_EQ(vantrel::openLocationScript("a\"b\\c"), "property target_URL : \"a\\\"b\\\\c\"\n open location target_URL");
  EXPECT_NE(vantrel::addLoginItemScript("/x\"y.app").find("{path:\"/x\\\"y.app\", hidden:false}"), std::string::npos);
}

TEST(OverlayScripts, TheLaunchPathPrefersTheCopyOfThisUser) {
  TempHome home;
  EXPECT_EQ(vantrel::overlayApplicationPath(),
            "/Library/PreferencePanes/Vantrel.prefPane/Contents/Resources/RetikonX.app");
  auto userCopy = home.path() / "Library/PreferencePanes/Vantrel.prefPane/Contents/Resources/RetikonX.app";
  std::filesystem::create_directories(userCopy);
  EXPECT_EQ(vantrel::overlayApplicationPath(), userCopy.string());
}

class HostileTexts : public ::testing::Test {
 protected:
  HostileTexts()
      : config("XDG_CONFIG_HOME", (folder.path() / "config").string()),
        path("PATH", (folder.path() / "bin").string() + ":/usr/bin:/bin") {
    process_test::writeExecutable(
        folder.path() / "bin" / "xdg-open",
        "#!/bin/sh\n{ printf '%s' \"$#\"; for a in \"$@\"; do printf ' [%s]' \"$a\"; done; echo; } >> '" +
            opened().string() + "'\n");
  }
  std::filesystem::path opened() const { return folder.path() / "opened"; }
  std::filesystem::path marker() const { return folder.path() / "pwned"; }

  process_test::TempFolder folder;
  process_test::ScopedEnvironment config, path;
  platform::ProcessWorkspace workspace;
  platform::LoginItems loginItems;
  platform::AppleScriptRunner runner{workspace, loginItems};
};

TEST_F(HostileTexts, ATitleThatTriesToRunACommandOpensOnlyItsOwnOddAddress) {
  for (const std::string& title : {"\"\n do shell script \"touch " + marker().string(),
                                  "x\\\"\n do shell script \"touch " + marker().string() + "\" --\\",
                                  std::string("https://example.org/a\"b\\c")}) {
    std::filesystem::remove(opened());
    ASSERT_EQ(runner.execute(vantrel::openLocationScript(title)), std::nullopt) << title;
    ASSERT_TRUE(process_test::waitFor([&] { return readText(opened()).ends_with("\n"); }));
    EXPECT_EQ(readText(opened()), "1 [" + title + "]\n");
    EXPECT_FALSE(std::filesystem::exists(marker()));
  }
}

TEST_F(HostileTexts, APathWithQuotesAndBackslashesIsTheLoginItemsOwnPath) {
  const std::string bundle = (folder.path() / "a\" & do shell script \"touch pwned\\.app").string();
  ASSERT_EQ(runner.execute(vantrel::addLoginItemScript(bundle)), std::nullopt);
  auto entries = std::distance(std::filesystem::directory_iterator(folder.path() / "config" / "autostart"),
                               std::filesystem::directory_iterator());
  EXPECT_EQ(entries, 1);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "config" / "autostart" /
                                      "a\" & do shell script \"touch pwned\\.desktop"));
  EXPECT_FALSE(std::filesystem::exists(marker()));
  EXPECT_FALSE(std::filesystem::exists(opened()));
}

}  // namespace
