// The few questions the program asks the file system, on UTF-8 paths, without the C++
// library's path and stream classes (their conversions bring the locale machinery along).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace zavi {

enum class PathKind { missing, file, folder, other };

struct FileFacts {
    PathKind kind = PathKind::missing;
    std::uint64_t size = 0;  // of a file
    bool link = false;       // a symbolic link, when asked not to follow it
};

// What is at `path`; a path that cannot be looked at counts as missing. With follow_links off
// a symbolic link is described itself (kind other, link set).
FileFacts file_facts(const std::string& path, bool follow_links = true);

// The file opened for reading bytes, or null.
std::FILE* open_for_reading(const std::string& path);

}  // namespace zavi
