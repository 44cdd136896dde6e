// The script forms, what compiles and what does not, and what running them
// does: login items, opening a location, quitting an application.
#include <signal.h>

#include <gtest/gtest.h>

#include "platform/login_items/login_items.h"
#include "platform/process/apple_script_runner.h"
#include "platform/process/process_workspace.h"
#include "platform/process/script_compiler.h"
#include "process_test_support.h"

namespace process_test {
namespace {

using platform::compileScript;

template <class Form>
Form compiled(const std::string& source) {
  auto result = compileScript(source);
  EXPECT_TRUE(std::holds_alternative<platform::CompiledScript>(result))
      << source << ": " << std::get<platform::CompileError>(result).message;
  return std::get<Form>(std::get<platform::CompiledScript>(result));
}

bool compiles(const std::string& source) { return std::holds_alternative<platform::CompiledScript>(compileScript(source)); }

TEST(ScriptCompiler, TheFourFormsCompile) {
  auto add = compiled<platform::AddLoginItem>(
      "tell application \"System Events\"\n make new login item at end with properties {path:\"/p/RetikonX.app\", "
      "hidden:false} \n end tell");
  EXPECT_EQ(add.application, "System Events");
  EXPECT_EQ(add.path, "/p/RetikonX.app");
  EXPECT_FALSE(add.hidden);
  auto remove = compiled<platform::DeleteLoginItem>(
      "tell application \"System Events\"\n delete login item \"RetikonX\"\n end tell");
  EXPECT_EQ(remove.name, "RetikonX");
  auto open = compiled<platform::OpenLocation>("property target_URL : \"https://example.org/?a=1\"\n open location target_URL");
  EXPECT_EQ(open.location, "https://example.org/?a=1");
  EXPECT_EQ(compiled<platform::QuitApplication>("tell application \"Finder\" to quit").name, "Finder");
  // Keywords in any case, free blanks and line breaks.
  EXPECT_EQ(compiled<platform::QuitApplication>("\r\n  Tell Application \"X\"  TO quit\n\n").name, "X");
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
    EXPECT_FALSE(compiles(source)) << source;
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
  ScriptRunnerTest()
      : config("XDG_CONFIG_HOME", (folder.path() / "config").string()),
        path("PATH", (folder.path() / "bin").string() + ":/usr/bin:/bin") {}

  std::filesystem::path autostart() const { return folder.path() / "config" / "autostart"; }
  std::string addScript(const std::string& bundle) {
    return "tell application \"System Events\"\n make new login item at end with properties {path:" +
           platform::scriptStringLiteral(bundle) + ", hidden:false} \n end tell";
  }

  TempFolder folder;
  ScopedEnvironment config, path;
  platform::ProcessWorkspace workspace;
  platform::LoginItems loginItems;
  platform::AppleScriptRunner runner{workspace, loginItems};
};

TEST_F(ScriptRunnerTest, LoginItemsAreOneAutostartEntryPerName) {
  auto bundle = makeBundle(folder.path(), "RetikonX", "#!/bin/sh\n");
  EXPECT_EQ(runner.execute(addScript(bundle.string())), std::nullopt);
  EXPECT_EQ(runner.execute(addScript(bundle.string())), std::nullopt);
  ASSERT_EQ(std::distance(std::filesystem::directory_iterator(autostart()), {}), 1);
  EXPECT_EQ(readText(autostart() / "RetikonX.desktop"),
            "[Desktop Entry]\nType=Application\nName=RetikonX\nExec=\"" + bundle.string() +
                "/Contents/MacOS/RetikonX\"\n");

  EXPECT_EQ(runner.execute("tell application \"System Events\"\n delete login item \"RetikonX\"\n end tell"),
            std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(autostart() / "RetikonX.desktop"));
  EXPECT_NE(runner.execute("tell application \"System Events\"\n delete login item \"RetikonX\"\n end tell"),
            std::nullopt)
      << "no such item";
  EXPECT_NE(runner.execute("tell application \"System Events\"\n delete login item \"../config\"\n end tell"),
            std::nullopt);
  EXPECT_NE(runner.execute("tell application \"Finder\"\n delete login item \"RetikonX\"\n end tell"), std::nullopt);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "config"));
}

TEST_F(ScriptRunnerTest, AHostilePathIsOnlyThePathOfItsLoginItem) {
  const std::string odd = (folder.path() / "we\"ird $(touch x) \\ %u`.app").string();
  ASSERT_EQ(runner.execute(addScript(odd)), std::nullopt);
  auto entries = std::distance(std::filesystem::directory_iterator(autostart()), {});
  EXPECT_EQ(entries, 1);
  // Quoted by the Desktop Entry rules, then escaped as a string value.
  const std::string name = "we\\\\\"ird \\\\$(touch x) \\\\\\\\ %%u\\\\`";
  const std::string entry = readText(autostart() / "we\"ird $(touch x) \\ %u`.desktop");
  EXPECT_NE(entry.find("\nExec=\"" + folder.path().string() + "/" + name + ".app/Contents/MacOS/" + name + "\"\n"),
            std::string::npos)
      << entry;
}

