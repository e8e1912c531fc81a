#include "services/preferences/preferences_service.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "support/temp_dir.h"

namespace velko {
namespace {

using testing::TempDir;

class PreferencesTest : public ::testing::Test {
 protected:
  // Reads `key` from group `group` of a file holding `text`.
  std::string Read(const std::string& text, const std::string& group, const std::string& key) {
    dir_.Write("screen.ini", text);
    PreferencesService preferences(directory_);
    EXPECT_NE(preferences.PreferencesOpen("screen.ini"), 0);
    if (!group.empty()) preferences.PreferenceGroup(group);
    return preferences.PreferenceReadText(key, "<default>");
  }

  TempDir dir_;
  ProgramDirectory directory_ = ProgramDirectory::FromExecutablePath(dir_.ExecutablePath());
};

TEST_F(PreferencesTest, ReadsByTheFilesRules) {
  struct Case {
    const char* what;
    std::string text;
    const char* group;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"plain", "[ScreenMode]\r\nFullScreen = TRUE\r\n", "ScreenMode", "FullScreen", "TRUE"},
      {"group any case", "[screenmode]\r\nMode = 32\r\n", "ScreenMode", "Mode", "32"},
      {"shorter group name", "[Screen]\r\nMode = 32\r\n", "ScreenMode", "Mode", "<default>"},
      {"space before header", " [ScreenMode]\r\nMode = 32\r\n", "ScreenMode", "Mode", "<default>"},
      {"no spaces", "[ScreenMode]\nFullScreen=TRUE\n", "ScreenMode", "fullscreen", "TRUE"},
      {"many spaces", "[ScreenMode]\n  FullScreen   =   TRUE\n", "ScreenMode", "FULLSCREEN",
       "TRUE"},
      {"trailing spaces kept", "[g]\nk = v  \r\n", "g", "k", "v  "},
      {"semicolon in value kept", "[g]\nk = v ; note\n", "g", "k", "v ; note"},
      {"comment line", "[g]\n;k = 1\nk = 2\n", "g", "k", "2"},
      {"indented comment", "[g]\n   ;k = 1\n", "g", "k", "<default>"},
      {"tab is not a space", "[g]\n\tk = 1\n", "g", "k", "<default>"},
      {"key in a later group", "[g]\na = 1\n[h]\nk = 2\n", "g", "k", "<default>"},
      {"first match wins", "[g]\nk = 1\nk = 2\n", "g", "k", "1"},
      {"before any group", "k = 0\n[g]\nk = 1\n", "", "k", "0"},
      {"failed group", "k = 0\n[g]\nk = 1\n", "nothing", "k", "<default>"},
      {"longer key", "[g]\nkey = 1\n", "g", "ke", "<default>"},
      {"no equals sign", "[g]\nk 1\n", "g", "k", "<default>"},
      {"empty value", "[g]\nk =\n", "g", "k", ""},
      {"value to end of text", "[g]\nk = last", "g", "k", "last"},
      {"NUL ends the text", std::string("[g]\nk = 1\0\nj = 2\n", 16), "g", "j", "<default>"},
      {"header without bracket", "[g\nk = 1\n", "g", "k", "1"},
      {"header without bracket, CR kept", "[g\r\nk = 1\r\n", "g", "k", "<default>"},
      {"latin-1 case is not folded", "[g]\n\xC9t\xE9 = 1\n", "g", "\xE9t\xE9", "<default>"},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.text, c.group, c.key), c.expected) << c.what;
}

TEST_F(PreferencesTest, MissingFileGivesDefaults) {
  PreferencesService preferences(directory_);
  EXPECT_EQ(preferences.PreferencesOpen("screen.ini"), 0);
  EXPECT_EQ(preferences.PreferenceGroup("ScreenMode"), 0);
  EXPECT_EQ(preferences.PreferenceReadText("Mode", "16"), "16");
}

