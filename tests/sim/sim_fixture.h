// A program directory for velko-sim written by the test itself: a level map from a picture of
// characters, a plain 64 x 64 car, a short crash sound; and a way to run velko-sim over it.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace velko::testing {

class Bytes {
 public:
  Bytes& U8(unsigned v) {
    data.push_back(static_cast<unsigned char>(v & 0xFF));
    return *this;
  }
  Bytes& U16(unsigned v) { return U8(v).U8(v >> 8); }
  Bytes& U32(unsigned v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& Tag(const char* tag) {
    for (int i = 0; i < 4; ++i) U8(static_cast<unsigned char>(tag[i]));
    return *this;
  }
  std::vector<unsigned char> data;
};

// "level.map": `tileAt(column, row)` for every cell, then one collision type per tile; and a
// "level.bpb" of one pixel.
inline void WriteLevelMap(const TempDir& dir, int columns, int rows,
                          const std::function<int(int, int)>& tileAt,
                          const std::vector<int>& types) {
  Bytes map;
  map.U16(static_cast<unsigned>(columns)).U16(static_cast<unsigned>(rows)).U8(0).U8(0);
  for (int c = 0; c < columns; ++c) {
    for (int r = 0; r < rows; ++r) map.U16(static_cast<unsigned>(tileAt(c, r))).U16(0);
  }
  map.U16(static_cast<unsigned>(types.size()));
  for (int type : types) map.U8(static_cast<unsigned>(type));
  dir.Write("level.map", map.data);
  // A tile picture too small for any tile: the map is drawn black, but the game has its file.
  Bytes picture;
  picture.U16(1).U16(1).U8(0).U8(0).U8(0);
  dir.Write("level.bpb", picture.data);
}

// A 64 x 64 24-bit car: a red body on the green key colour.
inline void WriteCar(const TempDir& dir) {
  constexpr unsigned kSide = 64;
  constexpr unsigned kPixelBytes = kSide * kSide * 3;
  Bytes bmp;
  bmp.U8('B').U8('M').U32(54 + kPixelBytes).U32(0).U32(54);
  bmp.U32(40).U32(kSide).U32(kSide).U16(1).U16(24).U32(0).U32(kPixelBytes).U32(2835).U32(2835);
  bmp.U32(0).U32(0);
  for (unsigned y = 0; y < kSide; ++y) {
    for (unsigned x = 0; x < kSide; ++x) {
      const bool body = x >= 16 && x < 48 && y >= 4 && y < 60;
      bmp.U8(0).U8(body ? 0 : 255).U8(body ? 200 : 0);  // blue, green, red
    }
  }
  dir.Write("car.bmp", bmp.data);
}

// 8-bit mono PCM, 64 samples.
inline void WriteCrashSound(const TempDir& dir) {
  Bytes wav;
  wav.Tag("RIFF").U32(36 + 64).Tag("WAVE");
  wav.Tag("fmt ").U32(16).U16(1).U16(1).U32(11025).U32(11025).U16(1).U16(8);
  wav.Tag("data").U32(64);
  for (int i = 0; i < 64; ++i) wav.U8(i % 2 == 0 ? 0x60 : 0xA0);
  dir.Write("choc.wav", wav.data);
}

struct SimResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs velko-sim with `arguments` (each quoted for the shell); stderr goes to a file in `dir`.
inline SimResult RunSim(const TempDir& dir, const std::vector<std::string>& arguments) {
  std::string command = Quote(std::string(VELKO_BINARY_DIR) + "/velko-sim");
  for (const std::string& argument : arguments) command += " " + Quote(argument);
  const std::filesystem::path errors = dir.Path() / "sim-stderr.txt";
  command += " 2>" + Quote(errors.string());
  SimResult result;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[65536];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errors);
  std::stringstream text;
  text << in.rdbuf();
  result.err = text.str();
  return result;
}

}  // namespace velko::testing
