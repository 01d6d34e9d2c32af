// Paths as UTF-8 text, taken apart and put together the way the C++ library's paths do, without
// its conversions (which bring the whole locale machinery into the Windows programs). On
// Windows both '/' and '\' separate and a drive ("C:") may lead; elsewhere only '/' separates.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zavi {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

bool is_path_separator(char c);

// `name` (a relative path) inside `folder`, with the platform's separator between them unless
// `folder` is empty or already ends in a separator (or, on Windows, is a bare drive).
std::string join_path(std::string_view folder, std::string_view name);

// The folder part: "a/b" -> "a", "a/b/" -> "a/b", "/a" -> "/", "a" -> "". A path that is only a
// root ("/", "C:\") is its own parent.
std::string parent_folder(std::string_view path);

// What follows the last separator (or the drive): "a/b" -> "b", "a/" -> "".
std::string file_name(std::string_view path);

// The separated parts, the root first ("C:", then "/" when a separator follows it); runs of
// separators count as one and a trailing one adds nothing.
std::vector<std::string> path_parts(std::string_view path);

// '/' for every run of separators: "a\\b//c" -> "a/b/c" on Windows.
std::string generic_path(std::string_view path);

// The platform's own separators ('\' on Windows); unchanged elsewhere.
std::string native_path(std::string path);

}  // namespace zavi
