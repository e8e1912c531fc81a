// velko-sim as a program: its exit codes, its own errors, where its messages go, and that a
// replay gives the same trace every time.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "sim/sim_fixture.h"
#include "support/scoped_env.h"
#include "velko_sim/trace_reader.h"

namespace velko {
namespace {

using sim::Trace;
using testing::RunSim;
using testing::SimResult;
using testing::TempDir;

class SimRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteCar(dir_);
    testing::WriteCrashSound(dir_);
  }
  // A 60 x 50 map walled all round, with half tiles of every form along one row.
  void WriteWalledMap() {
    testing::WriteLevelMap(dir_, 60, 50,
                           [](int c, int r) {
                             if (c == 0 || c == 59 || r == 0 || r == 49) return 1;
                             if (r == 3) return 2 + c % 4;
                             return 0;
                           },
                           {0, 1, 2, 3, 4, 5});
  }
  std::string Dir() const { return dir_.Path().string(); }
  std::string Keys(const std::string& text) {
    dir_.Write("run.keys", text);
    return dir_.File("run.keys").string();
  }

  TempDir dir_;
};

TEST_F(SimRunnerTest, SameInputsGiveTheSameTraceByteForByte) {
  WriteWalledMap();
  // Up and down the screen into the walls, steering, skidding: the generator is drawn on.
  const std::string keys = Keys(
      "1 UP down\n200 RIGHT down\n230 RIGHT up\n900 LEFT down\n960 LEFT up\n"
      "1500 DOWN down\n1600 DOWN up\n1700 RIGHT down\n1800 RIGHT up\n");
  const std::vector<std::string> arguments = {Dir(),  "--keys",  keys, "--frames",
                                              "4000", "--trace", "-"};
  const SimResult first = RunSim(dir_, arguments);
  const SimResult second = RunSim(dir_, arguments);
  ASSERT_EQ(first.exitCode, 0) << first.err;
  ASSERT_EQ(second.exitCode, 0) << second.err;
  const Trace trace(first.out);
  ASSERT_EQ(trace.Frames(), 4000u);
  EXPECT_NE(trace.Field(4000, "crashCount") + trace.Field(4000, "sounds"), "00");
  EXPECT_TRUE(first.out == second.out);

  // The same trace written to a file.
  std::vector<std::string> toFile = arguments;
  toFile.back() = dir_.File("trace.csv").string();
  const SimResult third = RunSim(dir_, toFile);
  EXPECT_EQ(third.exitCode, 0);
  EXPECT_TRUE(third.out.empty());
  EXPECT_TRUE(dir_.Read("trace.csv") == first.out);
}

