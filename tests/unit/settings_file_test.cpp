#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cmath>

#include "platform/bus/notification_center.h"
#include "platform/plist/plist_dictionary.h"
#include "settings/settings_record.h"
#include "test_home.h"

using platform::Colour;
using platform::PlistDictionary;
using settings::Reader;
using settings::SettingsRecord;

namespace {

const Colour kGreen{0, 1, 0, 1}, kRed{1, 0, 0, 1};

class SettingsFile : public ::testing::Test {
 protected:
  std::string path() const { return settings::settingsFilePath(); }
  void store(const PlistDictionary& file) { ASSERT_TRUE(file.writeFile(path())); }
  void storeTexts(std::initializer_list<std::pair<const char*, const char*>> values) {
    PlistDictionary file;
    for (auto& [key, value] : values) file.setString(key, value);
    store(file);
  }
  SettingsRecord load(Reader reader) {
    // Other values first: every load must replace every variable.
    SettingsRecord record{platform::makeColour(0.1f, 0.2f, 0.3f, 0.4f), 70, 7, 1, 1, 1, 1, 9};
    settings::loadPref(record, path(), reader);
    return record;
  }

  unit::TempHome home;
};

TEST_F(SettingsFile, MissingOrBrokenFileGivesDefaultsPerReader) {
  EXPECT_EQ(path(), home.preference("com.Halvix.RetikonX.plist"));
  for (const char* content : {"", "not a plist", "<?xml version=\"1.0\"?><plist><array/></plist>"}) {
    if (*content) unit::writeText(path(), content);
    SettingsRecord page = load(Reader::SettingsPage);
    ASSERT_TRUE(page.s_WinColor);
    EXPECT_EQ(*page.s_WinColor, kGreen);
    EXPECT_EQ(page.s_WinWidth, 5);
    EXPECT_EQ(page.s_key, 0x1100u);
    EXPECT_EQ(page.s_Retikon + page.s_Disp + page.s_Locate + page.s_shadow + page.s_distance, 0) << content;
    EXPECT_EQ(load(Reader::Overlay).s_key, 0u);
  }
}

TEST_F(SettingsFile, ColourNamesAreExactAndTheArchiveWinsUnlessUnreadable) {
  const std::pair<const char*, Colour> names[] = {{"black", {0, 0, 0, 1}}, {"white", {1, 1, 1, 1}},
                                                  {"yellow", {1, 1, 0, 1}}, {"red", kRed}, {"blue", {0, 0, 1, 1}},
                                                  {"Red", kGreen}, {"purple", kGreen}, {"", kGreen}};
  for (auto& [name, colour] : names) {
    storeTexts({{"WinColor", name}});
    EXPECT_EQ(*load(Reader::SettingsPage).s_WinColor, colour) << name;
  }

  PlistDictionary file;
  file.setString("WinColor", "red");
  file.setData("WinColor2", platform::archiveColour({0.2f, 0.4f, 0.8f, 0.5f}));
  store(file);
  EXPECT_EQ(*load(Reader::Overlay).s_WinColor, (Colour{0.2f, 0.4f, 0.8f, 0.5f}));
  for (size_t length : {0, 15, 17, 64}) {
    file.setData("WinColor2", std::vector<uint8_t>(length, 0x3F));
    store(file);
    EXPECT_EQ(*load(Reader::Overlay).s_WinColor, kRed) << length;
  }
  file.setString("WinColor2", "not data");
  store(file);
  EXPECT_EQ(*load(Reader::Overlay).s_WinColor, kRed);
}

TEST_F(SettingsFile, WidthIsTakenUnclampedExceptZero) {
  const std::pair<const char*, int32_t> cases[] = {{"0", 5},   {"-3", -3}, {"250", 250},
                                                   {"abc", 5}, {"7.9", 7}, {"99999999999", 2147483647}};
  for (auto& [text, width] : cases) {
    storeTexts({{"WinWidth", text}});
    EXPECT_EQ(load(Reader::SettingsPage).s_WinWidth, width) << text;
  }
}

TEST_F(SettingsFile, MaskReadingDiffersBetweenPageAndOverlay) {
  const struct {
    const char* text;
    uint32_t page, overlay;
  } cases[] = {{"4352.9", 0x1100, 0x1100}, {"0.5", 0x1100, 0},          {"-1", 0x1100, 0},
               {"ctrl", 0x1100, 0},        {"36872", 0x9008, 0x1000},   {"37128", 0x9108, 0x1100},
               {"1e10", 0xFFFFFFFF, 0xFFFF7FF7}, {"4294967295", 0xFFFFFFFF, 0xFFFF7FF7}};
  for (auto& c : cases) {
    storeTexts({{"keys", c.text}});
    EXPECT_EQ(load(Reader::SettingsPage).s_key, c.page) << c.text;
    EXPECT_EQ(load(Reader::Overlay).s_key, c.overlay) << c.text;
  }
  EXPECT_EQ(settings::maskFromFloat(NAN), 0u);
  EXPECT_EQ(settings::maskFromFloat(-INFINITY), 0u);
  EXPECT_EQ(settings::maskFromFloat(INFINITY), 0xFFFFFFFFu);
  EXPECT_EQ(settings::maskFromFloat(4294967296.0f), 0xFFFFFFFFu);
  EXPECT_EQ(settings::maskFromFloat(4294967040.0f), 4294967040u);  // largest float below 2^32
}

TEST_F(SettingsFile, NumbersReadLikeTexts) {
  PlistDictionary file;
  file.setInteger("WinWidth", 12);
  file.setReal("keys", 4352.0);
  for (const char* key : {"retikon", "DispKind", "shadow"}) file.setInteger(key, 1);
  file.setBoolean("Locate", true);
  file.setInteger("distance", -20);
  store(file);
  SettingsRecord record = load(Reader::Overlay);
  EXPECT_EQ(record.s_WinWidth, 12);
  EXPECT_EQ(record.s_key, 0x1100u);
  EXPECT_EQ(record.s_Retikon + record.s_Disp + record.s_Locate + record.s_shadow, 4);
  EXPECT_EQ(record.s_distance, -20);
}

TEST_F(SettingsFile, SaveWritesTheEightKeysAsTextsAndKeepsOthers) {
  PlistDictionary before;
  before.setString("WinColor", "red");
  before.setString("handAdded", "keep me");
  before.setInteger("WinWidth", 99);
  store(before);
  SettingsRecord record = load(Reader::SettingsPage);
  record.s_distance = -3;
  ASSERT_TRUE(settings::writePref(record, path()));

  auto after = PlistDictionary::readFile(path());
  ASSERT_TRUE(after);
  const std::pair<const char*, const char*> texts[] = {
      {"WinColor", "red"}, {"handAdded", "keep me"}, {"WinWidth", "99"}, {"keys", "4352"}, {"retikon", "0"},
      {"DispKind", "0"},   {"Locate", "0"},          {"shadow", "0"},    {"distance", "-3"}};
  for (auto& [key, text] : texts) EXPECT_EQ(after->string(key), text) << key;
  EXPECT_EQ(after->data("WinColor2")->size(), 16u);
  EXPECT_EQ(after->keys().size(), 10u);
  EXPECT_EQ(*load(Reader::Overlay).s_WinColor, kRed);
}

TEST_F(SettingsFile, FirstSaveFromNothingWritesNoColourName) {
  ASSERT_TRUE(settings::writePref(load(Reader::SettingsPage), path()));
  struct stat folder;
  ASSERT_EQ(stat(home.preferences().c_str(), &folder), 0) << "a fresh account has no preferences folder";
  EXPECT_EQ(folder.st_mode & 0777, 0700u);
  auto after = PlistDictionary::readFile(path());
  ASSERT_TRUE(after);
  EXPECT_FALSE(after->contains("WinColor"));
  EXPECT_EQ(after->string("WinWidth"), "5");
  EXPECT_EQ(after->keys().size(), 8u);
}

TEST_F(SettingsFile, SaveOnAFullDiskKeepsTheOldFileAndStillNotifies) {
  std::filesystem::create_directories(home.preferences());
  // A small tmpfs in a private mount namespace stands for a full disk; as an
  // ordinary user a read-only folder does the same job.
  bool fullDisk = geteuid() == 0 && unshare(CLONE_NEWNS) == 0 &&
                  mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                  mount("tmpfs", home.preferences().c_str(), "tmpfs", 0, "size=16k") == 0;
  if (!fullDisk && geteuid() == 0) GTEST_SKIP() << "cannot mount a small file system here";

  storeTexts({{"WinWidth", "42"}, {"handAdded", "keep me"}});
  if (fullDisk) {
    std::ofstream filler(home.preferences() / "filler");
    std::string block(1024, 'x');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
  } else {
    chmod(home.preferences().c_str(), 0500);
  }

  SettingsRecord record = load(Reader::SettingsPage);
  record.s_WinWidth = 7;
  EXPECT_FALSE(settings::writePref(record, path()));
  auto center = platform::DistributedNotificationCenter::defaultCenter();
  EXPECT_FALSE(settings::savePref(record, path(), *center));  // posts all the same, never throws
  EXPECT_EQ(record.s_WinWidth, 7);

  auto kept = PlistDictionary::readFile(path());
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->string("WinWidth"), "42");
  EXPECT_EQ(kept->string("handAdded"), "keep me");
  const auto entries = std::distance(std::filesystem::directory_iterator(home.preferences()), {});
  EXPECT_EQ(entries, fullDisk ? 2 : 1);  // no temporary left behind

  if (fullDisk) umount2(home.preferences().c_str(), MNT_DETACH);
  chmod(home.preferences().c_str(), 0700);
}

}  // namespace
