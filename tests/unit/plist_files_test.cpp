// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>

#include "platform/foundation/atomic_file.h"
#include "platform/foundation/text.h"
#include "platform/plist/plist_dictionary.h"
#include "platform/plist/preference_file.h"
#include "test_home.h"

using platform::PlistDictionary;
using unit::fs::perms;

namespace {

long filesIn(const unit::fs::path& folder) { return std::distance(unit::fs::directory_iterator(folder), {}); }

TEST(PlistDictionary, ReadsEveryKindAndAnswersReadingsPerKind) {
  auto file = PlistDictionary::parse(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
      "<key>text</key><string> 12 apples</string><key>int</key><integer>-7</integer>"
      "<key>real</key><real>2.75</real><key>yes</key><true/><key>blob</key><data>AAEC</data>"
      "<key>when</key><date>2020-01-01T00:00:00Z</date><key>list</key><array/><key>no</key><string> -000</string>"
      "</dict></plist>\n");
  ASSERT_TRUE(file);
  EXPECT_FALSE(PlistDictionary::readFile("/")) << "a folder is no dictionary";
  const std::pair<const char*, int32_t> ints[] = {{"text", 12}, {"int", -7}, {"real", 2},
                                                  {"yes", 1},   {"blob", 0}, {"missing", 0}};
  for (auto [key, value] : ints) EXPECT_EQ(file->intValue(key), value) << key;
  const std::pair<const char*, std::optional<bool>> bools[] = {
      {"missing", false}, {"yes", true}, {"int", true},       {"text", true},
      {"no", false},      {"when", std::nullopt}, {"blob", std::nullopt}};
  for (auto [key, value] : bools) EXPECT_EQ(file->boolValue(key), value) << key;
  EXPECT_FLOAT_EQ(file->floatValue("real"), 2.75f);
  EXPECT_EQ(*file->data("blob"), (std::vector<uint8_t>{0, 1, 2}));
  EXPECT_FALSE(file->string("int"));
  // Numbers are clamped into 32 bits, truncated toward zero.
  for (auto [number, value] : {std::pair{3.99, 3}, {-3.99, -3}, {NAN, 0}, {1e300, INT32_MAX}, {-INFINITY, INT32_MIN}})
    EXPECT_EQ(platform::intValue(number), value) << number;
}

TEST(AtomicFile, ReplacesWholeKeepsModeFollowsLinksAndLeavesNoTemporaryEvenWhenItFails) {
  unit::TempHome home;
  const auto folder = home.preferences(), target = folder / "real.plist";
  unit::writeText(target, "old");
  chmod(target.c_str(), 0600);
  unit::fs::create_symlink("real.plist", folder / "link.plist");
  EXPECT_TRUE(platform::writeFileAtomically((folder / "link.plist").string(), "new content"));
  EXPECT_TRUE(unit::fs::is_symlink(folder / "link.plist"));
  EXPECT_EQ(*platform::readWholeFile(target.string()), "new content");
  EXPECT_EQ(unit::fs::status(target).permissions() & perms::all, perms::owner_read | perms::owner_write);

  EXPECT_FALSE(platform::writeFileAtomically((folder / "missing" / "x.plist").string(), "data"));
  // A folder in the way of the rename: the temporary must not stay.
  unit::fs::create_directories(folder / "busy.plist" / "inside");
  auto written = platform::writeFileAtomically((folder / "busy.plist").string(), "data");
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().find("cannot replace"), std::string::npos);
  EXPECT_TRUE(unit::fs::is_directory(folder / "busy.plist" / "inside"));
  EXPECT_EQ(filesIn(folder), 3);
}

TEST(PreferenceFile, ConcurrentWritersKeepEachOthersKeysAndTextsStayWellFormed) {
  unit::TempHome home;
  const std::string path = home.preference("shared.plist");
  constexpr int kWriters = 4, kSaves = 40;
  std::vector<pid_t> writers;
  for (int w = 0; w < kWriters; ++w) {
    if (pid_t pid = fork(); pid != 0) {
      writers.push_back(pid);
      continue;
    }
    for (int i = 0; i < kSaves; ++i) {
      const std::string key = "writer" + std::to_string(w) + "." + std::to_string(i);
      if (!platform::updatePreferenceFile(path, [&](PlistDictionary& file) { file.setInteger(key, i); })) _exit(1);
    }
    _exit(0);
  }
  for (pid_t pid : writers) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  auto file = PlistDictionary::readFile(path);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->keys().size(), size_t{kWriters * kSaves}) << "a writer lost another's keys";
  EXPECT_EQ(filesIn(home.preferences()), 1) << "the lock file is removed again";

  for (const char* key : {"tab\tis fine", "bell\a", "bad\xff", "overlong\xc0\xaf", "surrogate\xed\xa0\x80"}) {
    auto saved = platform::updatePreferenceFile(path, [&](PlistDictionary& f) { f.setBoolean(key, true); });
    EXPECT_EQ(saved.ok(), key[0] == 't') << key;
  }
  EXPECT_EQ(PlistDictionary::readFile(path)->keys().size(), size_t{kWriters * kSaves + 1});
}

}  // namespace