TEST_F(ScriptRunnerTest, OpenLocationHandsExactlyTheAddressToTheOpener) {
  auto record = folder.path() / "opened";
  writeExecutable(folder.path() / "bin" / "xdg-open",
                  "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\" >> '" + record.string() + "'; done\n");
  auto marker = folder.path() / "pwned";
  const std::string title = "\"\n do shell script \"touch " + marker.string();
  ASSERT_EQ(runner.execute("property target_URL : " + platform::scriptStringLiteral(title) +
                           "\n open location target_URL"),
            std::nullopt);
  ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(record); }));
  ASSERT_TRUE(waitFor([&] { return readText(record).ends_with("]\n"); }));
  EXPECT_EQ(readText(record), "[" + title + "]\n");
  EXPECT_FALSE(std::filesystem::exists(marker));

  // The same title inserted without escaping is no script at all.
  EXPECT_NE(runner.execute("property target_URL : \"" + title + "\"\n open location target_URL"), std::nullopt);
  EXPECT_NE(runner.execute("property u : \"--help\"\n open location u"), std::nullopt);
  std::filesystem::remove(folder.path() / "bin" / "xdg-open");
  EXPECT_NE(runner.execute("property u : \"https://example.org\"\n open location u"), std::nullopt);
}

TEST_F(ScriptRunnerTest, QuitEndsEveryProcessOfThatNameOnly) {
  auto bundle = makeBundle(folder.path(), "Quit Probe", "");
  std::filesystem::copy_file(IDLE_PROGRAM, bundle / "Contents/MacOS/Quit Probe",
                             std::filesystem::copy_options::overwrite_existing);
  auto other = makeBundle(folder.path(), "Other Probe", "");
  std::filesystem::copy_file(IDLE_PROGRAM, other / "Contents/MacOS/Other Probe",
                             std::filesystem::copy_options::overwrite_existing);
  ASSERT_TRUE(workspace.launchApplication(bundle.string()));
  ASSERT_TRUE(workspace.launchApplication(other.string()));
  auto count = [&](const std::string& name) {
    int n = 0;
    for (auto& application : workspace.launchedApplications()) n += application["NSApplicationName"] == name;
    return n;
  };
  ASSERT_TRUE(waitFor([&] { return count("Quit Probe") == 1 && count("Other Probe") == 1; }));
  EXPECT_EQ(runner.execute("tell application \"Quit Probe\" to quit"), std::nullopt);
  EXPECT_TRUE(waitFor([&] { return count("Quit Probe") == 0; }));
  EXPECT_EQ(count("Other Probe"), 1);
  EXPECT_EQ(runner.execute("tell application \"Other Probe\" to quit"), std::nullopt);
  EXPECT_TRUE(waitFor([&] { return count("Other Probe") == 0; }));
}

TEST(LoginItems, TheAutostartFolderFollowsXdgConfigHome) {
  ScopedEnvironment home("HOME", "/home/someone");
  {
    ScopedEnvironment config("XDG_CONFIG_HOME", "/elsewhere");
    EXPECT_EQ(platform::LoginItems::autostartFolder(), "/elsewhere/autostart");
  }
  {
    ScopedEnvironment config("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(platform::LoginItems::autostartFolder(), "/home/someone/.config/autostart");
  }
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(platform::LoginItems::autostartFolder(), "/home/someone/.config/autostart");
  EXPECT_EQ(platform::LoginItems::entryPath("a/b"), std::nullopt);
  EXPECT_EQ(platform::LoginItems::entryPath(".."), std::nullopt);
  EXPECT_EQ(platform::LoginItems::entryPath(""), std::nullopt);
}

TEST(LoginItems, ExecArgumentsAreQuotedThenEscaped) {
  EXPECT_EQ(platform::desktopEntryExecArgument("/a b/c"), "\"/a b/c\"");
  EXPECT_EQ(platform::desktopEntryExecArgument("q\"d$b`s\\"), "\"q\\\\\"d\\\\$b\\\\`s\\\\\\\\\"");
  EXPECT_EQ(platform::desktopEntryExecArgument("50%"), "\"50%%\"");
  EXPECT_EQ(platform::desktopEntryExecArgument("line\nbreak"), "\"line\\nbreak\"");
}

}  // namespace
}  // namespace process_test
