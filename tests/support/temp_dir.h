// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tolvan::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Whole-file helpers for tests.
std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& contents);
// The files of a folder, sorted by path (the corpus tests read every file of one).
std::vector<std::filesystem::path> sorted_files(const std::filesystem::path& folder);

}  // namespace tolvan::testing