TEST_F(SimRunnerTest, EscapeInTheScriptEndsTheRunAfterThatPass) {
  WriteWalledMap();
  const SimResult result =
      RunSim(dir_, {Dir(), "--keys", Keys("5 LEFT down\n5 ESCAPE down\n"), "--trace", "-"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const Trace trace(result.out);
  ASSERT_EQ(trace.Frames(), 5u);
  // The quitting pass still turns the car: 270 - 16 x 0.15 = 267.6.
  EXPECT_EQ(trace.Field(5, "heading"), "267.600006");
}

TEST_F(SimRunnerTest, FramesHoldsEscapeInThatFrame) {
  WriteWalledMap();
  const SimResult result = RunSim(dir_, {Dir(), "--frames", "3", "--trace", "-"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const Trace trace(result.out);
  ASSERT_EQ(trace.Frames(), 3u);
  EXPECT_EQ(trace.Field(3, "tick"), "1048");  // 1000, +16 for loading, +16 per frame
}

TEST_F(SimRunnerTest, ClosingTheDialogEndsWithoutFrames) {
  WriteWalledMap();
  const SimResult result = RunSim(dir_, {Dir(), "--dialog", "close", "--trace", "-"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const Trace trace(result.out);
  EXPECT_FALSE(trace.Header().empty());
  EXPECT_EQ(trace.Frames(), 0u);
  EXPECT_FALSE(dir_.Exists("screen.ini"));
}

TEST_F(SimRunnerTest, GameMessagesGoToStandardErrorAndExitIsZero) {
  // A map announcing 32767 x 32767 cells is refused before anything is held for it.
  testing::Bytes map;
  map.U16(32767).U16(32767).U8(0).U8(0);
  dir_.Write("level.map", map.data);
  const SimResult result = RunSim(dir_, {Dir(), "--frames", "5", "--trace", "-"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.err.find("Erreur: "), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("level.map"), std::string::npos) << result.err;
  EXPECT_EQ(Trace(result.out).Frames(), 0u);
}

// An installed game: the program in .../games, its data in ../share/games/velko. Settings and
// screenshots go to the player's own folders, made as needed; where they cannot be made the
// game goes on without saving, as for any file it may not write; nothing is ever written
// beside the program or the data.
TEST_F(SimRunnerTest, InstalledGameWritesInThePlayersFolders) {
  WriteWalledMap();
  TempDir root;
  std::filesystem::create_directories(root.File("usr/games"));
  std::filesystem::create_directories(root.File("usr/share/games"));
  std::filesystem::create_symlink(dir_.Path(), root.File("usr/share/games/velko"));
  const std::string keys = Keys("2 F12 down\n3 F12 up\n5 ESCAPE down\n");
  auto listing = [&] {
    std::string all;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_.Path())) {
      all += entry.path().string() + "\n";
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root.File("usr"))) {
      all += entry.path().string() + "\n";
    }
    return all;
  };
  const std::string before = listing();
  struct Case {
    const char* what;
    std::string home;
    bool saves;
  };
  const Case cases[] = {
      {"a home of its own", root.File("home").string(), true},
      {"folders that cannot be made", "/dev/null/home", false},
  };
  for (const Case& c : cases) {
    testing::ScopedEnv home("HOME", c.home);
    testing::ScopedEnv config("XDG_CONFIG_HOME", "");
    testing::ScopedEnv data("XDG_DATA_HOME", "");
    const SimResult result = RunSim(root, {root.File("usr/games").string(), "--keys", keys});
    EXPECT_EQ(result.exitCode, 0) << c.what << ": " << result.err;
    const std::filesystem::path settings = c.home + "/.config/velko/screen.ini";
    const std::filesystem::path shot = c.home + "/.local/share/velko/screenshots/screen000.bmp";
    std::error_code error;
    EXPECT_EQ(std::filesystem::exists(settings, error), c.saves) << c.what;
    EXPECT_EQ(std::filesystem::exists(shot, error), c.saves) << c.what;
    if (c.saves) {
      EXPECT_EQ(std::filesystem::file_size(shot, error), 1440054u) << c.what;
    }
    EXPECT_EQ(listing(), before) << c.what << ": written beside the program or its data";
  }
}

TEST_F(SimRunnerTest, MissingCarIsABadPackage) {
  WriteWalledMap();
  std::filesystem::remove(dir_.File("car.bmp"));
  const SimResult result = RunSim(dir_, {Dir(), "--frames", "5"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.err.find("Erreur: Package incorect"), std::string::npos) << result.err;
}

struct UsageCase {
  const char* name;
  std::vector<std::string> arguments;  // after DIR; "KEYS" names a script with a bad line
  const char* message;
};

class SimUsageTest : public SimRunnerTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(SimUsageTest, ExitsWithTwoAndSaysWhy) {
  WriteWalledMap();
  std::vector<std::string> arguments = {Dir()};
  for (const std::string& argument : GetParam().arguments) {
    arguments.push_back(argument == "KEYS" ? Keys("3 UP sideways\n") : argument);
  }
  const SimResult result = RunSim(dir_, arguments);
  EXPECT_EQ(result.exitCode, 2) << GetParam().name;
  EXPECT_NE(result.err.find(GetParam().message), std::string::npos)
      << GetParam().name << ": " << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimUsageTest,
    ::testing::Values(UsageCase{"unknown option", {"--warp"}, "unknown option"},
                      UsageCase{"unreadable keys", {"--keys", "/nonexistent/k"}, "cannot read"},
                      UsageCase{"bad key line", {"--keys", "KEYS"}, "line 1"},
                      UsageCase{"bad dialog action", {"--dialog", "dance"}, "--dialog"},
                      UsageCase{"dialog actions run out", {"--dialog", "tab"}, "ran out"},
                      UsageCase{"trace not writable", {"--trace", "/nonexistent/t.csv"}, "trace"}),
    [](const ::testing::TestParamInfo<UsageCase>& info) {
      std::string name = info.param.name;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

}  // namespace
}  // namespace velko
