#include "common/path_text.h"

namespace zavi {

namespace {

// Length of the drive that leads the path ("C:"), 0 when there is none.
std::size_t drive_length(std::string_view path) {
#ifdef _WIN32
    const bool letter =
        !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (letter && path.size() >= 2 && path[1] == ':') return 2;
#else
    (void)path;
#endif
    return 0;
}

std::size_t last_separator(std::string_view path, std::size_t from) {
    for (std::size_t i = path.size(); i > from; --i)
        if (is_path_separator(path[i - 1])) return i - 1;
    return std::string_view::npos;
}

}  // namespace

bool is_path_separator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

std::string join_path(std::string_view folder, std::string_view name) {
    std::string out(folder);
    const bool bare_drive = !folder.empty() && drive_length(folder) == folder.size();
    if (!folder.empty() && !is_path_separator(folder.back()) && !bare_drive) out += kPathSeparator;
    out += name;
    return out;
}

std::string parent_folder(std::string_view path) {
    const std::size_t drive = drive_length(path);
    std::size_t root = drive;
    while (root < path.size() && is_path_separator(path[root])) ++root;
    if (root == path.size()) return std::string(path);  // nothing but a root
    const std::size_t slash = last_separator(path, root);
    std::size_t end = slash == std::string_view::npos ? root : slash + 1;
    while (end > root && is_path_separator(path[end - 1])) --end;
    // Down to the root: its first separator stands for it.
    if (end == root) return std::string(path.substr(0, root > drive ? drive + 1 : drive));
    return std::string(path.substr(0, end));
}

std::string file_name(std::string_view path) {
    const std::size_t slash = last_separator(path, drive_length(path));
    return std::string(
        path.substr(slash == std::string_view::npos ? drive_length(path) : slash + 1));
}

std::vector<std::string> path_parts(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t i = drive_length(path);
    if (i > 0) parts.emplace_back(path.substr(0, i));
    if (i < path.size() && is_path_separator(path[i])) parts.emplace_back("/");
    while (i < path.size()) {
        while (i < path.size() && is_path_separator(path[i])) ++i;
        std::size_t end = i;
        while (end < path.size() && !is_path_separator(path[end])) ++end;
        if (end > i) parts.emplace_back(path.substr(i, end - i));
        i = end;
    }
    return parts;
}

std::string generic_path(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (!is_path_separator(path[i])) {
            out += path[i];
        } else if (out.empty() || out.back() != '/') {
            out += '/';
        }
    }
    return out;
}

std::string native_path(std::string path) {
#ifdef _WIN32
    for (char& c : path)
        if (c == '/') c = '\\';
#endif
    return path;
}

}  // namespace zavi
