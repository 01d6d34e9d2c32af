#include "e2e/history_files.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "e2e/harness.h"

namespace e2e {

std::string history_folder() {
    wchar_t base[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH)) return {};
    const std::u8string folder = (std::filesystem::path(base) / L"ZAVI-GSM").u8string();
    return std::string(folder.begin(), folder.end());
}

std::vector<zavi::fleet::HistoryEntry> history_entries() {
    std::vector<zavi::fleet::HistoryEntry> entries;
    int skipped = 0;
    std::string why;
    if (!zavi::fleet::read_index(history_folder(), &entries, &skipped, &why))
        note("the history index cannot be read: " + why);
    return entries;
}

std::string file_bytes(const std::string& utf8_path) {
    std::ifstream in(std::filesystem::path(std::u8string(utf8_path.begin(), utf8_path.end())),
                     std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace e2e
