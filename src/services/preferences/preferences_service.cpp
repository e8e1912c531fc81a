#include "services/preferences/preferences_service.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/file_system.h"

namespace velko {
namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Position just after the LF that ends the line starting at `position`, or the text's end.
size_t NextLine(const std::string& text, size_t position) {
  const size_t lf = text.find('\n', position);
  return lf == std::string::npos ? text.size() : lf + 1;
}

bool IsDirectory(const std::string& path) {
  return files::InfoOf(path).kind == files::Kind::Directory;
}

}  // namespace

PreferencesService::PreferencesService(const ProgramDirectory& directory) : directory_(directory) {}

PreferencesService::~PreferencesService() {
  PreferencesClose();
}

int32_t PreferencesService::PreferencesOpen(const std::string& fileName) {
  PreferencesClose();
  const std::string path = directory_.ResolveSettings(fileName);
  // A folder of that name is no settings file (reading one would throw).
  if (IsDirectory(path)) return 0;
  std::ifstream file(files::PathFromUtf8(path), std::ios::binary);
  if (!file) return 0;
  try {
    text_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    file.setstate(std::ios::badbit);  // the stream buffer throws on a read error
  }
  if (file.bad()) {
    text_.clear();
    return 0;
  }
  // A NUL byte ends the text.
  if (const size_t nul = text_.find('\0'); nul != std::string::npos) text_.resize(nul);
  groupPosition_ = 0;  // keys before the first header can be read without a group
  mode_ = Mode::Reading;
  handle_ = nextHandle_++;
  return handle_;
}

int32_t PreferencesService::PreferencesCreate(const std::string& fileName) {
  PreferencesClose();
  targetPath_ = directory_.ResolveSettings(fileName);
  directory_.PrepareFolderFor(targetPath_);
  // An existing file that may not be written, or a folder, cannot be created anew.
  if (IsDirectory(targetPath_)) return 0;
  if (files::InfoOf(targetPath_).kind != files::Kind::Missing && !files::IsWritable(targetPath_)) {
    return 0;
  }
  temporaryPath_ = targetPath_ + ".tmp";
  temporaryDescriptor_ = files::OpenForWriting(temporaryPath_);
  if (temporaryDescriptor_ < 0) return 0;
  pending_.clear();
  mode_ = Mode::Writing;
  handle_ = nextHandle_++;
  return handle_;
}

void PreferencesService::PreferencesClose() {
  if (handle_ != 0 && mode_ == Mode::Writing && temporaryDescriptor_ >= 0) {
    const bool written = files::WriteAll(temporaryDescriptor_, pending_.data(), pending_.size()) &&
                         files::FlushToDisk(temporaryDescriptor_);
    const bool closed = files::Close(temporaryDescriptor_);
    if (!(written && closed && files::Replace(temporaryPath_, targetPath_))) {
      files::Remove(temporaryPath_);
    }
    temporaryDescriptor_ = -1;
  }
  handle_ = 0;
  text_.clear();
  pending_.clear();
  groupPosition_.reset();
}

int32_t PreferencesService::PreferenceGroup(const std::string& group) {
  groupPosition_.reset();
  if (handle_ == 0) return 0;
  if (mode_ == Mode::Writing) {
    pending_ += "[" + group + "]\r\n";
    return 1;
  }
  size_t position = 0;
  while (position < text_.size()) {
    bool matches = false;
    if (text_[position] == '[') {
      const size_t nameStart = position + 1;
      size_t nameEnd = nameStart;
      while (nameEnd < text_.size() && text_[nameEnd] != ']' && text_[nameEnd] != '\n') ++nameEnd;
      matches =
          EqualIgnoringCase(std::string_view(text_).substr(nameStart, nameEnd - nameStart), group);
    }
    position = NextLine(text_, position);
    // One CR after the LF is passed too.
    if (position < text_.size() && text_[position] == '\r') ++position;
    if (matches) {
      groupPosition_ = position;
      return 1;
    }
  }
  return 0;
}

std::string PreferencesService::PreferenceReadText(const std::string& key,
                                                   const std::string& defaultText) {
  if (handle_ == 0 || mode_ == Mode::Writing || !groupPosition_ || key.empty()) {
    return defaultText;
  }
  size_t position = *groupPosition_;
  while (position < text_.size()) {
    if (text_[position] == '[') break;  // the next group begins
    size_t cursor = position;
    while (cursor < text_.size() && text_[cursor] == ' ') ++cursor;
    if (cursor < text_.size() && text_[cursor] != commentCharacter_) {
      size_t keyEnd = cursor;
      while (keyEnd < text_.size() && text_[keyEnd] != '=' && text_[keyEnd] != '\n') ++keyEnd;
      size_t trimmedEnd = keyEnd;
      while (trimmedEnd > cursor && text_[trimmedEnd - 1] == ' ') --trimmedEnd;
      const std::string_view lineKey = std::string_view(text_).substr(cursor, trimmedEnd - cursor);
      if (keyEnd < text_.size() && text_[keyEnd] == '=' && EqualIgnoringCase(lineKey, key)) {
        size_t valueStart = keyEnd + 1;
        while (valueStart < text_.size() && text_[valueStart] == ' ') ++valueStart;
        size_t valueEnd = valueStart;
        while (valueEnd < text_.size() && text_[valueEnd] != '\r' && text_[valueEnd] != '\n') {
          ++valueEnd;
        }
        return text_.substr(valueStart, valueEnd - valueStart);
      }
    }
    position = NextLine(text_, position);
  }
  return defaultText;
}

void PreferencesService::PreferenceWriteText(const std::string& key, const std::string& value) {
  // On a file opened for reading the write fails, as the platform would refuse it.
  if (handle_ == 0 || mode_ != Mode::Writing || key.empty()) return;
  pending_ += key + " = " + value + "\r\n";
}

}  // namespace velko
