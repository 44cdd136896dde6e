#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>

#include <cmath>
#include <cstdio>
#include <cstring>

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
    ASSERT_FALSE(file.writeFile(path()));
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
  for (size_t length : {0, 15, 17, 64, 99}) {
    if (length == 99)
      file.setString("WinColor2", "not data");
    else
      file.setData("WinColor2", std::vector<uint8_t>(length, 0x3F));
    store({{"WinColor", "red"}}, file);
    EXPECT_EQ(*load(Reader::Overlay).s_WinColor, kRed) << length;
  }
}

TEST_F(SettingsFile, WidthIsTakenUnclampedExceptZeroAndTheMaskReadingDiffersBetweenPageAndOverlay) {
  const struct {
    const char *key, *text;
    int64_t page, overlay;
  } cases[] = {{"WinWidth", "0", 5, 5},       {"WinWidth", "-3", -3, -3},    {"WinWidth", "250", 250, 250},
               {"WinWidth", "abc", 5, 5},     {"WinWidth", "7.9", 7, 7},     {"WinWidth", "99999999999", 2147483647, 2147483647},
               {"keys", "4352.9", 0x1100, 0x1100}, {"keys", "0.5", 0x1100, 0}, {"keys", "-1", 0x1100, 0},
               {"keys", "ctrl", 0x1100, 0},   {"keys", "36872", 0x9008, 0x1000}, {"keys", "37128", 0x9108, 0x1100},
               {"keys", "1e10", 0xFFFFFFFF, 0xFFFF7FF7}, {"keys", "4294967295", 0xFFFFFFFF, 0xFFFF7FF7},
               {"keys", "1e999", 0xFFFFFFFF, 0xFFFF7FF7}, {"keys", "-1e999", 0x1100, 0},
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

TEST_F(SettingsFile, NumbersReadLikeTextsAndSaveWritesTheEightKeysAsTextsKeepingOthers) {
  PlistDictionary before;
  before.setString("handAdded", "keep me");
  before.setInteger("WinWidth", 99);
  before.setReal("keys", 4608.0);
  before.setInteger("retikon", 1);
  before.setBoolean("Locate", true);
  before.setInteger("distance", -20);
  store({{"WinColor", "red"}}, before);
  SettingsRecord record = load(Reader::SettingsPage);
  record.s_shadow = 1;
  ASSERT_TRUE(settings::writePref(record, path()));

  auto after = PlistDictionary::readFile(path());
  ASSERT_TRUE(after);
  const std::pair<const char*, const char*> texts[] = {
      {"WinColor", "red"}, {"handAdded", "keep me"}, {"WinWidth", "99"}, {"keys", "4608"}, {"retikon", "1"},
      {"DispKind", "0"},   {"Locate", "1"},          {"shadow", "1"},    {"distance", "-20"}};
  for (auto& [key, text] : texts) EXPECT_EQ(after->string(key), text) << key;
  EXPECT_EQ(after->data("WinColor2")->size(), 16u);
  EXPECT_EQ(after->keys().size(), 10u);
  EXPECT_EQ(*load(Reader::Overlay).s_WinColor, kRed);
}

TEST_F(SettingsFile, FirstSaveFromNothingMakesTheFolderAndWritesNoColourName) {
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

// The overlay rereads the file it has whenever a save was tried: the page
// relies on that to show the file as it stayed.
TEST_F(SettingsFile, ASaveOnAFullDiskKeepsTheOldFileAndStillPostsTheChange) {
  FILE* daemon = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
  char address[512] = "", pid[32] = "";
  ASSERT_TRUE(daemon && fgets(address, sizeof address, daemon) && fgets(pid, sizeof pid, daemon));
  pclose(daemon);
  struct Stop {
    pid_t pid;
    ~Stop() { kill(pid, SIGTERM); }
  } stop{atoi(pid)};
  address[strcspn(address, "\n")] = '\0';
  unit::ScopedEnvironment bus("DBUS_SESSION_BUS_ADDRESS", address);
  platform::EventLoop loop;
  auto overlay = platform::DistributedNotificationCenter::defaultCenter();
  int heard = 0;
  ASSERT_TRUE(overlay->addObserver(loop, "Vantrl Notification", "com.Halvix.Vantrel", [&] { ++heard; }));
  ASSERT_TRUE(loop.addRepeatingTimer(std::chrono::milliseconds(10), [] {}).ok());  // runOnce returns soon

  std::filesystem::create_directories(home.preferences());
  // A small tmpfs in a private mount namespace stands for a full disk; as an
  // ordinary user a read-only folder does the same job.
  bool fullDisk = geteuid() == 0 && unshare(CLONE_NEWNS) == 0 &&
                  mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                  mount("tmpfs", home.preferences().c_str(), "tmpfs", 0, "size=16k") == 0;
  if (!fullDisk && geteuid() == 0) GTEST_SKIP() << "cannot mount a small file system here";
  store({{"WinWidth", "42"}, {"handAdded", "keep me"}});
  if (fullDisk) {
    std::ofstream filler(home.preferences() / "filler");
    const std::string block(1024, 'x');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
  } else {
    chmod(home.preferences().c_str(), 0500);
  }

  SettingsRecord record = load(Reader::SettingsPage);
  record.s_WinWidth = 7;
  auto page = platform::DistributedNotificationCenter::defaultCenter();
  EXPECT_FALSE(settings::savePref(record, path(), *page));
  EXPECT_TRUE(unit::waitFor([&] { return loop.runOnce(), heard == 1; })) << "the running overlay is told all the same";
  auto kept = PlistDictionary::readFile(path());
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->string("WinWidth"), "42");
  EXPECT_EQ(kept->string("handAdded"), "keep me");
  const auto entries = std::distance(std::filesystem::directory_iterator(home.preferences()), {});
  EXPECT_EQ(entries, fullDisk ? 2 : 1) << "no temporary left behind";

  if (fullDisk) umount2(home.preferences().c_str(), MNT_DETACH);
  chmod(home.preferences().c_str(), 0700);
}

}  // namespace
