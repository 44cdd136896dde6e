// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <tuple>

#include "platform/bus/notification_center.h"
#include "platform/event/event_loop.h"
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
  // The file as these texts over the values of file.
  void store(std::initializer_list<std::pair<const char*, const char*>> texts, PlistDictionary file = {}) {
    for (auto& [key, value] : texts) file.setString(key, value);
    ASSERT_TRUE(file.writeFile(path()));
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
  for (const char* content : {"", "not a plist", "<?xml version=\"1.0\"?><plist><array/></plist>",
                              "<?xml version=\"1.0\"?><plist><dict><key>WinWidth</key><string>9</string><key>a"}) {
    if (*content) unit::writeText(path(), content);
    SettingsRecord page = load(Reader::SettingsPage);
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
    store({{"WinColor", name}});
    EXPECT_EQ(*load(Reader::SettingsPage).s_WinColor, colour) << name;
  }
  PlistDictionary file;
  file.setData("WinColor2", platform::archiveColour({0.2f, 0.4f, 0.8f, 0.5f}));
  store({{"WinColor", "red"}}, file);
  EXPECT_EQ(*load(Reader::Overlay).s_WinColor, (Colour{0.2f, 0.4f, 0.8f, 0.5f}));
  const auto notFinite = platform::archiveColour({0.2f, NAN, 0.8f, 0.5f});
  for (const auto& archive : {std::vector<uint8_t>(notFinite.begin(), notFinite.end()), std::vector<uint8_t>(),
                              std::vector<uint8_t>(15, 0x3F), std::vector<uint8_t>(17, 0x3F)}) {
    file.setData("WinColor2", archive);
    store({{"WinColor", "red"}}, file);
    EXPECT_EQ(*load(Reader::Overlay).s_WinColor, kRed) << archive.size();
  }
  store({{"WinColor", "red"}, {"WinColor2", "not data"}});
  EXPECT_EQ(*load(Reader::Overlay).s_WinColor, kRed);
}

TEST_F(SettingsFile, WidthIsTakenUnclampedExceptZeroAndTheMaskReadingDiffersBetweenPageAndOverlay) {
  const struct { const char *key, *text; int64_t page, overlay; } cases[] = {
      // Texts give their leading number: white space, sign, digits; widths clamped to 32 bits, fractions dropped.
      {"WinWidth", "0", 5, 5}, {"WinWidth", "-3", -3, -3}, {"WinWidth", " +42abc", 42, 42}, {"WinWidth", "abc", 5, 5},
      {"WinWidth", "-8.9", -8, -8}, {"WinWidth", "99999999999", 2147483647, 2147483647},
      {"WinWidth", "-99999999999", -2147483648, -2147483648}, {"WinWidth", "-", 5, 5},
      // The mask is read as a decimal number with fraction and exponent.
      {"keys", "4352.9", 0x1100, 0x1100}, {"keys", "0.5", 0x1100, 0}, {"keys", "-1", 0x1100, 0},
      {"keys", "ctrl", 0x1100, 0}, {"keys", ".5e4x", 5000, 0x1380}, {"keys", "2e", 2, 2}, {"keys", "inf", 0x1100, 0},
      {"keys", "0x1100", 0x1100, 0}, {"keys", "36872", 0x9008, 0x1000}, {"keys", "37128", 0x9108, 0x1100},
      {"keys", "4294967295", 0xFFFFFFFF, 0xFFFF7FF7}, {"keys", "1e999", 0xFFFFFFFF, 0xFFFF7FF7},
      {"keys", "4294967040", 4294967040, 0xFFFF7F00}};  // the largest float below 2^32
  for (auto& c : cases) {
    store({{c.key, c.text}});
    const bool width = std::string(c.key) == "WinWidth";
    for (auto [reader, expected] : {std::pair{Reader::SettingsPage, c.page}, {Reader::Overlay, c.overlay}}) {
      SettingsRecord record = load(reader);
      EXPECT_EQ(width ? int64_t{record.s_WinWidth} : int64_t{record.s_key}, expected) << c.key << " " << c.text;
    }
  }
  EXPECT_EQ(settings::maskFromFloat(NAN), 0u);
}

