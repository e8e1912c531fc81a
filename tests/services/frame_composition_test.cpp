// Frames composed through the services, whose fill is kept back and written only where no
// tile covers it, and, while frames go unseen, recorded and composed only when read, against
// the plain way: fill the whole buffer, copy every tile, draw the car and the status line in
// order. Both must give the same bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "services/screen/pixel_ops.h"
#include "services/services.h"
#include "services/sprites/textured_quad.h"

namespace velko::testing {
namespace {

constexpr int32_t kCar = 1;
constexpr int32_t kFirstTile = 100;
constexpr int32_t kShot = 40;

struct FrameCase {
  const char* what;
  int depth;
  int columns;  // tiles drawn across and down, from one tile left of and above the screen
  int rows;
  int restX;  // the scroll's rest: tiles move this far left and up
  int restY;
  bool holes;           // some cells have no tile
  bool fillSecond;      // the second frame starts with a fill, as the game's do
  int fill[3];          // the fill's colour
  int carDegrees;       // -1: no car
  int carOpacity;       // 255 or 200
  bool alternativeKey;  // the car keyed on (0, 127, 0)
  bool statusLine;
};

class Scene {
 public:
  Scene(const FrameCase& c, bool seen) : c_(c), platform_(Options(seen)), services_(platform_) {
    services_.StartUp();
    services_.ScreenStart();
    services_.ScreenOpen(800, 600, c.depth, "frames");
    // Tile pictures with a pattern, pure green (the tiles' key colour) in a corner: tiles are
    // copied opaque, key colour and all.
    for (int tile = 0; tile < 8; ++tile) {
      services_.SpriteCreate(kFirstTile + tile, 50, 50, 0);
      services_.DrawBegin(services_.SpriteDrawTarget(kFirstTile + tile));
      for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
          services_.DrawPixel(x, y, x + y < 6 ? 0x00FF00 : (x * 5 + tile * 30) | (y * 5) << 8);
      services_.DrawEnd();
      services_.SpriteSetKeyColour(kFirstTile + tile, 0, 255, 0);
    }
    // The car: both greens in its lower corners, only one of them its key.
    services_.SpriteCreate(kCar, 64, 64, 4);
    services_.DrawBegin(services_.SpriteDrawTarget(kCar));
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        services_.DrawPixel(x, y,
                            y > 48 ? (x < 10   ? 0x00FF00
                                      : x > 53 ? 0x007F00
                                               : 0x2040C0)
                                   : 0xC04020 + x);
    services_.DrawEnd();
    services_.SpriteSetKeyColour(kCar, 0, c.alternativeKey ? 127 : 255, 0);
    services_.TexturedSpriteStart();
    services_.TexturedSpriteCreate(kCar, kCar);
  }

  Services& Ops() { return services_; }
  platform::HeadlessPlatform& Platform() { return platform_; }

  int TileAt(int i, int j) const {
    if (c_.holes && (i * 7 + j * 3) % 5 == 0) return 0;
    return kFirstTile + (i + j) % 8;
  }
  int TileX(int i, int frame) const { return 50 * (i - 1) - c_.restX - 13 * frame; }
  int TileY(int j, int frame) const { return 50 * (j - 1) - c_.restY - 7 * frame; }
  bool Fills(int frame) const { return frame == 0 || c_.fillSecond; }

  // The game's way, through the services.
  void Compose(int frame) {
    if (Fills(frame)) services_.ScreenFill(c_.fill[0], c_.fill[1], c_.fill[2]);
    for (int i = 0; i < c_.columns; ++i)
      for (int j = 0; j < c_.rows; ++j)
        if (TileAt(i, j) != 0) services_.SpriteShow(TileAt(i, j), TileX(i, frame), TileY(j, frame));
    if (c_.carDegrees >= 0 && services_.TexturedSceneBegin() != 0) {
      services_.TexturedSpriteRotate(kCar, c_.carDegrees + 40 * frame, 0);
      services_.TexturedSpriteShow(kCar, 368 - 20 * frame, 268, c_.carOpacity);
      services_.TexturedSceneEnd();
    }
    StatusLine(frame);
  }

  // The plain way: every step written straight onto the back buffer.
  void ComposePlain(int frame) {
    const Surface back = services_.Screen().BackBufferMemory()->View();
    if (Fills(frame)) FillSurface(back, PackColour(c_.depth, c_.fill[0], c_.fill[1], c_.fill[2]));
    for (int i = 0; i < c_.columns; ++i)
      for (int j = 0; j < c_.rows; ++j)
        if (TileAt(i, j) != 0) {
          CopyRect(back, TileX(i, frame), TileY(j, frame), SpriteView(TileAt(i, j)),
                   {0, 0, 50, 50});
        }
    if (c_.carDegrees >= 0) {
      services_.TexturedSpriteRotate(kCar, c_.carDegrees + 40 * frame, 0);
      TexturedQuad quad = services_.TexturedSprites().Find(kCar)->corners;
      for (TexturedVertex& vertex : quad) {
        vertex.x += static_cast<float>(368 - 20 * frame);
        vertex.y += 268.0f;
      }
      DrawTexturedQuad(back, quad, SpriteView(kCar),
                       services_.Sprites().Find(kCar)->surface->keyColour,
                       static_cast<std::uint8_t>(c_.carOpacity));
    }
    StatusLine(frame);
  }

