// The settings file "config.db": exactly one byte, the user-interface language.
#pragma once

#include <cstdint>

namespace zavi {

constexpr char kSettingsFile[] = "config.db";  // in the working directory

// 0 on success with ui_language set to the file's byte, 1 on failure (missing, unreadable,
// not exactly one byte long).
uint8_t load_settings(const char* path = kSettingsFile);
// Writes ui_language as the whole file. 0 on success, 1 on failure.
uint8_t save_settings(const char* path = kSettingsFile);

}  // namespace zavi
