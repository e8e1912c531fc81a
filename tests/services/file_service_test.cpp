#include "services/files/file_service.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/file_system.h"
#include "services/files/program_directory.h"
#include "support/temp_dir.h"

namespace velko {
namespace {

using testing::TempDir;

class FileServiceTest : public ::testing::Test {
 protected:
  TempDir dir_;
  ProgramDirectory programDirectory_ = ProgramDirectory::FromExecutablePath(dir_.ExecutablePath());
  FileService files_{programDirectory_};
};

TEST(ProgramDirectoryTest, KeepsTheTrailingSeparator) {
  EXPECT_EQ(ProgramDirectory::FromExecutablePath("/opt/velko/velko").Path(), "/opt/velko/");
  EXPECT_EQ(ProgramDirectory::FromExecutablePath("velko").Path(), "");
  EXPECT_EQ(ProgramDirectory::FromExecutablePath("/velko").Path(), "/");
}

TEST(ProgramDirectoryTest, ResolvesBackslashNamesAgainstTheProgramDirectory) {
  const auto dir = ProgramDirectory::FromExecutablePath("/opt/velko/velko");
  EXPECT_EQ(dir.Resolve("screenshots\\screen000.bmp"), "/opt/velko/screenshots/screen000.bmp");
  EXPECT_EQ(dir.Resolve("level.map"), "/opt/velko/level.map");
  EXPECT_EQ(dir.Resolve("/tmp/x"), "/tmp/x");
}

TEST_F(FileServiceTest, ReadsSignedLittleEndianValues) {
  dir_.Write("values.bin", std::string("\xFE\xFF\x80\x7F\x34\x12", 6));
  ASSERT_NE(files_.DataFileOpen(1, "values.bin"), 0);
  EXPECT_EQ(files_.DataFileReadInt16(), -2);
  EXPECT_EQ(files_.DataFileReadInt8(), -128);
  EXPECT_EQ(files_.DataFileReadInt8(), 127);
  EXPECT_EQ(files_.DataFileReadInt16(), 0x1234);
  files_.DataFileClose(1);
}

TEST_F(FileServiceTest, ReadsPastTheEndRepeatTheTransferCell) {
  dir_.Write("short.bin", std::string("\x34\x12\xAB", 3));
  ASSERT_NE(files_.DataFileOpen(1, "short.bin"), 0);
  EXPECT_EQ(files_.DataFileReadInt16(), 0x1234);
  // One byte left: the new low byte joins the old high byte.
  EXPECT_EQ(files_.DataFileReadInt16(), static_cast<int16_t>(0x12AB));
  EXPECT_EQ(files_.DataFileReadInt8(), static_cast<int8_t>(0xAB));
  EXPECT_EQ(files_.DataFileReadInt16(), static_cast<int16_t>(0x12AB));
  files_.DataFileClose(1);

  dir_.Write("word.bin", std::string("\x34\x12", 2));
  ASSERT_NE(files_.DataFileOpen(1, "word.bin"), 0);
  EXPECT_EQ(files_.DataFileReadInt16(), 0x1234);
  EXPECT_EQ(files_.DataFileReadInt8(), 0x34);
  EXPECT_EQ(files_.DataFileReadInt16(), 0x1234);
}

TEST_F(FileServiceTest, LongFilesReadTheSameAcrossTheReadAhead) {
  // Read from an odd offset: words straddle every read-ahead boundary, and one byte is left.
  constexpr size_t kLength = 200002;
  std::string bytes(kLength, '\0');
  for (size_t i = 0; i < kLength; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  const auto byteAt = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  dir_.Write("long.bin", bytes);
  ASSERT_NE(files_.DataFileOpen(1, "long.bin"), 0);
  ASSERT_EQ(files_.DataFileReadInt8(), static_cast<int8_t>(byteAt(0)));
  size_t at = 1;
  for (; at + 1 < kLength; at += 2) {
    const auto expected = static_cast<int16_t>(byteAt(at) | (byteAt(at + 1) << 8));
    ASSERT_EQ(files_.DataFileReadInt16(), expected) << "at " << at;
  }
  // The last byte alone, under the high byte of the word before.
  const auto last = static_cast<int16_t>(byteAt(at) | (byteAt(at - 1) << 8));
  EXPECT_EQ(files_.DataFileReadInt16(), last);
  EXPECT_EQ(files_.DataFileReadInt16(), last);
}

TEST_F(FileServiceTest, OpeningAnotherFileReadsItFromItsStart) {
  dir_.Write("a.bin", std::string("\x01\x02\x03\x04", 4));
  dir_.Write("b.bin", std::string("\x11\x12", 2));
  ASSERT_NE(files_.DataFileOpen(1, "a.bin"), 0);
  EXPECT_EQ(files_.DataFileReadInt8(), 1);
  ASSERT_NE(files_.DataFileOpen(2, "b.bin"), 0);
  EXPECT_EQ(files_.DataFileReadInt16(), 0x1211);
  ASSERT_NE(files_.DataFileOpen(3, "a.bin"), 0);
  EXPECT_EQ(files_.DataFileReadInt16(), 0x0201);
  // Closing the file being read: reads give the transfer cell, not what was read ahead.
  files_.DataFileClose(3);
  EXPECT_EQ(files_.DataFileReadInt16(), 0x0201);
}

TEST_F(FileServiceTest, AMissingFileIsNeitherOpenedNorCreated) {
  EXPECT_EQ(files_.DataFileOpen(1, "level.map"), 0);
  EXPECT_FALSE(dir_.Exists("level.map"));
  // In a fresh run the reads then give the cleared transfer cell.
  EXPECT_EQ(files_.DataFileReadInt16(), 0);
  EXPECT_EQ(files_.DataFileReadInt8(), 0);
  EXPECT_EQ(files_.DataFileSize("level.map"), -1);
}

// A file the program may read but not write. Root may write any plain file, so then a system
// file that refuses writing to everybody stands in.
std::string ReadOnlyFile(const TempDir& dir) {
  dir.Write("locked.map", std::string("\x05\x00", 2));
  namespace fs = std::filesystem;
  fs::permissions(dir.File("locked.map"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const std::u8string locked = dir.File("locked.map").u8string();
  const std::string path(locked.begin(), locked.end());
  if (!files::IsWritable(path)) return path;
  for (const char* candidate : {"/sys/devices/system/cpu/online", "/sys/kernel/profiling"}) {
    const int writable = ::open(candidate, O_RDWR);
    if (writable >= 0) {
      ::close(writable);
      continue;
    }
    if (::access(candidate, R_OK) == 0) return candidate;
  }
  return {};
}

TEST_F(FileServiceTest, AReadOnlyFileStillOpensForReading) {
  const std::string path = ReadOnlyFile(dir_);
  if (path.empty()) GTEST_SKIP() << "no read-only file to be had here";
  std::ifstream direct(path, std::ios::binary);
  const int firstByte = direct.get();
  ASSERT_NE(firstByte, EOF);
  ASSERT_NE(files_.DataFileOpen(1, path), 0);
  EXPECT_EQ(files_.DataFileReadInt8(), static_cast<int8_t>(firstByte));
}

TEST_F(FileServiceTest, ReadsWithoutAnOpenFileGiveTheTransferCell) {
  EXPECT_EQ(files_.DataFileReadInt16(), 0);
  EXPECT_EQ(files_.DataFileOpen(1, "no-such-dir\\file.bin"), 0);
  EXPECT_EQ(files_.DataFileReadInt8(), 0);
  // A closed file is never read again through a reused descriptor.
  dir_.Write("a.bin", std::string("\x11\x22", 2));
  ASSERT_NE(files_.DataFileOpen(1, "a.bin"), 0);
  EXPECT_EQ(files_.DataFileReadInt8(), 0x11);
  files_.DataFileClose(1);
  EXPECT_EQ(files_.DataFileReadInt8(), 0x11);
  files_.DataFileClose(1);  // twice: nothing happens
}

TEST_F(FileServiceTest, GrowsTheTableForHighNumbers) {
  dir_.Write("a.bin", "x");
  EXPECT_EQ(files_.Capacity(), 10);
  ASSERT_NE(files_.DataFileOpen(12, "a.bin"), 0);
  EXPECT_EQ(files_.Capacity(), 22);
  EXPECT_EQ(files_.DataFileOpen(-1, "a.bin"), 0);
}

TEST_F(FileServiceTest, AFailedOpenGrowsTheTableToo) {
  struct Case {
    int32_t number;
    int32_t capacity;
  };
  // In turn on one table: a number at or above the capacity makes it n + 10, whatever the
  // open gives; a number below it changes nothing.
  const Case cases[] = {{9, 10}, {10, 20}, {12, 20}, {20, 30}, {25, 30}, {30, 40}};
  for (const Case& c : cases) {
    EXPECT_EQ(files_.DataFileOpen(c.number, "no-such-dir\\file.bin"), 0) << c.number;
    EXPECT_EQ(files_.Capacity(), c.capacity) << c.number;
  }
}

TEST_F(FileServiceTest, SizesNamesInTheProgramDirectory) {
  dir_.Write("three.bin", std::string(300, 'x'));
  dir_.Write("empty.bin", "");
  std::filesystem::create_directory(dir_.File("screenshots"));
  dir_.Write("screenshots/screen002.bmp", "BM");
  struct Case {
    const char* name;
    int32_t size;
  };
  const Case cases[] = {{"missing.bin", -1},
                        {"three.bin", 300},
                        {"empty.bin", 0},
                        {"screenshots", -2},
                        {"screenshots\\screen002.bmp", 2},
                        {"screenshots\\screen000.bmp", -1}};
  // Whatever the current directory, names resolve against the program's.
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path("/");
  for (const Case& c : cases) EXPECT_EQ(files_.DataFileSize(c.name), c.size) << c.name;
  std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace velko
