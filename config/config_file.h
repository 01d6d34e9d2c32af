// The configuration file: JSON text to a checked Configuration and back. Reading is
// all-or-nothing: the first problem ends it and the output is left alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/configuration.h"

namespace zavi::config {

constexpr std::size_t kMaxFileBytes = 1024 * 1024;

// The keys of the file's header, before the records' keys.
inline constexpr char kFormatKey[] = "format";
inline constexpr char kVersionKey[] = "version";
inline constexpr char kOriginKey[] = "origin";
inline constexpr char kSavedAtKey[] = "saved_at";
inline constexpr char kFirmwareKey[] = "firmware";
inline constexpr const char* kHeaderKeys[] = {kFormatKey, kVersionKey, kOriginKey, kSavedAtKey,
                                              kFirmwareKey};
// A template's flag; taken out of the file before its header and records are read.
inline constexpr char kPartialKey[] = "partial";

// Which rule a value breaks, so that the program can say it in the user's words. `none` is
// every fault told by its message only (syntax, type, range).
enum class FileFault : uint8_t {
    none,
    unknown_field,    // a top-level field the program does not know: ignored
    impossible_time,  // saved_at has the form of a UTC time, but there is no such moment
    threshold_order,  // item: thermometer 1 or 2, whose high threshold is not above its low
    number_empty,     // item: the position in the list, from 1
    number_form,
    number_repeated,  // value: the number
    name_control,     // item: the name's index, from 0
    name_character,
    name_length,
    code_hex,  // a PIN or PUK digit above 9, as a module may hold it
    code_form,
};

// Where and what. A syntax error has line and column (from 1, the column in bytes); a value
// error has the JSON path of the value (e.g. "alarm_procedures[3].out1").
struct FileError {
    int line = 0;
    int column = 0;
    std::string path{};
    std::string message{};
    FileFault fault = FileFault::none;
    int item = 0;
    std::string value{};  // what the file holds there, when the text shows it (never a SIM code)
};

// "FILE:3:7: message", "FILE: alarm_procedures[3].out1: message" or "FILE: message".
std::string describe(const FileError& error, const std::string& file);

// A warning as the command line prints it, with the JSON path: scripts read it.
std::string describe_warning(const FileError& warning);

// A backup of a module says so in the file ("origin": "module backup"). It may hold values that
// a module can hold but the program would refuse from a hand-made file (a repeated or empty
// number, a high threshold not above its low one, a control character in a name, a SIM code
// digit above 9): restoring it must give the module back exactly what it held.
enum class FileOrigin : uint8_t { hand_made, module_backup };

// Parses and checks `text`. Unknown top-level fields add a warning each and are ignored; so is
// an impossible saved_at. In a backup of a module, the values above are kept with a warning each.
bool parse_configuration(std::string_view text, Configuration* out, FileError* error,
                         std::vector<FileError>* warnings, FileOrigin* origin = nullptr);

// The same, with the warnings as the command line prints them.
bool parse_configuration(std::string_view text, Configuration* out, FileError* error,
                         std::vector<std::string>* warnings);

// As parse_configuration, but a value that breaks a rule of check_configuration is taken as it
// is: a backup keeps what the module held, and comparing such files must still work.
bool parse_configuration_as_read(std::string_view text, Configuration* out, FileError* error);

// The rules a value must keep to be written to a module: one FileError (path + message) per
// broken rule. A module may hold values that break them; a backup of it says so.
std::vector<FileError> check_configuration(const Configuration& cfg);

// True for the broken rules a module itself can hold, which a backup of it keeps.
bool module_may_hold(const FileError& broken);

// The file text of `cfg` (2-space indent, fields in their fixed order, a newline at the end).
std::string configuration_to_json(const Configuration& cfg,
                                  FileOrigin origin = FileOrigin::hand_made);

// The current time as saved_at wants it: "2026-12-07T17:45:00Z".
std::string utc_timestamp();

}  // namespace zavi::config
