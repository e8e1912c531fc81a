// Where an installed game reads and writes, and where a game beside its data does.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "services/files/program_directory.h"
#include "support/temp_dir.h"

namespace velko {
namespace {

using testing::TempDir;

TEST(FileLocationsTest, BesideItsDataOrInstalled) {
#ifdef _WIN32
  GTEST_SKIP() << "a Windows game keeps everything beside itself";
#endif
  TempDir root;
  const std::string r = root.Path().string();
  std::filesystem::create_directories(root.File("portable"));
  std::filesystem::create_directories(root.File("usr/games"));
  std::filesystem::create_directories(root.File("usr/share/games/velko"));
  std::filesystem::create_directories(root.File("nowhere"));
  root.Write("portable/level.map", "x");
  root.Write("usr/share/games/velko/level.map", "x");
  struct Case {
    const char* what;
    std::string executable;
    std::map<std::string, std::string> environment;
    bool installed;
    std::string map, settings, screenshot;
  };
  const std::string share = r + "/usr/share/games/velko/";
  const Case cases[] = {
      {"data beside the program",
       r + "/portable/velko",
       {{"HOME", "/home/p"}},
       false,
       r + "/portable/level.map",
       r + "/portable/screen.ini",
       r + "/portable/screenshots/screen000.bmp"},
      {"installed, XDG folders set",
       r + "/usr/games/velko",
       {{"HOME", "/home/p"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "/dat/"}},
       true,
       share + "level.map",
       "/cfg/velko/screen.ini",
       "/dat/velko/screenshots/screen000.bmp"},
      {"installed, the defaults under HOME",
       r + "/usr/games/velko",
       {{"HOME", "/home/p"}},
       true,
       share + "level.map",
       "/home/p/.config/velko/screen.ini",
       "/home/p/.local/share/velko/screenshots/screen000.bmp"},
      {"installed, relative XDG folders are ignored",
       r + "/usr/games/velko",
       {{"HOME", "/home/p"}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", ""}},
       true,
       share + "level.map",
       "/home/p/.config/velko/screen.ini",
       "/home/p/.local/share/velko/screenshots/screen000.bmp"},
      {"no data anywhere: beside the program",
       r + "/nowhere/velko",
       {},
       false,
       r + "/nowhere/level.map",
       r + "/nowhere/screen.ini",
       r + "/nowhere/screenshots/screen000.bmp"},
  };
  for (const Case& c : cases) {
    const auto located =
        ProgramDirectory::Locate(c.executable, [&](const char* name) -> std::optional<std::string> {
          const auto found = c.environment.find(name);
          if (found == c.environment.end()) return std::nullopt;
          return found->second;
        });
    EXPECT_EQ(located.Installed(), c.installed) << c.what;
    EXPECT_EQ(located.Resolve("level.map"), c.map) << c.what;
    EXPECT_EQ(located.ResolveSettings("screen.ini"), c.settings) << c.what;
    EXPECT_EQ(located.Resolve("screenshots\\screen000.bmp"), c.screenshot) << c.what;
  }
}

TEST(FileLocationsTest, OnlyTheUsersOwnFoldersAreMade) {
#ifdef _WIN32
  GTEST_SKIP() << "a Windows game keeps everything beside itself";
#endif
  TempDir root;
  std::filesystem::create_directories(root.File("usr/games"));
  std::filesystem::create_directories(root.File("usr/share/games/velko"));
  root.Write("usr/share/games/velko/level.map", "x");
  const std::string home = root.File("home").string();
  const auto installed = ProgramDirectory::Locate(
      root.File("usr/games/velko").string(), [&](const char* name) -> std::optional<std::string> {
        if (std::string(name) == "HOME") return home;
        return std::nullopt;
      });
  ASSERT_TRUE(installed.Installed());
  installed.PrepareFolderFor(installed.ResolveSettings("screen.ini"));
  installed.PrepareFolderFor(installed.Resolve("screenshots\\screen000.bmp"));
  installed.PrepareFolderFor(installed.Resolve("sub\\level.map"));  // beside the data: never
  EXPECT_TRUE(std::filesystem::is_directory(home + "/.config/velko"));
  EXPECT_TRUE(std::filesystem::is_directory(home + "/.local/share/velko/screenshots"));
  EXPECT_FALSE(std::filesystem::exists(root.File("usr/share/games/velko/sub")));
  // Beside the program nothing is made: a missing screenshots folder means no screenshots.
  const auto portable = ProgramDirectory::FromExecutablePath(root.File("usr/games/velko").string());
  portable.PrepareFolderFor(portable.Resolve("screenshots\\screen000.bmp"));
  EXPECT_FALSE(std::filesystem::exists(root.File("usr/games/screenshots")));
}

}  // namespace
}  // namespace velko
