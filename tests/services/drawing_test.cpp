#include <gtest/gtest.h>

#include "services/drawing/drawing_service.h"
#include "services/picture_fixture.h"
#include "services/text/text.h"

namespace velko::testing {
namespace {

class DrawingTest : public PictureTest {};

int32_t Compose(int red, int green, int blue) {
  return red + green * 256 + blue * 65536;
}

TEST_F(DrawingTest, PixelsArePackedForTheBufferDepth) {
  struct Case {
    int depth;
    int32_t colour;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {32, Compose(0, 255, 0), 0x00FF00},   {16, Compose(0, 255, 0), 0x07E0},
      {32, Compose(255, 0, 0), 0xFF0000},   {16, Compose(255, 0, 0), 0xF800},
      {32, Compose(0, 0, 255), 0x0000FF},   {16, Compose(0, 0, 255), 0x001F},
      {16, Compose(200, 100, 50), 0xCB26},  {32, Compose(200, 100, 50), 0xC86432},
      {16, Compose(127, 127, 255), 0x7BFF}, {16, Compose(7, 3, 7), 0x0000},
  };
  EXPECT_EQ(Compose(0, 255, 0), 0xFF00);
  for (const Case& c : cases) {
    ASSERT_EQ(services_->ScreenOpen(800, 600, c.depth, "t"), 1);
    ASSERT_NE(services_->DrawBegin(services_->ScreenDrawTarget()), 0u);
    services_->DrawPixel(17, 9, c.colour);
    services_->DrawEnd();
    EXPECT_EQ(Back().Get(17, 9), c.expected) << c.depth << " bits, colour " << c.colour;
    EXPECT_EQ(Back().Get(16, 9), 0u);
  }
}

TEST_F(DrawingTest, PixelsOutsideTheTargetAreIgnored) {
  ASSERT_NE(services_->SpriteCreate(1, 4, 3, 0), 0u);
  ASSERT_NE(services_->DrawBegin(services_->SpriteDrawTarget(1)), 0u);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {1 << 30, 1 << 30}})
    services_->DrawPixel(x, y, Compose(255, 255, 255));
  services_->DrawPixel(3, 2, Compose(255, 255, 255));
  services_->DrawEnd();
  const Surface sprite = SpriteView(1);
  int lit = 0;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) lit += sprite.Get(x, y) != 0 ? 1 : 0;
  EXPECT_EQ(lit, 1);
  EXPECT_EQ(sprite.Get(3, 2), 0xFFFFu);
}

TEST_F(DrawingTest, TargetsDescribeTheirBuffers) {
  DrawTarget* target = services_->ScreenDrawTarget();
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->kind, 7);
  EXPECT_EQ(target->width, 800);
  EXPECT_EQ(target->height, 600);
  EXPECT_EQ(target->bitsPerPixel, 16);
  EXPECT_EQ(target->formatCode, 3);
  EXPECT_EQ(target->pixels, Back().pixels);
  EXPECT_EQ(target->pitch, 1600);
  EXPECT_NE(target->context, 0u);
  services_->DrawBegin(target);
  services_->DrawEnd();
}

TEST_F(DrawingTest, OneTargetOfEachKindAtATime) {
  DrawTarget* first = services_->ScreenDrawTarget();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(services_->ScreenDrawTarget(), nullptr);
  ASSERT_NE(services_->DrawBegin(first), 0u);
  // Beginning with null ends the drawing in progress (giving the screen back) and draws nothing.
  EXPECT_EQ(services_->DrawBegin(nullptr), 0u);
  services_->DrawPixel(0, 0, Compose(255, 255, 255));
  EXPECT_EQ(Back().Get(0, 0), 0u);
  EXPECT_NE(services_->ScreenDrawTarget(), nullptr);

  ASSERT_NE(services_->SpriteCreate(2, 4, 4, 0), 0u);
  ASSERT_NE(services_->SpriteCreate(3, 4, 4, 0), 0u);
  DrawTarget* sprite = services_->SpriteDrawTarget(2);
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(services_->SpriteDrawTarget(3), nullptr);
  services_->DrawBegin(sprite);
  services_->DrawEnd();
  EXPECT_NE(services_->SpriteDrawTarget(3), nullptr);
  EXPECT_EQ(services_->SpriteDrawTarget(99), nullptr) << "no such sprite";
}

TEST_F(DrawingTest, PresentGivesTheScreenBackEvenWithoutDrawEnd) {
  ASSERT_NE(services_->DrawBegin(services_->ScreenDrawTarget()), 0u);
  services_->ScreenPresent();
  // The old drawing no longer reaches the buffer.
  services_->DrawPixel(5, 5, Compose(255, 255, 255));
  EXPECT_EQ(Back().Get(5, 5), 0u);
  DrawTarget* again = services_->ScreenDrawTarget();
  ASSERT_NE(again, nullptr);
  services_->DrawBegin(again);  // ends the stale drawing without giving back the new hold
  EXPECT_EQ(services_->ScreenDrawTarget(), nullptr);
  services_->DrawPixel(5, 5, Compose(255, 255, 255));
  EXPECT_EQ(Back().Get(5, 5), 0xFFFFu);
  services_->DrawEnd();
}

// The headless raster: 8 x 16 per character, ink in x 1..6 and y 4..11 of each cell.
TEST_F(DrawingTest, TextFlowsLeftToRightBlackOnWhite) {
  ASSERT_NE(services_->DrawBegin(services_->ScreenDrawTarget()), 0u);
  services_->DrawString("ab");
  services_->DrawString("cd");
  services_->DrawString("");
  services_->DrawEnd();
  const Surface back = Back();
  for (int cell = 0; cell < 4; ++cell) {
    EXPECT_EQ(back.Get(cell * 8, 0), 0xFFFFu) << "white band, cell " << cell;
    EXPECT_EQ(back.Get(cell * 8 + 3, 8), 0x0000u) << "black ink, cell " << cell;
  }
  EXPECT_EQ(back.Get(31, 15), 0xFFFFu);
  EXPECT_EQ(back.Get(32, 0), 0u) << "the band ends with the text";
  EXPECT_EQ(back.Get(0, 16), 0u);
  // A fresh target starts again at the top-left corner.
  services_->ScreenFill(0, 0, 0);
  ASSERT_NE(services_->DrawBegin(services_->ScreenDrawTarget()), 0u);
  services_->DrawString("x");
  services_->DrawEnd();
  EXPECT_EQ(Back().Get(0, 0), 0xFFFFu);
  EXPECT_EQ(Back().Get(8, 0), 0u);
}

TEST_F(DrawingTest, TextIsCutAtTheTargetEdge) {
  ASSERT_NE(services_->SpriteCreate(4, 20, 10, 0), 0u);
  ASSERT_NE(services_->DrawBegin(services_->SpriteDrawTarget(4)), 0u);
  services_->DrawString("Chargement...");
  services_->DrawString("more");
  services_->DrawEnd();
  EXPECT_EQ(SpriteView(4).Get(19, 2), 0xFFFFu) << "band";
  EXPECT_EQ(SpriteView(4).Get(19, 9), 0u) << "ink of the third letter";
}

TEST_F(DrawingTest, NothingHappensWithoutADrawing) {
  services_->DrawPixel(1, 1, Compose(255, 255, 255));
  services_->DrawString("abc");
  services_->DrawEnd();
  EXPECT_EQ(Back().Get(1, 1), 0u);
  EXPECT_EQ(Back().Get(3, 8), 0u);
}

}  // namespace
}  // namespace velko::testing
