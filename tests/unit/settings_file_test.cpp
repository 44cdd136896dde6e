#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <fstream>

#include "platform/bus/notification_center.h"
#include "platform/foundation/colour.h"
#include "platform/plist/plist_dictionary.h"
#include "settings/settings_record.h"
#include "temp_home.h"

using platform::PlistDictionary;
using settings::Reader;
using settings::SettingsRecord;

namespace {

class SettingsFile : public ::testing::Test {
 protected:
  std::string path() const { return settings::settingsFilePath(); }

  void store(const PlistDictionary& file) { ASSERT_FALSE(file.writeFile(path())); }

  void storeTexts(std::initializer_list<std::pair<const char*, const char*>> values) {
    PlistDictionary file;
    for (auto& [key, value] : values) file.setString(key, value);
    store(file);
  }

  SettingsRecord load(Reader reader) {
    SettingsRecord record;
    settings::loadPref(record, path(), reader);
    return record;
  }

  TempHome home;
};

}  // namespace

TEST_F(SettingsFile, PathIsUnderTheCurrentHome) {
  EXPECT_EQ(path(), (home.path() / "Library/Preferences/com.Halvix.RetikonX.plist").string());
}

TEST_F(SettingsFile, MissingOrBrokenFileGivesDefaultsPerReader) {
  for (const char* content : {"", "not a plist", "<?xml version=\"1.0\"?><plist><array/></plist>"}) {
    if (*content) std::ofstream(path()) << content;
    SettingsRecord page = load(Reader::SettingsPage);
    ASSERT_TRUE(page.s_WinColor);
    EXPECT_EQ(*page.s_WinColor, (platform::Colour{0, 1, 0, 1}));
    EXPECT_EQ(page.s_WinWidth, 5);
    EXPECT_EQ(page.s_key, 0x1100u);
    EXPECT_EQ(page.s_Retikon, 0);
    EXPECT_EQ(page.s_Disp, 0);
    EXPECT_EQ(page.s_distance, 0);
    EXPECT_EQ(load(Reader::Overlay).s_key, 0u);
  }
}

TEST_F(SettingsFile, EveryLoadReplacesEveryVariable) {
  SettingsRecord record;
  record.s_Retikon = 1;
  record.s_distance = 9;
  record.s_WinWidth = 70;
  settings::loadPref(record, path(), Reader::Overlay);
  EXPECT_EQ(record.s_Retikon, 0);
  EXPECT_EQ(record.s_distance, 0);
  EXPECT_EQ(record.s_WinWidth, 5);
}

TEST_F(SettingsFile, ColourNamesAreExactAndTheArchiveWinsUnlessUnreadable) {
  struct Case {
    const char* name;
    platform::Colour expected;
  } cases[] = {{"black", {0, 0, 0, 1}}, {"white", {1, 1, 1, 1}}, {"yellow", {1, 1, 0, 1}}, {"red", {1, 0, 0, 1}},
               {"blue", {0, 0, 1, 1}},  {"Red", {0, 1, 0, 1}},   {"purple", {0, 1, 0, 1}}, {"", {0, 1, 0, 1}}};
  for (auto& c : cases) {
    storeTexts({{"WinColor", c.name}});
    EXPECT_EQ(*load(Reader::SettingsPage).s_WinColor, c.expected) << c.name;
  }

  PlistDictionary file;
  file.setString("WinColor", "red");
  auto blueish = platform::archiveColour({0.2f, 0.4f, 0.8f, 0.5f});
  file.setData("WinColor2", blueish);
  store(file);
  EXPECT_EQ(*load(Reader::Overlay).s_WinColor, (platform::Colour{0.2f, 0.4f, 0.8f, 0.5f}));

  for (size_t length : {0, 15, 17, 64}) {
    std::vector<uint8_t> wrong(length, 0x3F);
    file.setData("WinColor2", wrong);
    store(file);
    EXPECT_EQ(*load(Reader::Overlay).s_WinColor, (platform::Colour{1, 0, 0, 1})) << length;
  }
  file.setString("WinColor2", "not data");
  store(file);
  EXPECT_EQ(*load(Reader::Overlay).s_WinColor, (platform::Colour{1, 0, 0, 1}));
}

