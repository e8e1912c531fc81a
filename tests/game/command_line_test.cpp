// The command line every system's entry reads, and where --level takes the circuit from.
#include "game/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velko {
namespace {

TEST(CommandLineTest, OptionsAndTheirRefusals) {
  // Only "maps" and "/srv/maps" are existing folders here.
  const auto folder = [](const std::string& name) -> std::string {
    if (name == "maps") return "/home/player/maps";
    if (name == "/srv/maps") return "/srv/maps";
    return "";
  };
  struct Case {
    std::vector<std::string> arguments;
    CommandLineAction action;
    std::string levelFolder;
  };
  const Case cases[] = {
      {{}, CommandLineAction::Play, ""},
      {{"--help"}, CommandLineAction::Help, ""},
      {{"--version"}, CommandLineAction::Version, ""},
      {{"--level", "maps"}, CommandLineAction::Play, "/home/player/maps"},
      {{"--level", "/srv/maps"}, CommandLineAction::Play, "/srv/maps"},
      {{"--level", "ville"}, CommandLineAction::Play, "ville"},  // a circuit of the game's own
      {{"--level", "no/such/folder"}, CommandLineAction::Refuse, ""},
      {{"--level", ".."}, CommandLineAction::Refuse, ""},
      {{"--level"}, CommandLineAction::Refuse, ""},
      {{"--level", "maps", "--level", "maps"}, CommandLineAction::Refuse, ""},
      {{"--help", "--version"}, CommandLineAction::Refuse, ""},
      {{"--bogus"}, CommandLineAction::Refuse, ""},
      {{"level.map"}, CommandLineAction::Refuse, ""},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.arguments) shown += a + " ";
    const CommandLine line = ParseCommandLine(c.arguments, folder);
    EXPECT_EQ(line.action, c.action) << shown;
    if (c.action == CommandLineAction::Play) {
      EXPECT_EQ(line.options.levelFolder, c.levelFolder) << shown;
    }
  }
  EXPECT_NE(ParseCommandLine({"--level", "no/such"}, folder).error.find("no/such"),
            std::string::npos);
}

TEST(CommandLineTest, TheCircuitsFilesByFolder) {
  struct Case {
    std::string folder;
    std::string expected;
  };
  const Case cases[] = {
      {"", "level.map"},
      {"ville", "levels/ville/level.map"},
      {"/srv/maps", "/srv/maps/level.map"},
      {"/srv/maps/", "/srv/maps/level.map"},
      {"C:\\Jeux\\circuit", "C:\\Jeux\\circuit/level.map"},
  };
  for (const Case& c : cases) {
    GameOptions options;
    options.levelFolder = c.folder;
    EXPECT_EQ(LevelFileName(options, "level.map"), c.expected) << c.folder;
  }
}

}  // namespace
}  // namespace velko
