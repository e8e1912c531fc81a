#include <gtest/gtest.h>

#include <cmath>

#include "services/picture_fixture.h"
#include "services/sprites/textured_quad.h"
#include "services/sprites/textured_sprite_service.h"

namespace velko::testing {
namespace {

TEST(TexturedCornersTest, StartAsTheQuadOneLargerThanThePicture) {
  const TexturedQuad quad = InitialCorners(64, 33);
  EXPECT_EQ(quad[1].x, 64.0f);
  EXPECT_EQ(quad[2].y, 33.0f);
  EXPECT_EQ(quad[3].u, 1.0f);
  EXPECT_EQ(quad[3].v, 1.0f);
  EXPECT_EQ(quad[0].diffuse, 0xFFFFFFFFu);
  EXPECT_EQ(quad[0].rhw, 1.0f);
}

TEST(TexturedCornersTest, AtZeroDegreesThePictureIsTurnedAQuarterClockwise) {
  TexturedQuad quad = InitialCorners(64, 64);
  RotateCorners(quad, 64, 64, 0, 0);
  EXPECT_EQ(quad[0].x, 64.0f);
  EXPECT_EQ(quad[0].y, 0.0f);
  struct Expect {
    int vertex;
    float x, y;
  };
  for (const Expect& e : {Expect{1, 64, 64}, Expect{3, 0, 64}, Expect{2, 0, 0}}) {
    EXPECT_NEAR(quad[static_cast<size_t>(e.vertex)].x, e.x, 0.5) << e.vertex;
    EXPECT_NEAR(quad[static_cast<size_t>(e.vertex)].y, e.y, 0.5) << e.vertex;
  }
  // The game's 1.575 quarter turn, not pi / 2: vertex 1 lands off the exact corner.
  EXPECT_NE(quad[1].x, 64.0f);
}

TEST(TexturedCornersTest, AtTwoHundredSeventyDegreesThePictureIsUpright) {
  TexturedQuad quad = InitialCorners(64, 64);
  RotateCorners(quad, 64, 64, 270, 0);
  EXPECT_NEAR(quad[0].x, 0, 0.5);
  EXPECT_NEAR(quad[0].y, 0, 0.5);
  // Three steps of 1.575 carry the far corner about two thirds of a pixel off.
  EXPECT_NEAR(quad[3].x, 64, 1.0);
  EXPECT_NEAR(quad[3].y, 64, 1.0);
  // 0.0175 per degree, kept in single precision: 270 gives 4.725, not 3 pi / 2.
  const float a = static_cast<float>(0.0175 * 270);
  EXPECT_FLOAT_EQ(quad[0].x,
                  static_cast<float>(32 + 32 * std::cos(double{a}) + 32 * std::sin(double{a})));
}

TEST(TexturedCornersTest, CornersLieOnOneCircle) {
  for (int degrees : {0, 17, 90, 133, 200, 359, -45, 720}) {
    TexturedQuad quad = InitialCorners(100, 50);  // a 99 x 49 picture
    RotateCorners(quad, 100, 50, degrees, 0);
    for (const TexturedVertex& v : quad)
      EXPECT_NEAR(std::hypot(v.x - 50.0, v.y - 25.0), std::sqrt(3125.0), 1e-3) << degrees;
  }
}

TEST(TexturedCornersTest, SizeSourceReadsTheCurrentCorner) {
  TexturedQuad quad = InitialCorners(64, 64);
  RotateCorners(quad, 64, 64, 0, 1);  // vertex 3 still holds (64, 64)
  EXPECT_EQ(quad[0].x, 64.0f);
  RotateCorners(quad, 64, 64, 0, 1);  // now vertex 3 sits near (0, 64): hw becomes 0
  EXPECT_NEAR(quad[0].x, 32 * std::sin(0.0), 1e-4);
}

class TexturedTest : public PictureTest {
 protected:
  TexturedTest() : PictureTest(32) {}
  static constexpr std::uint32_t kKey = 0x00FF00;
  static constexpr std::uint32_t kRed = 0xFF0000;
  static constexpr std::uint32_t kBlue = 0x0000FF;

