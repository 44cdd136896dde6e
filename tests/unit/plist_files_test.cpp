#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "platform/foundation/atomic_file.h"
#include "platform/foundation/colour.h"
#include "platform/plist/plist_dictionary.h"
#include "platform/plist/preference_file.h"
#include "test_home.h"

using platform::PlistDictionary;
using unit::fs::perms;

namespace {

std::string xmlPlist(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + body + "</dict></plist>\n";
}

long filesIn(const unit::fs::path& folder) { return std::distance(unit::fs::directory_iterator(folder), {}); }

TEST(PlistDictionary, ReadsEveryKindAndAnswersReadingsPerKind) {
  auto file = PlistDictionary::parse(xmlPlist(
      "<key>text</key><string> 12 apples</string><key>int</key><integer>-7</integer>"
      "<key>real</key><real>2.75</real><key>yes</key><true/><key>blob</key><data>AAEC</data>"
      "<key>when</key><date>2020-01-01T00:00:00Z</date><key>list</key><array/>"));
  ASSERT_TRUE(file);
  const std::pair<const char*, int32_t> ints[] = {{"text", 12}, {"int", -7}, {"real", 2},
                                                  {"yes", 1},   {"blob", 0}, {"missing", 0}};
  for (auto [key, value] : ints) EXPECT_EQ(file->intValue(key), value) << key;
  const std::pair<const char*, std::optional<bool>> bools[] = {
      {"missing", false}, {"yes", true}, {"int", true}, {"when", std::nullopt}, {"blob", std::nullopt}};
  for (auto [key, value] : bools) EXPECT_EQ(file->boolValue(key), value) << key;
  EXPECT_FLOAT_EQ(file->floatValue("real"), 2.75f);
  EXPECT_EQ(file->kind("when"), platform::PlistKind::Date);
  EXPECT_EQ(*file->data("blob"), (std::vector<uint8_t>{0, 1, 2}));
  EXPECT_FALSE(file->string("int"));
}

TEST(PlistDictionary, RejectsWhatIsNoDictionary) {
  for (const std::string& text : {std::string(), std::string("hello"),
                                  std::string("<?xml version=\"1.0\"?><plist><array/></plist>"),
                                  xmlPlist("<key>a</key>").substr(0, 40)})
    EXPECT_FALSE(PlistDictionary::parse(text)) << text;
  EXPECT_FALSE(PlistDictionary::readFile("/nonexistent/file.plist"));
  EXPECT_FALSE(PlistDictionary::readFile("/"));
}

TEST(PlistDictionary, RoundTripsThroughXml) {
  PlistDictionary original;
  original.setString("s", "täxt <&>");
  original.setInteger("n", -5);
  original.setReal("r", 1.7000000476837158);
  original.setBoolean("b", false);
  const std::vector<uint8_t> bytes{0, 255, 10};
  original.setData("d", bytes);
  auto again = PlistDictionary::parse(original.toXml());
  ASSERT_TRUE(again);
  EXPECT_EQ(again->string("s"), "täxt <&>");
  EXPECT_EQ(again->integer("n"), -5);
  EXPECT_EQ(again->real("r"), 1.7000000476837158);
  EXPECT_EQ(again->boolean("b"), false);
  EXPECT_EQ(again->data("d"), bytes);
  EXPECT_EQ(again->keys().size(), 5u);
}

TEST(AtomicFile, ReplacesWholeKeepsModeFollowsLinksAndLeavesNoTemporary) {
  unit::TempHome home;
  const auto folder = home.preferences(), target = folder / "real.plist";
  unit::writeText(target, "old");
  chmod(target.c_str(), 0600);
  unit::fs::create_symlink("real.plist", folder / "link.plist");

  EXPECT_TRUE(platform::writeFileAtomically((folder / "link.plist").string(), "new content"));
  EXPECT_TRUE(unit::fs::is_symlink(folder / "link.plist"));
  EXPECT_EQ(*platform::readWholeFile(target.string()), "new content");
  EXPECT_EQ(unit::fs::status(target).permissions() & perms::all, perms::owner_read | perms::owner_write);
  EXPECT_EQ(filesIn(folder), 2);
}

TEST(AtomicFile, FailuresAreReportedAndLeaveNothingBehind) {
  unit::TempHome home;
  const auto folder = home.preferences();
  EXPECT_FALSE(platform::writeFileAtomically((folder / "missing" / "x.plist").string(), "data"));
  // A folder in the way of the rename: the temporary must not stay.
  unit::fs::create_directories(folder / "busy.plist" / "inside");
  auto written = platform::writeFileAtomically((folder / "busy.plist").string(), "data");
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().find("cannot replace"), std::string::npos);
  EXPECT_TRUE(unit::fs::is_directory(folder / "busy.plist" / "inside"));
  EXPECT_EQ(filesIn(folder), 1);
}

TEST(PreferenceFile, ConcurrentWritersKeepEachOthersKeysAndTextsStayWellFormed) {
  unit::TempHome home;
  const std::string path = home.preference("shared.plist");
  constexpr int kWriters = 4, kSaves = 40;
  std::vector<pid_t> writers;
  for (int w = 0; w < kWriters; ++w) {
    pid_t pid = fork();
    if (pid == 0) {
      for (int i = 0; i < kSaves; ++i) {
        auto saved = platform::updatePreferenceFile(path, [&](PlistDictionary& file) {
          file.setInteger("writer" + std::to_string(w) + "." + std::to_string(i), i);
        });
        if (!saved) _exit(1);
      }
      _exit(0);
    }
    writers.push_back(pid);
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

TEST(ColourArchive, SixteenBigEndianFloatsAndStrictReading) {
  auto bytes = platform::archiveColour({1.0f, 0.5f, 0.0f, 0.25f});
  EXPECT_EQ((std::vector<uint8_t>{bytes[0], bytes[1], bytes[4], bytes[5]}), (std::vector<uint8_t>{0x3F, 0x80, 0x3F, 0x00}));
  auto colour = platform::unarchiveColour(bytes);
  ASSERT_TRUE(colour);
  EXPECT_EQ(*colour, (platform::Colour{1.0f, 0.5f, 0.0f, 0.25f}));

  std::vector<uint8_t> longer(bytes.begin(), bytes.end());
  longer.push_back(0);
  EXPECT_FALSE(platform::unarchiveColour(longer));
  EXPECT_FALSE(platform::unarchiveColour(std::span(bytes).first(15)));
  auto notFinite = bytes;
  notFinite[8] = 0x7F, notFinite[9] = 0xC0;  // NaN blue
  EXPECT_FALSE(platform::unarchiveColour(notFinite));
}

TEST(ColourObjects, NamedColoursAreNewObjectsAndCopiesAreTheSame) {
  auto first = platform::greenColor(), second = platform::greenColor();
  EXPECT_NE(first, second);
  EXPECT_EQ(*first, *second);
  EXPECT_EQ(platform::copy(first), first);
  EXPECT_EQ(*platform::clearColor(), (platform::Colour{0, 0, 0, 0}));
}

}  // namespace
