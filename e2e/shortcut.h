// Reads a Windows shortcut (.lnk) as Explorer would start it: the program and its working folder.
#pragma once

#include <optional>
#include <string>

namespace e2e {

struct Shortcut {
    std::wstring program;
    std::wstring working_folder;
};

// The shortcut's target and working folder, or nullopt (with `error` set) when it cannot be read.
std::optional<Shortcut> read_shortcut(const std::wstring& path, std::string* error);

}  // namespace e2e
