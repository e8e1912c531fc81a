// The game's files in a program folder named with accents (a player's "Jeux vidéo"): every
// service that touches files reads and writes them there, the settings file replacing the one
// already there. On Windows this goes through the wide-character calls.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/file_system.h"
#include "platform/headless/headless_platform.h"
#include "services/files/file_service.h"
#include "services/files/program_directory.h"
#include "services/preferences/preferences_service.h"
#include "services/sound/sound_service.h"
#include "support/temp_dir.h"
#include "support/wav_builder.h"

namespace velko {
namespace {

TEST(AccentedFolderTest, EveryServiceFindsItsFilesThere) {
  testing::TempDir root;
  const std::filesystem::path folder =
      root.Path() / files::PathFromUtf8("Jeux vid\xC3\xA9o \xC3\xA0 No\xC3\xABl \xE2\x82\xAC");
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  const std::u8string program = (folder / "velko.exe").u8string();
  const ProgramDirectory directory =
      ProgramDirectory::FromExecutablePath(std::string(program.begin(), program.end()));
  auto write = [&](const char* name, std::string_view bytes) {
    std::ofstream(folder / name, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  };

  write("level.map", std::string("\x34\x12", 2));
  FileService data(directory);
  EXPECT_EQ(data.DataFileSize("level.map"), 2);
  ASSERT_NE(data.DataFileOpen(1, "level.map"), 0);
  EXPECT_EQ(data.DataFileReadInt16(), 0x1234);

  // Written twice: the second file replaces the first.
  PreferencesService preferences(directory);
  for (const char* mode : {"16", "32"}) {
    ASSERT_NE(preferences.PreferencesCreate("screen.ini"), 0) << mode;
    preferences.PreferenceGroup("ScreenMode");
    preferences.PreferenceWriteText("Mode", mode);
    preferences.PreferencesClose();
  }
  ASSERT_NE(preferences.PreferencesOpen("screen.ini"), 0);
  ASSERT_NE(preferences.PreferenceGroup("ScreenMode"), 0);
  EXPECT_EQ(preferences.PreferenceReadText("Mode", "none"), "32");
  preferences.PreferencesClose();
  EXPECT_FALSE(std::filesystem::exists(folder / "screen.ini.tmp"));

  testing::WavShape shape;
  shape.samples.assign(64, 0x40);
  const std::vector<uint8_t> wave = testing::BuildWav(shape);
  write("choc.wav", std::string_view(reinterpret_cast<const char*>(wave.data()), wave.size()));
  platform::HeadlessPlatform platform;
  SoundService sound(platform, directory);
  ASSERT_NE(sound.AudioStart(), 0);
  EXPECT_NE(sound.AudioLoadWave(1, "choc.wav"), 0u);
}

}  // namespace
}  // namespace velko
