#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/atomic_file.h"
#include "platform/foundation/colour.h"
#include "platform/plist/plist_dictionary.h"
#include "temp_home.h"

using platform::PlistDictionary;
using platform::PlistKind;
namespace fs = std::filesystem;

namespace {

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

std::string xmlPlist(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + body + "</dict></plist>\n";
}

size_t filesIn(const fs::path& folder) {
  size_t count = 0;
  for ([[maybe_unused]] auto& entry : fs::directory_iterator(folder)) ++count;
  return count;
}

}  // namespace

TEST(PlistDictionary, ReadsEveryKindAndAnswersReadingsPerKind) {
  auto file = PlistDictionary::parse(xmlPlist(
      "<key>text</key><string> 12 apples</string><key>int</key><integer>-7</integer>"
      "<key>real</key><real>2.75</real><key>yes</key><true/><key>blob</key><data>AAEC</data>"
      "<key>when</key><date>2020-01-01T00:00:00Z</date><key>list</key><array/>"));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->intValue("text"), 12);
  EXPECT_EQ(file->intValue("int"), -7);
  EXPECT_EQ(file->intValue("real"), 2);
  EXPECT_EQ(file->intValue("yes"), 1);
  EXPECT_EQ(file->intValue("blob"), 0);
  EXPECT_EQ(file->intValue("missing"), 0);
  EXPECT_FLOAT_EQ(file->floatValue("real"), 2.75f);
  EXPECT_EQ(file->boolValue("missing"), false);
  EXPECT_EQ(file->boolValue("yes"), true);
  EXPECT_EQ(file->boolValue("int"), true);
  EXPECT_EQ(file->boolValue("when"), std::nullopt);
  EXPECT_EQ(file->boolValue("blob"), std::nullopt);
  EXPECT_EQ(file->kind("when"), PlistKind::Date);
  EXPECT_EQ(*file->data("blob"), (std::vector<uint8_t>{0, 1, 2}));
  EXPECT_FALSE(file->string("int"));
}

TEST(PlistDictionary, RejectsWhatIsNoDictionary) {
  EXPECT_FALSE(PlistDictionary::parse(""));
  EXPECT_FALSE(PlistDictionary::parse("hello"));
  EXPECT_FALSE(PlistDictionary::parse("<?xml version=\"1.0\"?><plist><array/></plist>"));
  EXPECT_FALSE(PlistDictionary::parse(xmlPlist("<key>a</key>").substr(0, 40)));
  EXPECT_FALSE(PlistDictionary::readFile("/nonexistent/file.plist"));
  EXPECT_FALSE(PlistDictionary::readFile("/"));
}

TEST(PlistDictionary, RoundTripsThroughXmlAndBinaryKeepingUnknownKinds) {
  PlistDictionary original;
  original.setString("s", "täxt <&>");
  original.setInteger("n", -5);
  original.setReal("r", 1.7000000476837158);
  original.setBoolean("b", false);
  std::vector<uint8_t> bytes{0, 255, 10};
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
  TempHome home;
  fs::path folder = home.preferences();
  fs::path target = folder / "real.plist";
  writeText(target, "old");
  chmod(target.c_str(), 0600);
  fs::create_symlink("real.plist", folder / "link.plist");

  EXPECT_FALSE(platform::writeFileAtomically((folder / "link.plist").string(), "new content"));
  EXPECT_TRUE(fs::is_symlink(folder / "link.plist"));
  EXPECT_EQ(*platform::readWholeFile(target.string()), "new content");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(filesIn(folder), 2u);
}

TEST(AtomicFile, FailuresAreReportedAndLeaveNothingBehind) {
  TempHome home;
  fs::path folder = home.preferences();
  EXPECT_TRUE(platform::writeFileAtomically((folder / "missing" / "x.plist").string(), "data"));
  // A folder in the way of the rename: the temporary must not stay.
  fs::create_directories(folder / "busy.plist" / "inside");
  auto failure = platform::writeFileAtomically((folder / "busy.plist").string(), "data");
  ASSERT_TRUE(failure);
  EXPECT_NE(failure->find("cannot replace"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(folder / "busy.plist" / "inside"));
  EXPECT_EQ(filesIn(folder), 1u);
}

TEST(ColourArchive, SixteenBigEndianFloatsAndStrictReading) {
  auto bytes = platform::archiveColour({1.0f, 0.5f, 0.0f, 0.25f});
  EXPECT_EQ(bytes[0], 0x3F);
  EXPECT_EQ(bytes[1], 0x80);
  EXPECT_EQ(bytes[4], 0x3F);
  EXPECT_EQ(bytes[5], 0x00);
  auto colour = platform::unarchiveColour(bytes);
  ASSERT_TRUE(colour);
  EXPECT_EQ(*colour, (platform::Colour{1.0f, 0.5f, 0.0f, 0.25f}));

  std::vector<uint8_t> shorter(bytes.begin(), bytes.end() - 1);
  EXPECT_FALSE(platform::unarchiveColour(shorter));
  std::vector<uint8_t> longer(bytes.begin(), bytes.end());
  longer.push_back(0);
  EXPECT_FALSE(platform::unarchiveColour(longer));
  auto notFinite = bytes;
  notFinite[8] = 0x7F, notFinite[9] = 0xC0;  // NaN blue
  EXPECT_FALSE(platform::unarchiveColour(notFinite));
}

TEST(ColourObjects, NamedColoursAreNewObjectsAndCopiesAreTheSame) {
  auto first = platform::greenColor();
  auto second = platform::greenColor();
  EXPECT_NE(first, second);
  EXPECT_EQ(*first, *second);
  EXPECT_EQ(platform::copy(first), first);
  EXPECT_EQ(*platform::clearColor(), (platform::Colour{0, 0, 0, 0}));
}