  // A 63 x 63 texture sprite: a red top half with a blue top-left 8 x 8 corner, keyed green
  // below.
  void MakeCar() {
    std::vector<std::uint8_t> bmp = MakeBmp(63, 63, 24, [](int x, int y) {
      if (x < 8 && y < 8) return std::vector<std::uint8_t>{255, 0, 0};
      if (y < 31) return std::vector<std::uint8_t>{0, 0, 255};
      return std::vector<std::uint8_t>{0, 255, 0};
    });
    dir_.Write("car.bmp", bmp);
    ASSERT_NE(services_->SpriteLoadFile(1, "car.bmp", SpriteModeTexture), 0u);
    services_->SpriteSetKeyColour(1, 0, 255, 0);
    ASSERT_EQ(services_->TexturedSpriteStart(), 1);
    ASSERT_EQ(services_->TexturedSpriteCreate(1, 1), 1);
  }
  void Draw(int degrees, int x, int y, int opacity) {
    ASSERT_EQ(services_->TexturedSceneBegin(), 1);
    services_->TexturedSpriteRotate(1, degrees, 0);
    services_->TexturedSpriteShow(1, x, y, opacity);
    services_->TexturedSceneEnd();
  }
  int Count(std::uint32_t value) {
    const Surface back = Back();
    int count = 0;
    for (int y = 0; y < back.height; ++y)
      for (int x = 0; x < back.width; ++x) count += back.Get(x, y) == value ? 1 : 0;
    return count;
  }
};

TEST_F(TexturedTest, UprightAt270TheRedHalfIsOnTopAndTheKeyIsLeftOut) {
  MakeCar();
  Draw(270, 100, 200, 255);
  EXPECT_EQ(Count(kKey), 0);
  const Surface back = Back();
  EXPECT_EQ(back.Get(110, 205), kRed);
  EXPECT_EQ(back.Get(102, 202), kBlue) << "top-left corner stays top-left";
  EXPECT_EQ(back.Get(130, 250), 0u) << "keyed half shows the background";
  // Everything drawn stays inside the quad's bounding box (with half a pixel of slack).
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      if (back.Get(x, y) != 0) {
        ASSERT_GE(x, 99);
        ASSERT_LE(x, 165);
        ASSERT_GE(y, 199);
        ASSERT_LE(y, 265);
      }
  EXPECT_NEAR(Count(kRed) + Count(kBlue), 64 * 31, 64 * 2);
}

TEST_F(TexturedTest, EachAngleLandsWhereTheCornersSay) {
  MakeCar();
  struct Case {
    int degrees;
    int blueX, blueY;    // a point near the picture's top-left, turned
    int redX, redY;      // a point of the red half
    int emptyX, emptyY;  // a point of the keyed half
  };
  // Origin (300, 300); centre of the quad at (332, 332). The front (top) of the picture points
  // along the angle, measured clockwise from the x axis.
  const Case cases[] = {
      {270, 303, 303, 332, 310, 332, 355},  // front up
      {0, 361, 303, 355, 332, 310, 332},    // front right
      {90, 361, 361, 332, 355, 332, 310},   // front down
      {180, 303, 361, 310, 332, 355, 332},  // front left
  };
  for (const Case& c : cases) {
    services_->ScreenFill(0, 0, 0);
    Draw(c.degrees, 300, 300, 255);
    const Surface back = Back();
    EXPECT_EQ(back.Get(c.blueX, c.blueY), kBlue) << c.degrees;
    EXPECT_EQ(back.Get(c.redX, c.redY), kRed) << c.degrees;
    EXPECT_EQ(back.Get(c.emptyX, c.emptyY), 0u) << c.degrees;
    EXPECT_EQ(Count(kKey), 0) << c.degrees;
  }
  // At an odd angle the corners still bound the picture and no key shows.
  services_->ScreenFill(0, 0, 0);
  Draw(37, 300, 300, 255);
  EXPECT_EQ(Count(kKey), 0);
  EXPECT_NEAR(Count(kRed) + Count(kBlue), 64 * 31, 64 * 3);
  const TexturedQuad& quad = services_->TexturedSprites().Find(1)->corners;
  const Surface back = Back();
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      if (back.Get(x, y) != 0) {
        ASSERT_LE(std::hypot(x + 0.5 - 300 - 32, y + 0.5 - 300 - 32), 45.3);
      }
  EXPECT_NEAR(std::hypot(quad[0].x - 32, quad[0].y - 32), std::sqrt(2048.0), 1e-3);
}

TEST_F(TexturedTest, OpacityBlendsWithItsLowEightBits) {
  MakeCar();
  struct Case {
    int opacity;
    std::uint32_t expectedRed;  // red blended over white
  };
  for (const Case& c : {Case{255, 0xFF0000}, Case{200, 0xFF3737}, Case{456, 0xFF3737},
                        Case{0, 0xFFFFFF}, Case{256, 0xFFFFFF}}) {
    services_->ScreenFill(255, 255, 255);
    Draw(270, 0, 0, c.opacity);
    EXPECT_EQ(Back().Get(30, 20), c.expectedRed) << c.opacity;
  }
}

TEST_F(TexturedTest, BlendsOnSixteenBitsToo) {
  ASSERT_EQ(services_->ScreenOpen(800, 600, 16, "t"), 1);
  MakeCar();
  services_->ScreenFill(255, 255, 255);
  Draw(270, 0, 0, 255);
  EXPECT_EQ(Back().Get(30, 20), 0xF800u);
  EXPECT_EQ(Back().Get(30, 50), 0xFFFFu) << "the keyed half lets the white through";
  services_->ScreenFill(0, 0, 0);
  Draw(270, 0, 0, 200);
  EXPECT_EQ(Back().Get(30, 20), static_cast<std::uint32_t>((31 * 200 + 127) / 255) << 11);
}

TEST_F(TexturedTest, NeedsATextureSpriteAndAnOpenScene) {
  ASSERT_EQ(services_->TexturedSpriteStart(), 1);
  ASSERT_NE(services_->SpriteCreate(2, 8, 8, 0), 0u);
  EXPECT_EQ(services_->TexturedSpriteCreate(1, 2), 0) << "mode 0 is no texture";
  EXPECT_EQ(services_->TexturedSpriteCreate(1, 3), 0) << "no sprite";
  services_->TexturedSceneEnd();  // nothing open: nothing happens
  EXPECT_FALSE(services_->TexturedSprites().SceneOpen());
  MakeCar();
  services_->TexturedSpriteRotate(1, 270, 0);
  services_->TexturedSpriteShow(1, 0, 0, 255);  // outside a scene
  EXPECT_EQ(Count(kRed), 0);
  EXPECT_EQ(services_->TexturedSprites().Find(1)->quadWidth, 64);
}

TEST_F(TexturedTest, FreeingTheSpriteLeavesNothingToDraw) {
  MakeCar();
  services_->SpriteFree(1);
  Draw(270, 0, 0, 255);
  EXPECT_EQ(Count(kRed), 0);
  // Drawing into the sprite after making the textured sprite shows in it.
  MakeCar();
  ASSERT_NE(services_->DrawBegin(services_->SpriteDrawTarget(1)), 0u);
  for (int y = 18; y <= 22; ++y)
    for (int x = 28; x <= 32; ++x) services_->DrawPixel(x, y, 0xFFFFFF);
  services_->DrawEnd();
  Draw(270, 0, 0, 255);
  EXPECT_EQ(Back().Get(30, 20), 0xFFFFFFu);
}

TEST_F(TexturedTest, StartFailsWithoutADisplay) {
  platform::HeadlessPlatform platform;
  Services services(platform);
  services.StartUp();
  EXPECT_EQ(services.TexturedSpriteStart(), 0);
  EXPECT_EQ(services.TexturedSceneBegin(), 0);
}

}  // namespace
}  // namespace velko::testing
