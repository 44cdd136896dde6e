// The script forms, what compiles and what does not, and what running them
// does to login items and locations.
#include <gtest/gtest.h>

#include "platform/login_items/login_items.h"
#include "platform/process/apple_script_runner.h"
#include "platform/process/process_workspace.h"
#include "platform/process/script_compiler.h"
#include "test_home.h"

namespace unit {
namespace {

template <class Form>
Form compiled(const std::string& source) {
  auto result = platform::compileScript(source);
  EXPECT_TRUE(result.ok()) << source << ": " << (result.ok() ? "" : result.error());
  return std::get<Form>(*result);
}

// What each form carries is checked by running it below.
TEST(ScriptCompiler, KeywordsInAnyCaseWithFreeBlanksAndLineBreaks) {
  EXPECT_EQ(compiled<platform::QuitApplication>("\r\n  Tell Application \"X\"  TO quit\n\n").name, "X");
  EXPECT_FALSE(compiled<platform::AddLoginItem>("tell application \"System Events\"\n make new login item at end with "
                                                "properties {path:\"/p\", hidden:false} \n end tell")
                   .hidden);
}

TEST(ScriptCompiler, AnythingElseFailsToCompile) {
  for (const char* source : {
           "",
           "do shell script \"touch /tmp/x\"",
           "tell application \"Finder\" to quit\ndo shell script \"id\"",
           "tell application \"Finder\" to quit -- comment",
           "tell application \"Finder\" to activate",
           "tell application \"Finder to quit",
           "tell application \"Fin\\der\" to quit",
           "property target_URL : \"x\"\n open location other_URL",
           "property target_URL : \"x\" open location target_URL",
           "tell application \"System Events\"\n delete login item \"A\" \"B\"\n end tell",
           "tell application \"System Events\"\n make new login item at end with properties {path:\"/p\", "
           "hidden:maybe} \n end tell",
       })
    EXPECT_FALSE(platform::compileScript(source).ok()) << source;
}

TEST(ScriptCompiler, AnyTextSurvivesAsAStringLiteral) {
  for (std::string text : {"plain", "a \"quoted\" word", "back\\slash\\", "\\\"", "\"\n do shell script \"touch /tmp/x",
                           "line\nbreak\ttab", ""}) {
    auto open = compiled<platform::OpenLocation>("property u : " + platform::scriptStringLiteral(text) + "\nopen location u");
    EXPECT_EQ(open.location, text);
  }
}

class ScriptRunnerTest : public ::testing::Test {
 protected:
  fs::path autostart() const { return home.path() / "config" / "autostart"; }
  platform::Status addLoginItem(const fs::path& bundle) {
    return runner.execute("tell application \"System Events\"\n make new login item at end with properties {path:" +
                          platform::scriptStringLiteral(bundle.string()) + ", hidden:false} \n end tell");
  }
  platform::Status deleteLoginItem(const std::string& application, const std::string& name) {
    return runner.execute("tell application \"" + application + "\"\n delete login item \"" + name + "\"\n end tell");
  }

  TempHome home;
  ScopedEnvironment config{"XDG_CONFIG_HOME", (home.path() / "config").string()};
  // Only the test's own programs: a missing opener must not be found elsewhere.
  ScopedEnvironment path{"PATH", (home.path() / "bin").string()};
  platform::ProcessWorkspace workspace;
  platform::LoginItems loginItems;
  platform::AppleScriptRunner runner{workspace, loginItems};
};

TEST_F(ScriptRunnerTest, LoginItemsAreOneAutostartEntryPerName) {
  auto bundle = makeBundle(home.path(), "RetikonX", "#!/bin/sh\n");
  EXPECT_TRUE(addLoginItem(bundle).ok());
  EXPECT_TRUE(addLoginItem(bundle).ok());
  ASSERT_EQ(std::distance(fs::directory_iterator(autostart()), {}), 1);
  EXPECT_EQ(readText(autostart() / "RetikonX.desktop"),
            "[Desktop Entry]\nType=Application\nName=RetikonX\nExec=\"" + bundle.string() +
                "/Contents/MacOS/RetikonX\"\n");

  EXPECT_TRUE(deleteLoginItem("System Events", "RetikonX").ok());
  EXPECT_FALSE(fs::exists(autostart() / "RetikonX.desktop"));
  EXPECT_FALSE(deleteLoginItem("System Events", "RetikonX").ok()) << "no such item";
  EXPECT_FALSE(deleteLoginItem("System Events", "../config").ok());
  EXPECT_FALSE(deleteLoginItem("Finder", "RetikonX").ok());
  EXPECT_TRUE(fs::exists(home.path() / "config"));
}

TEST_F(ScriptRunnerTest, AHostilePathIsOnlyThePathOfItsLoginItem) {
  ASSERT_TRUE(addLoginItem(home.path() / "we\"ird $(touch x) \\ %u`.app").ok());
  EXPECT_EQ(std::distance(fs::directory_iterator(autostart()), {}), 1);
  // Quoted by the Desktop Entry rules, then escaped as a string value.
  const std::string name = "we\\\\\"ird \\\\$(touch x) \\\\\\\\ %%u\\\\`";
  const std::string entry = readText(autostart() / "we\"ird $(touch x) \\ %u`.desktop");
  EXPECT_NE(entry.find("\nExec=\"" + home.path().string() + "/" + name + ".app/Contents/MacOS/" + name + "\"\n"),
            std::string::npos)
      << entry;
  EXPECT_EQ(platform::desktopEntryExecArgument("line\nbreak"), "\"line\\nbreak\"") << "no line of its own";
}

TEST_F(ScriptRunnerTest, OpenLocationRefusesWhatIsNoAddressOrHasNoOpener) {
  writeExecutable(home.path() / "bin" / "xdg-open", "#!/bin/sh\n: > '" + (home.path() / "opened").string() + "'\n");
  // A title inserted without escaping is no script at all.
  EXPECT_FALSE(runner.execute("property target_URL : \"\"\n do shell script \"id\"\"\n open location target_URL").ok());
  EXPECT_FALSE(runner.execute("property u : \"--help\"\n open location u").ok());
  EXPECT_FALSE(fs::exists(home.path() / "opened"));
  fs::remove(home.path() / "bin" / "xdg-open");
  EXPECT_FALSE(runner.execute("property u : \"https://example.org\"\n open location u").ok());
}

TEST(LoginItems, TheAutostartFolderFollowsXdgConfigHome) {
  ScopedEnvironment home("HOME", "/home/someone");
  for (const char* config : {"/elsewhere", "relative", ""}) {
    ScopedEnvironment setting("XDG_CONFIG_HOME", config);
    if (!*config) unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(platform::LoginItems::autostartFolder(),
              *config == '/' ? "/elsewhere/autostart" : "/home/someone/.config/autostart")
        << config;
  }
  for (const char* name : {"a/b", "..", ""}) EXPECT_EQ(platform::LoginItems::entryPath(name), std::nullopt) << name;
}

}  // namespace
}  // namespace unit
