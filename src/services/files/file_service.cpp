#include "services/files/file_service.h"

#include <algorithm>

#include "platform/file_system.h"

namespace velko {

FileService::FileService(const ProgramDirectory& directory) : directory_(directory) {}

FileService::~FileService() {
  for (int32_t n = 0; n < table_.Capacity(); ++n) DataFileClose(n);
}

int32_t FileService::DataFileOpen(int32_t number, const std::string& fileName) {
  if (number < 0) return 0;
  // The number's record is taken (and the table grown) whether or not the open succeeds.
  FileRecord* record = table_.Make(number);
  if (record == nullptr) {
    currentFile_ = -1;
    ForgetBufferedBytes();
    return 0;
  }
  const std::string path = directory_.Resolve(fileName);
  // Opened for reading only, and never created: reading a missing file must not leave an
  // empty one behind, and a file the player may only read still loads.
  int descriptor = files::OpenForReading(path);
  if (descriptor >= 0) {
    const files::Kind kind = files::InfoOfOpen(descriptor).kind;
    if (kind == files::Kind::Missing || kind == files::Kind::Directory) {
      files::Close(descriptor);
      descriptor = -1;
    }
  }
  currentFile_ = descriptor;
  ForgetBufferedBytes();
  // A file still open under this number stays open until the process ends; its record is
  // overwritten, by "no file" when this open failed.
  record->descriptor = descriptor;
  return descriptor < 0 ? 0 : descriptor + 1;
}

void FileService::ReadIntoCell(size_t count) {
  if (currentFile_ < 0) return;
  if (bufferEnd_ - bufferStart_ < count && !endReached_) {
    // Keep what is left and read ahead after it; at the end of the file fewer bytes come.
    std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(bufferStart_),
              buffer_.begin() + static_cast<std::ptrdiff_t>(bufferEnd_), buffer_.begin());
    bufferEnd_ -= bufferStart_;
    bufferStart_ = 0;
    ++systemReads_;
    const std::int64_t got =
        files::ReadSome(currentFile_, buffer_.data() + bufferEnd_, buffer_.size() - bufferEnd_);
    if (got > 0) bufferEnd_ += static_cast<size_t>(got);
    if (got <= 0) endReached_ = true;  // the end, or an error that would only repeat
  }
  // Only the bytes actually there reach the cell; the rest of it keeps its old value.
  const size_t got = std::min(count, bufferEnd_ - bufferStart_);
  for (size_t i = 0; i < got; ++i) transferCell_[i] = buffer_[bufferStart_ + i];
  bufferStart_ += got;
}

int32_t FileService::DataFileReadInt8() {
  ReadIntoCell(1);
  return static_cast<int8_t>(transferCell_[0]);
}

int32_t FileService::DataFileReadInt16() {
  ReadIntoCell(2);
  return static_cast<int16_t>(static_cast<uint16_t>(transferCell_[0] | (transferCell_[1] << 8)));
}

void FileService::DataFileClose(int32_t number) {
  FileRecord* record = table_.Find(number);
  if (record == nullptr || record->descriptor < 0) return;
  files::Close(record->descriptor);
  // Reads after a close give the transfer cell, never another file that reused the descriptor.
  if (currentFile_ == record->descriptor) {
    currentFile_ = -1;
    ForgetBufferedBytes();
  }
  record->descriptor = -1;
}

int32_t FileService::DataFileSize(const std::string& fileName) const {
  const files::Info info = files::InfoOf(directory_.Resolve(fileName));
  if (info.kind == files::Kind::Missing) return -1;
  if (info.kind == files::Kind::Directory) return -2;
  return static_cast<int32_t>(static_cast<uint32_t>(info.size & 0xFFFFFFFF));
}

}  // namespace velko
