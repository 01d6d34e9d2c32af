// A fresh, empty folder under the system's temporary directory, removed with everything in it
// when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace zavi::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const char* name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// Whole contents of a file as bytes; empty when it cannot be read.
std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);

}  // namespace zavi::test
