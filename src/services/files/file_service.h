// Numbered data files read value by value, with no notion of end of file: a read that gets
// nothing repeats what the shared transfer cell last held.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "services/files/program_directory.h"
#include "services/memory/object_table.h"

namespace velko {

class FileService {
 public:
  explicit FileService(const ProgramDirectory& directory);
  ~FileService();
  FileService(const FileService&) = delete;
  FileService& operator=(const FileService&) = delete;

  int32_t DataFileOpen(int32_t number, const std::string& fileName);
  int32_t DataFileReadInt8();
  int32_t DataFileReadInt16();
  void DataFileClose(int32_t number);
  int32_t DataFileSize(const std::string& fileName) const;

  int32_t Capacity() const { return table_.Capacity(); }
  // Reads of the system made so far, for tests of the read-ahead.
  int64_t SystemReads() const { return systemReads_; }

 private:
  struct FileRecord {
    int descriptor = -1;
  };
  void ReadIntoCell(size_t count);
  void ForgetBufferedBytes() {
    bufferStart_ = bufferEnd_ = 0;
    endReached_ = false;
  }

  // Only the current file is ever read, so one read-ahead buffer serves it: loading a level
  // costs a few reads of the system, not one per value.
  static constexpr size_t kBufferSize = 65536;

  const ProgramDirectory& directory_;
  ObjectTable<FileRecord> table_{10, 10, 0};
  int currentFile_ = -1;
  std::array<uint8_t, 4> transferCell_{};
  std::vector<uint8_t> buffer_ = std::vector<uint8_t>(kBufferSize);
  size_t bufferStart_ = 0;  // next unread byte
  size_t bufferEnd_ = 0;    // one past the last byte read ahead
  // The current file gave no more bytes: later reads keep the transfer cell without asking
  // the system again, so a header announcing millions of values past the end costs nothing.
  bool endReached_ = false;
  int64_t systemReads_ = 0;
};

}  // namespace velko
