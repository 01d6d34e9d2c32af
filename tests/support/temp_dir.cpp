#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <iterator>
#include <system_error>

namespace zavi::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zavi-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();  // nothing sensible can run without it
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace zavi::test
