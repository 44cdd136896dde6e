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

std::string nested(int depth, std::string_view open, std::string_view close) {
  std::string xml = "<plist><dict><key>d</key>";
  for (int i = 0; i < depth; ++i) xml += open;
  for (int i = 0; i < depth; ++i) xml += close;
  return xml + "</dict></plist>";
}

// A binary file whose root is {"k": first array}, each array holding
// `fan` references to the next, `depth` of them, the last holding true.
std::string sharedChildren(int depth, int fan) {
  std::vector<std::string> objects = {"\xD1\x01\x02", "\x51k"};
  for (int i = 0; i < depth; ++i)
    objects.push_back(std::string(1, static_cast<char>(0xA0 | fan)) + std::string(fan, static_cast<char>(3 + i)));
  objects.push_back("\x09");
  std::string file = "bplist00", table;
  for (const auto& object : objects) {
    table += {static_cast<char>(file.size() >> 8), static_cast<char>(file.size() & 0xFF)};
    file += object;
  }
  const size_t tableAt = file.size();
  file += table + std::string(6, '\0') + "\x02\x01";
  for (uint64_t field : {uint64_t{objects.size()}, uint64_t{0}, uint64_t{tableAt}})
    for (int shift = 56; shift >= 0; shift -= 8) file += static_cast<char>(field >> shift & 0xFF);
  return file;
}

std::string refusal(std::string_view bytes) {
  auto read = PlistDictionary::parseChecked(bytes);
  return read ? "" : read.error();
}

TEST(PlistReader, BothFormsReadAlikeAndNoFileGetsPastTheLimits) {
  for (const char* name : {"kinds", "full", "global"}) {
    auto xml = PlistDictionary::readFile(std::string(PLIST_CORPUS) + "/" + name + ".xml");
    auto binary = PlistDictionary::readFile(std::string(PLIST_CORPUS) + "/" + name + ".bin");
    ASSERT_TRUE(xml && binary) << name;
    EXPECT_EQ(xml->toXml(), binary->toXml()) << name;
    EXPECT_EQ(PlistDictionary::parse(xml->toXml())->toXml(), xml->toXml()) << name << ": the writer's XML reads back";
  }
  auto kinds = PlistDictionary::readFile(std::string(PLIST_CORPUS) + "/kinds.bin");
  EXPECT_EQ(kinds->integer("negative"), -12);
  EXPECT_EQ(kinds->string("unicode"), "Grüße, 世界 🎯");

  // The limits at their edges; far beyond them, through every reader: hostile_files_test.py.
  const std::string deep = "nested deeper than 100 levels";
  const std::pair<std::string, std::string> cases[] = {
      {nested(99, "<array>", "</array>"), ""},  // with the root dictionary, 100 levels
      {nested(100, "<array>", "</array>"), deep},
      {"<!DOCTYPE plist [<!ELEMENT plist ANY>]>" + nested(30000, "<array>", "</array>"), deep},
      {"<!DOCTYPE p [<!ENTITY a \"aaaa\">]><plist><dict><key>k</key><string>&a;</string></dict></plist>",
       "declares entities"},
      {sharedChildren(14, 2), ""},  // 2^14 copies of true
      {sharedChildren(1, 1).replace(sharedChildren(1, 1).find("\xA1\x03"), 2, "\xA1\x02"),
       "contains itself"},
      {"<plist><dict><key>a</key></dict></plist>", "not a property list"},
      {"<plist><array/></plist>", "not a property-list dictionary"},
  };
  for (const auto& [bytes, reason] : cases) {
    const std::string refused = refusal(bytes);
    EXPECT_TRUE(reason.empty() ? refused.empty() : refused.find(reason) != std::string::npos)
        << bytes.substr(0, 60) << " gave: " << refused;
  }
}

TEST(PlistWriter, RefusesWhatItsReadersWouldAndLeavesTheFile) {
  unit::TempHome home;
  const std::string path = home.preference("full.plist");
  // Read within the limit, but each shared child written out in full. A file of the largest size that any
  // write would make larger: hostile_files_test.py.
  unit::writeText(path, sharedChildren(15, 2));
  auto saved = platform::updatePreferenceFile(path, [](PlistDictionary& file) { file.setBoolean("retikon", true); });
  ASSERT_FALSE(saved);
  EXPECT_NE(saved.error().find("would be larger than"), std::string::npos) << saved.error();
  EXPECT_EQ(unit::readText(path), sharedChildren(15, 2));
  EXPECT_EQ(filesIn(home.preferences()), 1);
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
