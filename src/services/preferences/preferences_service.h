// Small settings files of named groups and "key = value" lines. At most one file is open at
// a time, for reading or for writing. A file being written is replaced only when it is
// closed, and then in one step, so a crash never leaves half a settings file behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "services/files/program_directory.h"

namespace velko {

class PreferencesService {
 public:
  explicit PreferencesService(const ProgramDirectory& directory);
  ~PreferencesService();
  PreferencesService(const PreferencesService&) = delete;
  PreferencesService& operator=(const PreferencesService&) = delete;

  int32_t PreferencesOpen(const std::string& fileName);
  int32_t PreferencesCreate(const std::string& fileName);
  void PreferencesClose();
  int32_t PreferenceGroup(const std::string& group);
  std::string PreferenceReadText(const std::string& key, const std::string& defaultText);
  void PreferenceWriteText(const std::string& key, const std::string& value);

 private:
  enum class Mode { Reading, Writing };

  const ProgramDirectory& directory_;
  int32_t handle_ = 0;  // 0: no file open
  int32_t nextHandle_ = 1;
  Mode mode_ = Mode::Reading;
  std::string text_;                     // the whole file, when reading
  std::optional<size_t> groupPosition_;  // start of the selected group's first line
  std::string pending_;                  // what has been written, when writing
  std::string targetPath_;
  std::string temporaryPath_;
  int temporaryDescriptor_ = -1;
  char commentCharacter_ = ';';
};

}  // namespace velko
