// velko-shot-check: what the end-to-end runs ask of a screenshot the game saved with F12.
//   velko-shot-check FILE [alternative]
//   velko-shot-check --same FILE OTHER ROW: the two pictures are the same from row ROW down
//   (above it the status line, whose frame rate and font differ from run to run)
// Read with the game's own BMP reader: an 800 x 600 24-bit picture of the circuit and the car,
// with enough colours, grass, asphalt and blue car body, and no pixel of the car's key green
// left unkeyed. In the alternative colours red and green are halved, on the tiles and on the
// car alike, so they are doubled back before the colours are told apart. Prints the counts;
// exit 0 when every one holds, 1 (with the reason) when not, 2 on a wrong command line.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/screen/pixel_buffer.h"
#include "services/sprites/bmp_codec.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

struct Counts {
  long colours = 0, car = 0, grass = 0, road = 0, keyGreen = 0;
};

Counts Count(const velko::Surface& picture, bool alternative) {
  Counts counts;
  std::vector<bool> seen(1 << 24);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t pixel = picture.Get(x, y) & 0xFFFFFF;
      if (!seen[pixel]) {
        seen[pixel] = true;
        ++counts.colours;
      }
      const int storedRed = static_cast<int>(pixel >> 16);
      const int storedGreen = static_cast<int>((pixel >> 8) & 0xFF);
      const int b = static_cast<int>(pixel & 0xFF);
      const int r = alternative ? storedRed * 2 : storedRed;
      const int g = alternative ? storedGreen * 2 : storedGreen;
      if (b > 150 && b > r + 80 && b > g + 50) ++counts.car;  // the blue body
      if (g > 100 && g > r + 40 && g > b + 40) ++counts.grass;
      if (r > 60 && r < 110 && g > 60 && g < 110 && b > 60 && b < 115 && r - g < 12 && g - r < 12) {
        ++counts.road;
      }
      // The car's background in either colour mode, had it not been keyed.
      if (storedRed == 0 && b == 0 && (storedGreen == 255 || storedGreen == 127)) {
        ++counts.keyGreen;
      }
    }
  }
  return counts;
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "velko-shot-check: FAIL: %s\n", why.c_str());
  return 1;
}

}  // namespace

// Reads an 800 x 600 24-bit screenshot; the reason in `why` when it is not one.
std::optional<velko::PixelBuffer> ReadShot(const char* path, std::string& why) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in),
                                       std::istreambuf_iterator<char>()};
  if (!in) {
    why = std::string("cannot read ") + path;
    return std::nullopt;
  }
  const auto header = velko::ReadBmpHeader(file);
  if (!header) {
    why = "the screenshot is not a BMP the game reads";
    return std::nullopt;
  }
  if (header->width != kWidth || header->height != kHeight || header->bitCount != 24) {
    why = "the screenshot is " + std::to_string(header->width) + "x" +
          std::to_string(header->height) + "x" + std::to_string(header->bitCount);
    return std::nullopt;
  }
  const auto expectedSize = static_cast<std::size_t>(54 + velko::BmpRowBytes(kWidth, 24) * kHeight);
  if (file.size() != expectedSize) {
    why = "the screenshot is " + std::to_string(file.size()) + " bytes, not " +
          std::to_string(expectedSize);
    return std::nullopt;
  }
  std::optional<velko::PixelBuffer> picture(std::in_place, kWidth, kHeight, 32);
  if (!velko::DecodeBmpPixels(file, *header, picture->View())) {
    why = "undecodable pixels";
    return std::nullopt;
  }
  return picture;
}

int Compare(const char* first, const char* second, int fromRow) {
  std::string why;
  std::optional<velko::PixelBuffer> a = ReadShot(first, why);
  if (!a) return Fail(why);
  std::optional<velko::PixelBuffer> b = ReadShot(second, why);
  if (!b) return Fail(why);
  long differ = 0;
  for (int y = std::max(fromRow, 0); y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) differ += a->View().Get(x, y) != b->View().Get(x, y) ? 1 : 0;
  }
  std::printf("screenshots: %ld pixels differ from row %d down\n", differ, fromRow);
  return differ == 0 ? 0 : Fail("the two screenshots differ");
}

int main(int argc, char** argv) {
  if (argc == 5 && std::string_view(argv[1]) == "--same") {
    return Compare(argv[2], argv[3], std::atoi(argv[4]));
  }
  if (argc < 2 || argc > 3 || (argc == 3 && std::string_view(argv[2]) != "alternative")) {
    std::fprintf(stderr,
                 "usage: velko-shot-check FILE [alternative]\n"
                 "       velko-shot-check --same FILE OTHER ROW\n");
    return 2;
  }
  std::string why;
  std::optional<velko::PixelBuffer> picture = ReadShot(argv[1], why);
  if (!picture) return Fail(why);

  const Counts c = Count(picture->View(), argc == 3);
  std::printf(
      "screenshot: %ld colours, %ld car-blue, %ld grass, %ld asphalt, %ld key-green pixels\n",
      c.colours, c.car, c.grass, c.road, c.keyGreen);
  if (c.colours < 200) return Fail("only " + std::to_string(c.colours) + " colours");
  if (c.car < 150) return Fail("no car (" + std::to_string(c.car) + " blue pixels)");
  if (c.grass < 5000) return Fail("no grass");
  if (c.road < 5000) return Fail("no road");
  if (c.keyGreen != 0) {
    return Fail(std::to_string(c.keyGreen) + " pixels of key green: the car was not keyed");
  }
  return 0;
}
