#include "common/safe_file.h"

#include "common/text_case.h"

#include <cctype>

namespace zavi {

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
    if (name.size() == 4 && std::isdigit(static_cast<unsigned char>(name[3])) &&
        (equal_ignoring_case(name.substr(0, 3), "COM") ||
         equal_ignoring_case(name.substr(0, 3), "LPT")))
        return true;
    return false;
}

}  // namespace zavi
