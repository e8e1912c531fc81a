// Where the importer finds the map and the files it names (tilesets, pictures): the disk, or
// memory for the fuzzer. Paths are joined the way Tiled writes them: relative to the file that
// names them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "level/level_files.h"

namespace velko::level {

class FileSource {
 public:
  virtual ~FileSource() = default;
  // The whole file, or LevelError naming it when it is missing or over `maxBytes`.
  virtual Bytes Read(const std::string& path, std::int64_t maxBytes) const = 0;
};

class DiskFiles : public FileSource {
 public:
  Bytes Read(const std::string& path, std::int64_t maxBytes) const override;
};

class MemoryFiles : public FileSource {
 public:
  void Add(const std::string& path, Bytes bytes) { files_[path] = std::move(bytes); }
  Bytes Read(const std::string& path, std::int64_t maxBytes) const override;

 private:
  std::map<std::string, Bytes> files_;
};

// `relative` as seen from the folder of the file `from`, normalised.
std::string Beside(const std::string& from, const std::string& relative);

}  // namespace velko::level
