// A circuit from another folder: its two files are read from there, a missing one is named to
// the player, and a picture the game cannot make is said on standard error.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/bmp_builder.h"
#include "support/headless_game.h"
#include "support/temp_dir.h"

namespace velko {
namespace {

// A 2 x 1 map of tile 0 and a 1 x 1 picture.
const std::string kMap("\x02\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00", 17);
const std::string kPicture("\x01\x00\x01\x00\x7F\x7F\x7F", 7);

struct Outcome {
  std::vector<std::string> messages;
  std::vector<std::string> problems;
  int32_t columns = 0;
};

Outcome Play(const testing::TempDir& program, const std::string& levelFolder) {
  testing::HeadlessGame game(program, "ok");
  GameOptions options;
  options.levelFolder = levelFolder;
  GameState state;
  game.Run(options, &state);
  return {game.Platform().Messages(), game.Platform().Problems(), state.level.grid.columns};
}

TEST(LevelFolderTest, TheCircuitComesFromItsFolderAndItsFaultsAreSaid) {
  struct Case {
    const char* what;
    std::optional<std::string> map;
    std::optional<std::string> picture;
    std::vector<std::string> messages;  // {} for none; "@" stands for the folder
    std::string problem;                // the start of the one problem line, or ""
  };
  const Case cases[] = {
      {"both files", kMap, kPicture, {}, ""},
      {"no map", std::nullopt, kPicture, {"Erreur: Fichier introuvable ou vide : @/level.map"}, ""},
      {"no picture", kMap, std::nullopt, {"Erreur: Fichier introuvable ou vide : @/level.bpb"}, ""},
      {"a picture no sprite can be",
       kMap,
       std::string("\xFB\xFF\x01\x00\x7F\x7F\x7F", 7),
       {},
       "@/level.bpb: a picture of -5 x 1 pixels cannot be made"},
      {"a short picture beyond the budget",
       kMap,
       std::string("\xD0\x07\xD0\x07\x7F\x7F\x7F", 7),
       {},
       "@/level.bpb: holds 1 of the 2000 x 2000 pixels"},
  };
  for (const Case& c : cases) {
    testing::TempDir program;
    const std::string folder = (program.Path() / "mon circuit").string();
    std::filesystem::create_directory(folder);
    // The game's own circuit is a different one: it must not be read.
    program.Write("level.map", std::string("\x01\x00\x01\x00\x00\x00\x00\x00\x01\x00\x00", 11));
    program.Write("level.bpb", kPicture);
    program.Write("car.bmp", testing::UniformBmp(4, 4, 24, {0, 0, 255}));
    if (c.map) program.Write("mon circuit/level.map", *c.map);
    if (c.picture) program.Write("mon circuit/level.bpb", *c.picture);
    const Outcome run = Play(program, folder);
    std::vector<std::string> expected;
    for (std::string message : c.messages) {
      expected.push_back(message.replace(message.find('@'), 1, folder));
    }
    EXPECT_EQ(run.messages, expected) << c.what;
    if (c.problem.empty()) {
      EXPECT_TRUE(run.problems.empty()) << c.what << ": " << run.problems.front();
    } else {
      std::string problem = c.problem;
      problem.replace(problem.find('@'), 1, folder);
      ASSERT_EQ(run.problems.size(), 1u) << c.what;
      EXPECT_EQ(run.problems[0].rfind(problem, 0), 0u) << run.problems[0];
    }
    if (c.messages.empty()) {
      EXPECT_EQ(run.columns, 2) << c.what << ": the folder's map was read";
    }
  }
}

}  // namespace
}  // namespace velko
