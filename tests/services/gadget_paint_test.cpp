// The look of the controls, read back from the client pixels a window presents.
#include <gtest/gtest.h>

#include <cstring>

#include "services/windows/canvas.h"
#include "services/windows/control.h"
#include "services/windows/window_service.h"
#include "support/window_test_support.h"

namespace velko {
namespace {

using gadgets::kButtonFace;
using gadgets::kButtonHighlight;
using gadgets::kFrameBlack;
using gadgets::kWindowBackground;
namespace keys = gadgets::keys;

class GadgetPaintTest : public ::testing::Test {
 protected:
  GadgetPaintTest() : windows(spy), driver(spy.Headless(), windows, 1) {
    windows.Start();
    windows.GadgetsStart();
    testing::BuildDialog(windows);
  }
  gadgets::Colour At(int x, int y) { return windows.ClientPixels(1)->At(x, y); }
  // Black pixels along the inside of a rectangle's edge, 3 pixels in (where the focus is drawn).
  int BlackOnRing(const platform::Rect& r, int in) {
    int count = 0;
    for (int x = r.x + in; x < r.x + r.width - in; ++x) {
      count += At(x, r.y + in) == kFrameBlack;
      count += At(x, r.y + r.height - 1 - in) == kFrameBlack;
    }
    return count;
  }
  testing::SpyPlatform spy;
  WindowService windows;
  testing::WindowDriver driver;
};

TEST_F(GadgetPaintTest, TheBackgroundIsButtonFace) {
  EXPECT_EQ(At(0, 0), kButtonFace);
  EXPECT_EQ(At(299, 179), kButtonFace);
  EXPECT_EQ(At(10, 150), kButtonFace);
}

TEST_F(GadgetPaintTest, TheDefaultButtonHasABlackBorderAroundItsBevel) {
  EXPECT_EQ(At(120, 145), kFrameBlack);
  EXPECT_EQ(At(179, 164), kFrameBlack);
  EXPECT_EQ(At(150, 145), kFrameBlack);
  EXPECT_EQ(At(121, 146), kButtonHighlight);  // the raised bevel inside it
  // A plain button has no border: its bevel starts at the edge.
  windows.GadgetButton(9, 10, 150, 60, 20, "Other", 0);
  EXPECT_EQ(At(10, 150), kButtonHighlight);
  EXPECT_EQ(At(69, 169), gadgets::kDarkShadow);
}

TEST_F(GadgetPaintTest, CheckBoxesAreWhiteSquaresThatShowATick) {
  const int boxY = 100 + (20 - 13) / 2;
  EXPECT_EQ(At(80 + 6, boxY + 6), kWindowBackground);
  EXPECT_EQ(At(80, boxY), gadgets::kButtonShadow);  // sunken edge
  windows.GadgetStateSet(4, 1);
  // The tick runs down to column 2 of its 7 x 7 cell (rows 4 to 6) and up to column 6.
  EXPECT_EQ(At(80 + 3 + 2, boxY + 3 + 5), gadgets::kWindowText);
  EXPECT_EQ(At(80 + 3 + 6, boxY + 3 + 1), gadgets::kWindowText);
  EXPECT_EQ(At(80 + 3 + 6, boxY + 3 + 5), kWindowBackground);
  windows.GadgetStateSet(4, 0);
  EXPECT_EQ(At(80 + 3 + 2, boxY + 3 + 5), kWindowBackground);
}

TEST_F(GadgetPaintTest, FocusDrawsADottedRectangle) {
  const platform::Rect ok{120, 145, 60, 20};
  const int before = BlackOnRing(ok, 4);
  driver.Press(keys::kTab, true);
  const int after = BlackOnRing(ok, 4);
  EXPECT_GT(after, before + 20);
  // Dotted: no two neighbours along the top edge are both black.
  for (int x = ok.x + 5; x < ok.x + ok.width - 6; ++x) {
    EXPECT_FALSE(At(x, ok.y + 4) == kFrameBlack && At(x + 1, ok.y + 4) == kFrameBlack) << x;
  }
}

TEST_F(GadgetPaintTest, TheDroppedListIsPaintedOverTheCheckBoxes) {
  const int boxY = 80 + (20 - 13) / 2;
  const gadgets::Colour underBefore = At(80 + 1, boxY + 1);
  driver.ClickGadget(1);
  const platform::Rect row = windows.GadgetItemRect(1, 1).value();
  ASSERT_GT(row.y + row.height, boxY + 1);
  EXPECT_NE(At(80 + 1, boxY + 1), underBefore);
  EXPECT_EQ(At(row.x - 1, row.y), kFrameBlack);  // the list's border
  driver.Press(keys::kEscape);
  EXPECT_EQ(At(80 + 1, boxY + 1), underBefore);
}

TEST_F(GadgetPaintTest, TheChosenItemShowsInTheField) {
  const platform::Rect field = windows.GadgetFaceRect(1).value();
  auto inkInField = [&] {
    int ink = 0;
    for (int y = field.y + 3; y < field.y + field.height - 3; ++y) {
      for (int x = field.x + 3; x < field.x + 60; ++x) ink += At(x, y) == gadgets::kWindowText;
    }
    return ink;
  };
  EXPECT_EQ(inkInField(), 0);
  windows.GadgetStateSet(1, 0);
  EXPECT_GT(inkInField(), 0);
}

TEST_F(GadgetPaintTest, EveryChangeIsPresented) {
  const platform::RecordedFrame& frame = spy.Headless().LastFrame();
  windows.GadgetStateSet(5, 1);
  EXPECT_EQ(frame.windowId, windows.NativeIdOf(1));
  ASSERT_EQ(frame.width, 300);
  ASSERT_EQ(frame.height, 180);
  const auto& pixels = windows.ClientPixels(1)->Pixels();
  ASSERT_EQ(frame.pixels.size(), pixels.size() * 4);
  EXPECT_EQ(std::memcmp(frame.pixels.data(), pixels.data(), frame.pixels.size()), 0);
}

TEST_F(GadgetPaintTest, AWindowWithoutGadgetsIsNeverPaintedOver) {
  const WindowHandle game = windows.WindowOpen(2, 0, 0, 800, 600, 0x00C00001, "Game");
  ASSERT_NE(game, 0u);
  testing::WindowDriver gameDriver(spy.Headless(), windows, 2);
  platform::InputEvent exposed;
  exposed.type = platform::EventType::Exposed;
  gameDriver.Send(exposed);
  gameDriver.Click(10, 10);
  EXPECT_NE(spy.Headless().LastFrame().windowId, windows.NativeIdOf(2));
}

TEST_F(GadgetPaintTest, DisabledTextIsGrey) {
  const platform::Rect box = windows.GadgetFaceRect(5).value();
  auto count = [&](gadgets::Colour colour) {
    int n = 0;
    for (int y = box.y; y < box.y + box.height; ++y) {
      for (int x = box.x + 17; x < box.x + box.width; ++x) n += At(x, y) == colour;
    }
    return n;
  };
  EXPECT_GT(count(gadgets::kWindowText), 0);
  windows.GadgetEnable(5, false);
  EXPECT_EQ(count(gadgets::kWindowText), 0);
  EXPECT_GT(count(gadgets::kGreyText), 0);
}

TEST(CanvasTest, TextBlendsByCoverage) {
  gadgets::Canvas canvas(4, 1);
  platform::TextRaster raster;
  raster.width = 3;
  raster.height = 1;
  raster.coverage = {0, 255, 128};
  canvas.Fill({0, 0, 4, 1}, 0xFFFFFF);
  canvas.Text(raster, 1, 0, 0x000000, {0, 0, 4, 1});
  EXPECT_EQ(canvas.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(1, 0), 0xFFFFFFu);  // no coverage
  EXPECT_EQ(canvas.At(2, 0), 0x000000u);  // full ink
  const gadgets::Colour half = canvas.At(3, 0);
  EXPECT_EQ(half, 0x7F7F7Fu);  // 255 - 255 * 128 / 255
  // Clipped to the rectangle given, never outside the canvas.
  canvas.Text(raster, 2, 0, 0x000000, {0, 0, 3, 1});
  EXPECT_EQ(canvas.At(3, 0), 0x7F7F7Fu);
  canvas.Text(raster, -5, -5, 0x000000, {-10, -10, 40, 40});
}

TEST(TextCacheTest, WrapsAtWordsWithinTheWidth) {
  platform::HeadlessPlatform platform;
  gadgets::TextCache texts(platform);
  // Headless text is 8 pixels a character.
  const auto lines = texts.Wrap("Veillez choisir votre mode d'affichage :", 200);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Veillez choisir votre");
  EXPECT_EQ(lines[1], "mode d'affichage :");
  EXPECT_EQ(texts.Wrap("averyveryverylongword", 16).size(), 1u);
  EXPECT_EQ(texts.Wrap("", 100).size(), 1u);
}

}  // namespace
}  // namespace velko
