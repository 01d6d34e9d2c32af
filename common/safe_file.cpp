#include "common/safe_file.h"

#include <atomic>
#include <cctype>
#include <cstdio>
#include <random>

#include "common/file_parts.h"
#include "common/text_case.h"

namespace zavi {

namespace {

std::function<std::string(const std::string&)>& test_names() {
    static std::function<std::string(const std::string&)> names;
    return names;
}

}  // namespace

void set_temporary_names_for_tests(std::function<std::string(const std::string&)> names) {
    test_names() = std::move(names);
}

std::string temporary_name(const std::string& target, unsigned long long process_id,
                           const char* separators) {
    if (test_names()) return test_names()(target);
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const unsigned long long bits = (static_cast<unsigned long long>(random()) << 16) ^ random() ^
                                    (process_id << 24) ^ counter.fetch_add(1);
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%012llx.tmp", bits & 0xFFFFFFFFFFFFull);
    const std::size_t slash = target.find_last_of(separators);
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = target.substr(folder.size()).substr(0, 200);
    return folder + "." + name + suffix;
}

bool is_windows_device_name(std::string_view path) {
    if (path.size() >= 4 && (path.substr(0, 4) == "\\\\.\\" || path.substr(0, 4) == "//./"))
        return true;
    if (path.size() >= 14 && equal_ignoring_case(path.substr(0, 14), "\\\\?\\GLOBALROOT"))
        return true;
    const std::size_t slash = path.find_last_of("\\/:");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    // Windows ignores what follows the first dot, and trailing spaces before it.
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (equal_ignoring_case(name, device)) return true;
    return name.size() == 4 && std::isdigit(static_cast<unsigned char>(name[3])) &&
           (equal_ignoring_case(name.substr(0, 3), "COM") ||
            equal_ignoring_case(name.substr(0, 3), "LPT"));
}

}  // namespace zavi