TEST_F(SettingsFile, WidthIsTakenUnclampedExceptZero) {
  std::pair<const char*, int32_t> cases[] = {{"0", 5},     {"-3", -3}, {"250", 250}, {"abc", 5},
                                             {"7.9", 7},   {"99999999999", 2147483647}};
  for (auto& [text, width] : cases) {
    storeTexts({{"WinWidth", text}});
    EXPECT_EQ(load(Reader::SettingsPage).s_WinWidth, width) << text;
  }
}

TEST_F(SettingsFile, MaskReadingDiffersBetweenPageAndOverlay) {
  struct Case {
    const char* text;
    uint32_t page, overlay;
  } cases[] = {{"4352.9", 0x1100, 0x1100}, {"0.5", 0x1100, 0}, {"-1", 0x1100, 0},           {"ctrl", 0x1100, 0},
               {"36872", 0x9008, 0x1000},  {"37128", 0x9108, 0x1100}, {"1e10", 0xFFFFFFFF, 0xFFFF7FF7},
               {"4294967295", 0xFFFFFFFF, 0xFFFF7FF7}};
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
  file.setInteger("retikon", 1);
  file.setInteger("DispKind", 1);
  file.setBoolean("Locate", true);
  file.setInteger("shadow", 1);
  file.setInteger("distance", -20);
  store(file);
  SettingsRecord record = load(Reader::Overlay);
  EXPECT_EQ(record.s_WinWidth, 12);
  EXPECT_EQ(record.s_key, 0x1100u);
  EXPECT_EQ(record.s_Retikon, 1);
  EXPECT_EQ(record.s_Disp, 1);
  EXPECT_EQ(record.s_Locate, 1);
  EXPECT_EQ(record.s_shadow, 1);
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
  ASSERT_FALSE(settings::writePref(record, path()));

  auto after = PlistDictionary::readFile(path());
  ASSERT_TRUE(after);
  EXPECT_EQ(after->string("WinColor"), "red");
  EXPECT_EQ(after->string("handAdded"), "keep me");
  EXPECT_EQ(after->string("WinWidth"), "99");
  EXPECT_EQ(after->string("keys"), "4352");
  EXPECT_EQ(after->string("retikon"), "0");
  EXPECT_EQ(after->string("DispKind"), "0");
  EXPECT_EQ(after->string("Locate"), "0");
  EXPECT_EQ(after->string("shadow"), "0");
  EXPECT_EQ(after->string("distance"), "-3");
  EXPECT_EQ(after->data("WinColor2")->size(), 16u);
  EXPECT_EQ(after->keys().size(), 10u);
  EXPECT_EQ(*load(Reader::Overlay).s_WinColor, (platform::Colour{1, 0, 0, 1}));
}

TEST_F(SettingsFile, FirstSaveFromNothingWritesNoColourName) {
  SettingsRecord record = load(Reader::SettingsPage);
  ASSERT_FALSE(settings::writePref(record, path()));
  auto after = PlistDictionary::readFile(path());
  ASSERT_TRUE(after);
  EXPECT_FALSE(after->contains("WinColor"));
  EXPECT_EQ(after->string("WinWidth"), "5");
  EXPECT_EQ(after->keys().size(), 8u);
}

TEST_F(SettingsFile, SaveOnAFullDiskKeepsTheOldFileAndStillNotifies) {
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
  EXPECT_TRUE(settings::writePref(record, path()));
  auto center = platform::DistributedNotificationCenter::defaultCenter();
  settings::savePref(record, path(), *center);  // says so on stderr, posts, never throws
  EXPECT_EQ(record.s_WinWidth, 7);

  auto kept = PlistDictionary::readFile(path());
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->string("WinWidth"), "42");
  EXPECT_EQ(kept->string("handAdded"), "keep me");
  size_t entries = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(home.preferences())) ++entries;
  EXPECT_EQ(entries, fullDisk ? 2u : 1u);  // no temporary left behind

  if (fullDisk) umount2(home.preferences().c_str(), MNT_DETACH);
  chmod(home.preferences().c_str(), 0700);
}
