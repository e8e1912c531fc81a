// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace velko::testing {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velko-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The path a program living in this directory would have.
  std::string ExecutablePath() const { return (path_ / "velko").string(); }
  std::filesystem::path File(std::string_view name) const { return path_ / name; }

  void Write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(File(name), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  void Write(std::string_view name, const std::vector<unsigned char>& bytes) const {
    Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  std::string Read(std::string_view name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Exists(std::string_view name) const { return std::filesystem::exists(File(name)); }

 private:
  std::filesystem::path path_;
};

}  // namespace velko::testing
