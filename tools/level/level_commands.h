// The three commands of velko-level, each printing its own messages and returning the exit
// code: 0 done, 1 problems found (check), 2 bad input or a file that could not be written.
#pragma once

#include <filesystem>

namespace velko::level {

int RunImport(const std::filesystem::path& map, const std::filesystem::path& outDir);
int RunExport(const std::filesystem::path& levelDir, const std::filesystem::path& outDir);
int RunCheck(const std::filesystem::path& levelDir);

}  // namespace velko::level
