// The configuration file: JSON text to a checked Configuration and back. Reading is
// all-or-nothing: the first problem ends it and the output is left alone.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "config/configuration.h"

namespace zavi::config {

constexpr std::size_t kMaxFileBytes = 1024 * 1024;

// Where and what. A syntax error has line and column (from 1, the column in bytes); a value
// error has the JSON path of the value (e.g. "alarm_procedures[3].out1").
struct FileError {
    int line = 0;
    int column = 0;
    std::string path;
    std::string message;
};

// "FILE:3:7: message", "FILE: alarm_procedures[3].out1: message" or "FILE: message".
std::string describe(const FileError& error, const std::string& file);

// Parses and checks `text`. Unknown top-level fields add a warning each and are ignored.
bool parse_configuration(std::string_view text, Configuration* out, FileError* error,
                         std::vector<std::string>* warnings);

// As parse_configuration, but a value that breaks a rule of check_configuration is taken as it
// is: a backup keeps what the module held, and comparing such files must still work.
bool parse_configuration_as_read(std::string_view text, Configuration* out, FileError* error);

// The rules a value must keep to be written to a module: one FileError (path + message) per
// broken rule. A module may hold values that break them; a backup of it says so.
std::vector<FileError> check_configuration(const Configuration& cfg);

// The file text of `cfg` (2-space indent, fields in their fixed order, a newline at the end).
std::string configuration_to_json(const Configuration& cfg);

// The current time as saved_at wants it: "2026-12-07T17:45:00Z".
std::string utc_timestamp();

}  // namespace zavi::config
