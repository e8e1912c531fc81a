#include "level/level_commands.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "level/checker.h"
#include "level/exporter.h"
#include "level/importer.h"
#include "level/level_error.h"

namespace velko::level {
namespace {

constexpr std::int64_t kMaxLevelFileBytes = std::int64_t{256} << 20;

struct OutFile {
  std::string name;
  Bytes bytes;
};

Bytes AsBytes(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// All files or none: each is written beside its final name, then all are renamed.
void WriteAll(const std::filesystem::path& dir, const std::vector<OutFile>& files) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) throw LevelError(dir.string() + ": cannot make the folder (" + error.message() + ")");
  std::vector<std::filesystem::path> written;
  const auto cleanUp = [&] {
    std::error_code ignored;
    for (const auto& path : written) std::filesystem::remove(path, ignored);
  };
  for (const OutFile& file : files) {
    const std::filesystem::path temporary = dir / ("." + file.name + ".tmp");
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    written.push_back(temporary);
    out.write(reinterpret_cast<const char*>(file.bytes.data()),
              static_cast<std::streamsize>(file.bytes.size()));
    if (!out.flush()) {
      cleanUp();
      throw LevelError((dir / file.name).string() + ": cannot write");
    }
  }
  for (const OutFile& file : files) {
    std::filesystem::rename(dir / ("." + file.name + ".tmp"), dir / file.name, error);
    if (error) {
      cleanUp();
      throw LevelError((dir / file.name).string() + ": cannot write (" + error.message() + ")");
    }
  }
}

std::pair<Bytes, Bytes> ReadLevelBytes(const std::filesystem::path& dir) {
  const DiskFiles disk;
  return {disk.Read((dir / "level.map").string(), kMaxLevelFileBytes),
          disk.Read((dir / "level.bpb").string(), kMaxLevelFileBytes)};
}

template <typename Work>
int Guarded(Work work) {
  try {
    return work();
  } catch (const LevelError& error) {
    std::fprintf(stderr, "velko-level: %s\n", error.what());
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "velko-level: out of memory\n");
  }
  return 2;
}

}  // namespace

int RunImport(const std::filesystem::path& map, const std::filesystem::path& outDir) {
  return Guarded([&] {
    const ImportResult result = ImportMap(DiskFiles(), map.string());
    for (const std::string& warning : result.warnings) {
      std::fprintf(stderr, "velko-level: warning: %s\n", warning.c_str());
    }
    WriteAll(outDir, {{"level.map", EncodeLevelMap(result.level)},
                      {"level.bpb", EncodeLevelPackage(result.level)}});
    std::printf("%s: %s\n", map.string().c_str(), result.summary.c_str());
    return 0;
  });
}

int RunExport(const std::filesystem::path& levelDir, const std::filesystem::path& outDir) {
  return Guarded([&] {
    const auto [map, package] = ReadLevelBytes(levelDir);
    const ExportedMap exported = ExportLevel(ParseLevel(map, package));
    WriteAll(outDir, {{kExportPicture, exported.png},
                      {kExportTileset, AsBytes(exported.tsx)},
                      {kExportMap, AsBytes(exported.tmx)}});
    return 0;
  });
}

int RunCheck(const std::filesystem::path& levelDir) {
  return Guarded([&] {
    const auto [map, package] = ReadLevelBytes(levelDir);
    std::vector<std::string> problems;
    try {
      problems = CheckLevel(ParseLevel(map, package));
    } catch (const LevelError& error) {
      // A file cut short is a problem of the level, not of the command.
      problems.push_back(error.what());
    }
    for (const std::string& problem : problems) std::printf("%s\n", problem.c_str());
    return problems.empty() ? 0 : 1;
  });
}

}  // namespace velko::level
