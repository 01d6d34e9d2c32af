// The rules a configuration value keeps before it may be written to a module, one broken rule
// per FileError with the JSON path of the value.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/config_file.h"

namespace zavi::config {

bool all_digits(const std::string& s);
bool upper_hex(const std::string& s);

FileError broken(std::string path, std::string message, FileFault fault, int item = 0,
                 std::string value = "");

// 1 to 14 digits each, no number twice. `name` is the list's key.
void check_numbers(const std::vector<std::string>& list, const char* name,
                   std::vector<FileError>* out);

// Name `index` of the twelve I/O names.
void check_name(const std::string& name, std::size_t index, std::vector<FileError>* out);

// A PIN (4) or PUK (8) of `digits` digits, when set.
void check_code(const std::optional<std::string>& code, std::size_t digits, const char* where,
                std::vector<FileError>* out);

}  // namespace zavi::config