  Surface SpriteView(int32_t number) { return services_.Sprites().Find(number)->surface->View(); }

 private:
  static platform::HeadlessOptions Options(bool seen) {
    platform::HeadlessOptions options;
    options.echoMessages = false;
    options.keepFrames = seen;
    return options;
  }

  void StatusLine(int frame) {
    if (!c_.statusLine) return;
    services_.DrawBegin(services_.ScreenDrawTarget());
    services_.DrawString("FPS: " + std::to_string(60 + frame) + " DevantType1: 0");
    services_.DrawEnd();
  }

  FrameCase c_;
  platform::HeadlessPlatform platform_;
  Services services_;
};

// The first difference between two pictures of 800 x 600, or "" when they are the same.
std::string Difference(const std::uint8_t* got, int gotPitch, const Surface& want) {
  const size_t rowBytes = static_cast<size_t>(want.width) * want.BytesPerPixel();
  for (int y = 0; y < want.height; ++y) {
    const std::uint8_t* row = got + static_cast<size_t>(y) * static_cast<size_t>(gotPitch);
    if (std::memcmp(row, want.Row(y), rowBytes) != 0) {
      for (int x = 0; x < want.width; ++x) {
        const size_t at = static_cast<size_t>(x) * want.BytesPerPixel();
        if (std::memcmp(row + at, want.At(x, y), want.BytesPerPixel()) != 0) {
          return "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
      }
    }
  }
  return "";
}

TEST(FrameCompositionTest, EveryWayOfComposingGivesThePlainPicture) {
  const FrameCase cases[] = {
      {"a full map, 16 bits", 16, 18, 14, 17, 33, false, true, {0, 0, 0}, 45, 255, false, true},
      {"a full map, 32 bits, see-through car",
       32,
       18,
       14,
       17,
       33,
       false,
       true,
       {0, 0, 0},
       300,
       200,
       false,
       true},
      {"tiles partly off every edge",
       32,
       20,
       16,
       49,
       1,
       false,
       true,
       {0, 0, 0},
       10,
       255,
       false,
       true},
      {"a map smaller than the screen",
       32,
       9,
       7,
       0,
       0,
       false,
       true,
       {0, 0, 0},
       90,
       200,
       false,
       true},
      {"cells with no tile", 16, 18, 14, 5, 45, true, true, {0, 0, 0}, 180, 255, false, true},
      {"the alternative colours", 16, 18, 14, 20, 20, false, true, {0, 0, 0}, 77, 255, true, true},
      {"a coloured fill, 16 bits", 16, 6, 5, 3, 8, true, true, {200, 100, 50}, 0, 200, false, true},
      {"a coloured fill, 32 bits", 32, 6, 5, 3, 8, true, true, {200, 100, 50}, 0, 200, false, true},
      {"no fill before the second frame",
       32,
       10,
       9,
       25,
       25,
       true,
       false,
       {0, 0, 0},
       135,
       200,
       false,
       true},
      {"tiles alone", 16, 14, 10, 0, 0, true, true, {0, 0, 0}, -1, 255, false, false},
      {"nothing but the fill", 32, 0, 0, 0, 0, false, true, {10, 20, 30}, -1, 255, false, false},
  };
  for (const FrameCase& c : cases) {
    Scene plain(c, true);
    Scene seen(c, true);
    Scene unseen(c, false);
    for (int frame = 0; frame < 2; ++frame) {
      plain.ComposePlain(frame);
      seen.Compose(frame);
      unseen.Compose(frame);
      const Surface want = plain.Ops().Screen().BackBufferMemory()->View();
      // On screen: the presented frame.
      seen.Ops().ScreenPresent();
      const platform::RecordedFrame& shown = seen.Platform().LastFrame();
      ASSERT_EQ(shown.depth, c.depth) << c.what;
      EXPECT_EQ(Difference(shown.pixels.data(), shown.pitch, want), "")
          << c.what << ", frame " << frame << " presented";
      if (frame == 0) {
        unseen.Ops().ScreenPresent();  // composed by nobody, carried into the next frame
        continue;
      }
      // Unseen: composed when F12 grabs it, before and after the frame is presented.
      unseen.Ops().SpriteGrab(kShot, 0, 0, 800, 600);
      const Surface shot = unseen.SpriteView(kShot);
      EXPECT_EQ(Difference(shot.pixels, shot.pitch, want), "") << c.what << ", grabbed";
      unseen.Ops().ScreenPresent();
      const Surface back = unseen.Ops().Screen().BackBuffer()->View();
      EXPECT_EQ(Difference(back.pixels, back.pitch, want), "") << c.what << ", back buffer";
    }
  }
}

}  // namespace
}  // namespace velko::testing
