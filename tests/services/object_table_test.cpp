#include "services/memory/object_table.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/headless/headless_platform.h"
#include "services/memory/dim_array.h"
#include "services/services.h"
#include "support/temp_dir.h"

namespace velko {
namespace {

struct Record {
  int value = 0;
};

TEST(ObjectTableTest, GrowsByTheKindsStepOnlyAtOrAboveCapacity) {
  struct Case {
    const char* kind;
    int32_t initial, step, extra;
    int32_t number;
    int32_t capacityAfter;
    size_t recordsAfter;
  };
  const Case cases[] = {
      {"file 9", 10, 10, 0, 9, 10, 10},
      {"file 10", 10, 10, 0, 10, 20, 20},
      {"file 12", 10, 10, 0, 12, 22, 22},
      {"sound 60", 50, 50, 1, 60, 110, 111},
      {"sprite 2000", 50, 50, 1, 2000, 2050, 2051},
      {"window 10", 10, 10, 2, 10, 20, 22},
      {"gadget 29", 30, 30, 2, 29, 30, 32},
      {"gadget 30", 30, 30, 2, 30, 60, 62},
  };
  for (const Case& c : cases) {
    ObjectTable<Record> table(c.initial, c.step, c.extra);
    table.Make(c.number)->value = 7;
    EXPECT_EQ(table.Capacity(), c.capacityAfter) << c.kind;
    EXPECT_EQ(table.RecordCount(), c.recordsAfter) << c.kind;
    EXPECT_EQ(table.Find(c.number)->value, 7) << c.kind;
  }
}

TEST(ObjectTableTest, KeepsOldRecordsAndZeroesNewOnes) {
  ObjectTable<Record> table(50, 50, 1);
  table.Make(3)->value = 33;
  table.Make(120)->value = 5;
  EXPECT_EQ(table.Find(3)->value, 33);
  for (int32_t n = 0; n < table.Capacity(); ++n) {
    if (n != 3 && n != 120) {
      EXPECT_EQ(table.Find(n)->value, 0) << n;
    }
  }
}

TEST(ObjectTableTest, LooksUpNothingOutsideTheTable) {
  ObjectTable<Record> table(10, 10, 0);
  EXPECT_EQ(table.Find(-1), nullptr);
  EXPECT_EQ(table.Find(10), nullptr);
  EXPECT_NE(table.Find(9), nullptr);
}

TEST(ObjectTableTest, NumbersTooHighToHoldFailWithTheTableUnchanged) {
  for (const int32_t number : {std::numeric_limits<int32_t>::max(),
                               std::numeric_limits<int32_t>::max() - 5, int32_t{1} << 30}) {
    ObjectTable<Record> table(50, 50, 1);
    table.Make(7)->value = 3;
    EXPECT_EQ(table.Make(number), nullptr) << number;
    EXPECT_EQ(table.Capacity(), 50) << number;
    EXPECT_EQ(table.Find(7)->value, 3) << number;
  }
  ObjectTable<Record> table(10, 10, 0);
  EXPECT_EQ(table.Make(-1), nullptr);
}

// The same numbers through the services that make objects: each creation fails cleanly.
TEST(ObjectTableTest, ServicesRefuseObjectNumbersTheirTablesCannotHold) {
  testing::TempDir dir;
  platform::HeadlessOptions options;
  options.executablePath = dir.ExecutablePath();
  options.echoMessages = false;
  platform::HeadlessPlatform platform(options);
  Services services(platform);
  services.StartUp();
  ASSERT_NE(services.ScreenStart(), 0);
  ASSERT_NE(services.ScreenOpen(800, 600, 16, "t"), 0);
  dir.Write("x.bin", "ab");
  for (const int32_t number : {std::numeric_limits<int32_t>::max(), int32_t{1} << 30}) {
    EXPECT_EQ(services.WindowOpen(number, 0, 0, 100, 100, 0x00C00001, "t"), 0u) << number;
    EXPECT_EQ(services.SpriteCreate(number, 10, 10, 0), 0u) << number;
    EXPECT_EQ(services.SpriteGrab(number, 0, 0, 10, 10), 0u) << number;
    EXPECT_EQ(services.DataFileOpen(number, "x.bin"), 0) << number;
    EXPECT_EQ(services.TexturedSpriteCreate(number, 1), 0) << number;
  }
  EXPECT_NE(services.SpriteCreate(2000, 10, 10, 0), 0u);
}

TEST(DimArrayTest, OneDimensionalHasUpperBoundPlusOnePlusSpare) {
  auto zero = DimArray<Record>::Create1D(0);
  EXPECT_EQ(zero.Count(), 0);
  ASSERT_NE(zero.At(0), nullptr);
  EXPECT_EQ(zero.At(0)->value, 0);
  EXPECT_EQ(zero.Size(), 2u);  // index 0 and the spare

  auto four = DimArray<Record>::Create1D(4);
  EXPECT_EQ(four.Size(), 6u);
  EXPECT_EQ(four.At(6), nullptr);
}

TEST(DimArrayTest, TwoDimensionalUsesColumnMajorStrides) {
  const int64_t sizes[] = {4, 3};
  auto array = DimArray<Record>::CreateND(sizes);
  EXPECT_EQ(array.Strides(), (std::vector<int64_t>{3, 1}));
  EXPECT_EQ(array.Count(), 12);
  EXPECT_EQ(array.Size(), 13u);
  array.At(2, 1)->value = 9;
  EXPECT_EQ(array.Element(7)->value, 9);
  // The tile grid's rule: cell (x, y) is x * (height + 1) + y.
  const int64_t grid[] = {2 + 1, 3 + 1};
  auto cells = DimArray<Record>::CreateND(grid);
  cells.At(1, 2)->value = 5;
  EXPECT_EQ(cells.Element(1 * 4 + 2)->value, 5);
}

TEST(DimArrayTest, DegenerateSizesAllocateNothingDangerous) {
  auto negative = DimArray<Record>::Create1D(-5);
  EXPECT_EQ(negative.At(0), nullptr);
  const int64_t sizes[] = {0, 0};
  auto empty = DimArray<Record>::CreateND(sizes);
  EXPECT_EQ(empty.Count(), 0);
  EXPECT_NE(empty.At(0, 0), nullptr);  // the spare element
}

}  // namespace
}  // namespace velko
