// The script forms, what compiles and what does not, and what running them
// does: login items, opening a location, quitting an application.
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
  std::string addScript(const std::string& bundle) {
    return "tell application \"System Events\"\n make new login item at end with properties {path:" +
           platform::scriptStringLiteral(bundle) + ", hidden:false} \n end tell";
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
  EXPECT_TRUE(runner.execute(addScript(bundle.string())).ok());
  EXPECT_TRUE(runner.execute(addScript(bundle.string())).ok());
  ASSERT_EQ(std::distance(fs::directory_iterator(autostart()), {}), 1);
  EXPECT_EQ(readText(autostart() / "RetikonX.desktop"),
            "[Desktop Entry]\nType=Application\nName=RetikonX\nExec=\"" + bundle.string() +
                "/Contents/MacOS/RetikonX\"\n");

  const std::string remove = "tell application \"System Events\"\n delete login item \"RetikonX\"\n end tell";
  EXPECT_TRUE(runner.execute(remove).ok());
  EXPECT_FALSE(fs::exists(autostart() / "RetikonX.desktop"));
  EXPECT_FALSE(runner.execute(remove).ok()) << "no such item";
  EXPECT_FALSE(runner.execute("tell application \"System Events\"\n delete login item \"../config\"\n end tell").ok());
  EXPECT_FALSE(runner.execute("tell application \"Finder\"\n delete login item \"RetikonX\"\n end tell").ok());
  EXPECT_TRUE(fs::exists(home.path() / "config"));
}

TEST_F(ScriptRunnerTest, AHostilePathIsOnlyThePathOfItsLoginItem) {
  ASSERT_TRUE(runner.execute(addScript((home.path() / "we\"ird $(touch x) \\ %u`.app").string())).ok());
  EXPECT_EQ(std::distance(fs::directory_iterator(autostart()), {}), 1);
  // Quoted by the Desktop Entry rules, then escaped as a string value.
  const std::string name = "we\\\\\"ird \\\\$(touch x) \\\\\\\\ %%u\\\\`";
  const std::string entry = readText(autostart() / "we\"ird $(touch x) \\ %u`.desktop");
  EXPECT_NE(entry.find("\nExec=\"" + home.path().string() + "/" + name + ".app/Contents/MacOS/" + name + "\"\n"),
            std::string::npos)
      << entry;
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

TEST_F(ScriptRunnerTest, QuitEndsEveryProcessOfThatNameOnly) {
  for (const char* name : {"Quit Probe", "Other Probe"}) {
    auto bundle = makeBundle(home.path(), name, "");
    fs::copy_file(IDLE_PROGRAM, bundle / "Contents/MacOS" / name, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(workspace.launchApplication(bundle.string()));
  }
  auto count = [&](const std::string& name) {
    int n = 0;
    for (auto& application : workspace.launchedApplications()) n += application["NSApplicationName"] == name;
    return n;
  };
  ASSERT_TRUE(waitFor([&] { return count("Quit Probe") == 1 && count("Other Probe") == 1; }));
  EXPECT_TRUE(runner.execute("tell application \"Quit Probe\" to quit").ok());
  EXPECT_TRUE(waitFor([&] { return count("Quit Probe") == 0; }));
  EXPECT_EQ(count("Other Probe"), 1);
  EXPECT_TRUE(runner.execute("tell application \"Other Probe\" to quit").ok());
  EXPECT_TRUE(waitFor([&] { return count("Other Probe") == 0; }));
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

TEST(LoginItems, ExecArgumentsAreQuotedThenEscaped) {
  EXPECT_EQ(platform::desktopEntryExecArgument("/a b/c"), "\"/a b/c\"");
  EXPECT_EQ(platform::desktopEntryExecArgument("q\"d$b`s\\"), "\"q\\\\\"d\\\\$b\\\\`s\\\\\\\\\"");
  EXPECT_EQ(platform::desktopEntryExecArgument("50%"), "\"50%%\"");
  EXPECT_EQ(platform::desktopEntryExecArgument("line\nbreak"), "\"line\\nbreak\"");
}

}  // namespace
}  // namespace unit