TEST_F(PreferencesTest, AFolderOfThatNameIsNoSettingsFile) {
  std::filesystem::create_directory(dir_.File("screen.ini"));
  PreferencesService preferences(directory_);
  EXPECT_EQ(preferences.PreferencesOpen("screen.ini"), 0);
  EXPECT_EQ(preferences.PreferenceGroup("ScreenMode"), 0);
  EXPECT_EQ(preferences.PreferenceReadText("Mode", "16"), "16");
  EXPECT_EQ(preferences.PreferencesCreate("screen.ini"), 0);
  EXPECT_EQ(preferences.PreferenceGroup("ScreenMode"), 0);
  preferences.PreferenceWriteText("Mode", "32");
  preferences.PreferencesClose();
  EXPECT_TRUE(std::filesystem::is_directory(dir_.File("screen.ini")));
  EXPECT_FALSE(dir_.Exists("screen.ini.tmp"));
}

TEST_F(PreferencesTest, WritesTheLayoutWithCrLf) {
  {
    PreferencesService preferences(directory_);
    ASSERT_NE(preferences.PreferencesCreate("screen.ini"), 0);
    EXPECT_EQ(preferences.PreferenceGroup("ScreenMode"), 1);
    preferences.PreferenceWriteText("FullScreen", "TRUE");
    preferences.PreferenceWriteText("Mode", "16");
    preferences.PreferenceWriteText("", "ignored");
    preferences.PreferenceWriteText("Alternatives Colors", "FALSE");
    preferences.PreferenceWriteText("75hz", "FALSE");
    // Nothing replaces the file before it is closed.
    EXPECT_FALSE(dir_.Exists("screen.ini"));
    preferences.PreferencesClose();
  }
  EXPECT_EQ(dir_.Read("screen.ini"),
            "[ScreenMode]\r\nFullScreen = TRUE\r\nMode = 16\r\nAlternatives Colors = FALSE\r\n"
            "75hz = FALSE\r\n");
  EXPECT_FALSE(dir_.Exists("screen.ini.tmp"));
}

TEST_F(PreferencesTest, AnUnfinishedWriteLeavesTheOldFileWhole) {
  dir_.Write("screen.ini", "[ScreenMode]\r\nMode = 32\r\n");
  {
    PreferencesService preferences(directory_);
    ASSERT_NE(preferences.PreferencesCreate("screen.ini"), 0);
    preferences.PreferenceGroup("ScreenMode");
    preferences.PreferenceWriteText("Mode", "16");
    // Reopening another file closes this one properly first.
    EXPECT_EQ(dir_.Read("screen.ini"), "[ScreenMode]\r\nMode = 32\r\n");
  }
  EXPECT_EQ(dir_.Read("screen.ini"), "[ScreenMode]\r\nMode = 16\r\n");
}

TEST_F(PreferencesTest, WritesAreRefusedOnAFileOpenForReading) {
  dir_.Write("screen.ini", "[g]\nk = 1\n");
  PreferencesService preferences(directory_);
  ASSERT_NE(preferences.PreferencesOpen("screen.ini"), 0);
  preferences.PreferenceWriteText("k", "2");
  preferences.PreferencesClose();
  EXPECT_EQ(dir_.Read("screen.ini"), "[g]\nk = 1\n");
  // With nothing open, reads give the default and groups fail.
  EXPECT_EQ(preferences.PreferenceGroup("g"), 0);
  EXPECT_EQ(preferences.PreferenceReadText("k", "d"), "d");
}

TEST_F(PreferencesTest, CreateFailsWhereNothingMayBeWritten) {
  PreferencesService preferences(directory_);
  EXPECT_EQ(preferences.PreferencesCreate("no-such-folder\\screen.ini"), 0);
  preferences.PreferenceGroup("ScreenMode");
  preferences.PreferenceWriteText("Mode", "16");
  preferences.PreferencesClose();
  EXPECT_FALSE(std::filesystem::exists(dir_.File("no-such-folder")));

  dir_.Write("screen.ini", "[ScreenMode]\r\n");
  namespace fs = std::filesystem;
  fs::permissions(dir_.File("screen.ini"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const std::u8string locked = dir_.File("screen.ini").u8string();
  // Root may write anything.
  if (files::IsWritable(std::string(locked.begin(), locked.end()))) return;
  EXPECT_EQ(preferences.PreferencesCreate("screen.ini"), 0);
  EXPECT_EQ(dir_.Read("screen.ini"), "[ScreenMode]\r\n");
}

}  // namespace
}  // namespace velko
