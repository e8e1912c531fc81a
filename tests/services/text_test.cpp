#include "services/text/text.h"

#include <gtest/gtest.h>

#include <climits>

#include "services/text/random.h"

namespace velko {
namespace {

TEST(TextFromIntTest, WritesSignedDecimal) {
  EXPECT_EQ(TextFromInt(-5), "-5");
  EXPECT_EQ(TextFromInt(0), "0");
  EXPECT_EQ(TextFromInt(62), "62");
  EXPECT_EQ(TextFromInt(INT32_MIN), "-2147483648");
}

TEST(IntFromTextTest, CountsEveryCharacterAsADigit) {
  struct Case {
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {
      {"32", 32},       {"-7", -7}, {"", 0},      {"1a", 59},
      {"16", 16},       {"-", 0},   {" 1", 2401},  // a space counts as (32 - 48) mod 256 = 240
      {"4294967297", 1}};
  for (const Case& c : cases) EXPECT_EQ(IntFromText(c.text), c.expected) << c.text;
}

TEST(TextHeadTest, TakesAtMostCountCharacters) {
  EXPECT_EQ(TextHead("abc", 2), "ab");
  EXPECT_EQ(TextHead("abc", 5), "abc");
  EXPECT_EQ(TextHead("abc", 0), "");
  EXPECT_EQ(TextHead("abc", -1), "");
  EXPECT_EQ(TextHead("32 bits", 2), "32");
}

TEST(TextAlignRightTest, AlwaysGivesExactlyWidthCharacters) {
  EXPECT_EQ(TextAlignRight("7", 3, "0"), "007");
  EXPECT_EQ(TextAlignRight("123", 3, "0"), "123");
  EXPECT_EQ(TextAlignRight("1234", 3, "0"), "123");
  EXPECT_EQ(TextAlignRight("", 2), "  ");
  EXPECT_EQ(TextAlignRight("abc", 0), "");
  EXPECT_EQ(TextAlignRight("x", 3, "ab"), "aax");
}

TEST(TextEqualsTest, IsExactAndCaseSensitive) {
  EXPECT_EQ(TextEquals("", ""), 1);
  EXPECT_EQ(TextEquals("TRUE", "TRUE"), 1);
  EXPECT_EQ(TextEquals("TRUE", "true"), 0);
  EXPECT_EQ(TextEquals("TRUE", "TRUE "), 0);
}

TEST(ColourComposeTest, PacksRedLowest) {
  EXPECT_EQ(ColourCompose(0, 255, 0), 0xFF00);
  EXPECT_EQ(ColourCompose(255, 0, 0), 0xFF);
  EXPECT_EQ(ColourCompose(0, 0, 255), 0xFF0000);
  EXPECT_EQ(ColourCompose(200, 100, 50), 200 + 100 * 256 + 50 * 65536);
}

TEST(RandomTest, ReseedZeroGivesTheKnownSequence) {
  RandomGenerator random;
  random.Reseed(0);
  const int32_t expected[] = {4, 7, 5, 3, 2};
  for (int32_t value : expected) EXPECT_EQ(random.UpTo(8), value);
}

TEST(RandomTest, StaysInRangeAndAdvancesOnEveryCall) {
  RandomGenerator a;
  RandomGenerator b;
  a.Reseed(1234);
  b.Reseed(1234);
  for (int i = 0; i < 1000; ++i) {
    EXPECT_EQ(a.UpTo(0), 0);
    const int32_t v = b.UpTo(8);
    EXPECT_GE(v, 0);
    EXPECT_LE(v, 8);
  }
  // Both advanced the same number of steps, so they agree again.
  EXPECT_EQ(a.UpTo(1000000), b.UpTo(1000000));
}

TEST(RandomTest, NegativeMaximumGivesTheSentinelButStillSteps) {
  RandomGenerator a;
  RandomGenerator b;
  a.Reseed(7);
  b.Reseed(7);
  EXPECT_EQ(a.UpTo(-1), INT32_MIN);
  b.UpTo(5);
  EXPECT_EQ(a.UpTo(100), b.UpTo(100));
}

}  // namespace
}  // namespace velko