TEST_F(SettingsFile, FirstSaveMakesTheFolderThenNumbersReadLikeTextsAndSavesWriteTextsKeepingOtherKeys) {
  ASSERT_TRUE(settings::writePref(load(Reader::SettingsPage), path()));
  struct stat folder;
  ASSERT_EQ(stat(home.preferences().c_str(), &folder), 0) << "a fresh account has no preferences folder";
  EXPECT_EQ(folder.st_mode & 0777, 0700u);
  auto first = PlistDictionary::readFile(path());
  ASSERT_TRUE(first);
  EXPECT_EQ(std::tuple(first->keys().size(), first->contains("WinColor"), first->string("WinWidth")),
            std::tuple(size_t{8}, false, "5"));

  PlistDictionary file;
  file.setInteger("WinWidth", 12);
  file.setReal("keys", 4352.0);
  for (const char* key : {"retikon", "DispKind", "shadow"}) file.setInteger(key, 1);
  file.setBoolean("Locate", true);
  file.setInteger("distance", -20);
  store({{"WinColor", "red"}, {"handAdded", "keep me"}}, file);
  SettingsRecord record = load(Reader::Overlay);
  EXPECT_EQ(std::tuple(record.s_WinWidth, record.s_key, record.s_distance, *record.s_WinColor),
            std::tuple(12, 0x1100u, -20, kRed));
  EXPECT_EQ(record.s_Retikon + record.s_Disp + record.s_Locate + record.s_shadow, 4);

  ASSERT_TRUE(settings::writePref(load(Reader::SettingsPage), path()));
  auto after = PlistDictionary::readFile(path());
  ASSERT_TRUE(after);
  const std::pair<const char*, const char*> texts[] = {
      {"WinColor", "red"}, {"handAdded", "keep me"}, {"WinWidth", "12"}, {"keys", "4352"}, {"retikon", "1"},
      {"DispKind", "1"},   {"Locate", "1"},          {"shadow", "1"},    {"distance", "-20"}};
  for (auto& [key, text] : texts) EXPECT_EQ(after->string(key), text) << key;
  EXPECT_EQ(after->keys().size(), 10u);
}

// Whatever became of a save, the running overlay rereads the file: the page
// relies on that to show the file as it stayed.
TEST_F(SettingsFile, ASaveThatCannotWriteKeepsTheOldFileAndStillPostsTheChange) {
  // A private session bus, and on it an observer as a running overlay has.
  unit::PrivateSessionBus bus(home.path());
  ASSERT_TRUE(bus.running());
  platform::EventLoop loop;
  auto overlay = platform::DistributedNotificationCenter::defaultCenter();
  int heard = 0;
  ASSERT_TRUE(overlay->addObserver(loop, "Vantrl Notification", "com.Halvix.Vantrel", [&] { ++heard; }));
  ASSERT_TRUE(loop.addRepeatingTimer(std::chrono::milliseconds(10), [] {}).ok());  // runOnce returns soon

  store({{"WinWidth", "42"}, {"handAdded", "keep me"}});
  // Files may grow no larger than a few bytes, as on a full disk; writing
  // past that fails instead of ending the process.
  signal(SIGXFSZ, SIG_IGN);
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  const rlimit small{64, before.rlim_max};
  setrlimit(RLIMIT_FSIZE, &small);
  SettingsRecord record = load(Reader::SettingsPage);
  record.s_WinWidth = 7;
  auto page = platform::DistributedNotificationCenter::defaultCenter();
  EXPECT_FALSE(settings::savePref(record, path(), *page));
  setrlimit(RLIMIT_FSIZE, &before);
  EXPECT_TRUE(unit::waitFor([&] { return loop.runOnce(), heard == 1; })) << "the running overlay is told all the same";
  auto kept = PlistDictionary::readFile(path());
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->string("WinWidth"), "42");
  EXPECT_EQ(kept->string("handAdded"), "keep me");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.preferences()), {}), 1) << "no temporary left";
}

}  // namespace
