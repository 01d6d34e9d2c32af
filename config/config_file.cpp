#include "config/config_file.h"

#include <algorithm>
#include <ctime>
#include <set>

#include "config/json.h"
#include "config/json_fields.h"
#include "config/partial.h"
#include "config/record_checks.h"
#include "config/record_table.h"

namespace zavi::config {

namespace {

constexpr char kModuleBackup[] = "module backup";

// The header's keys and the records'.
bool known_top_key(const std::string& key) {
    for (const char* k : kHeaderKeys)
        if (key == k) return true;
    for (const Record r : file_order())
        if (key == record_row(r).file_key) return true;
    return false;
}

Configuration read_value(const Json& root, std::vector<FileError>* warnings, FileOrigin* origin) {
    if (!root.is_object()) throw Bad{"", "the file must hold one JSON object"};
    const Json& format = field(root, "", kFormatKey);
    const Json& version = field(root, "", kVersionKey);
    if (!format.is_string() || format.get<std::string>() != kFormatName)
        throw Bad{kFormatKey, "not a ZAVI-GSM configuration, or made by a newer program"};
    if (!version.is_number_integer() || version.get<long long>() < kFormatVersion)
        throw Bad{kVersionKey, "must be 1"};
    if (version.get<long long>() > kFormatVersion)
        throw Bad{kVersionKey, "made by a newer program (version " + version.dump() + ")"};

    // Unknown keys are named in byte order, whatever the file's order.
    std::vector<std::string> unknown;
    for (const auto& item : root.items())
        if (!known_top_key(item.key())) unknown.push_back(item.key());
    std::sort(unknown.begin(), unknown.end());
    for (const std::string& key : unknown)
        warnings->push_back({0, 0, key, "unknown field ignored", FileFault::unknown_field, 0, key});
    *origin = FileOrigin::hand_made;
    if (root.contains(kOriginKey)) {
        if (text(root[kOriginKey], kOriginKey) != kModuleBackup)
            throw Bad{kOriginKey, "must be \"module backup\" or left out"};
        *origin = FileOrigin::module_backup;
    }

    Configuration c;
    c.saved_at = text(field(root, "", kSavedAtKey), kSavedAtKey);
    c.firmware = text(field(root, "", kFirmwareKey), kFirmwareKey);

    for (const Record r : file_order()) {
        const RecordRow& row = record_row(r);
        if (row.on_request && !root.contains(row.file_key)) continue;
        row.from_json(field(root, "", row.file_key), row.file_key, &c);
    }
    return c;
}

constexpr const char kUtcShape[] = "dddd-dd-ddTdd:dd:dd";

bool utc_shape(const std::string& s) {
    // YYYY-MM-DDTHH:MM:SS, optional fraction, Z.
    if (s.size() < 20 || s.back() != 'Z') return false;
    for (std::size_t i = 0; i + 1 < sizeof kUtcShape; ++i) {
        if (kUtcShape[i] == 'd' ? !(s[i] >= '0' && s[i] <= '9') : s[i] != kUtcShape[i])
            return false;
    }
    const std::string rest = s.substr(19, s.size() - 20);
    if (rest.empty()) return true;
    return rest.size() >= 2 && rest[0] == '.' && all_digits(rest.substr(1));
}

// A moment that exists: a real day of the Gregorian calendar, 00:00:00 to 23:59:59, or the
// leap second 23:59:60. Called on a string of the right shape only.
bool real_moment(const std::string& s) {
    const auto number = [&s](std::size_t at, std::size_t n) { return std::stoi(s.substr(at, n)); };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
    if (month < 1 || month > 12 || day < 1) return false;
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return false;
    if (hour > 23 || minute > 59) return false;
    return second <= 59 || (second == 60 && hour == 23 && minute == 59);
}

constexpr int kMaxNesting = 32;

bool delimiter(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '"' || c == '{' || c == '}' ||
           c == '[' || c == ']' || c == ',' || c == ':';
}

FileError syntax_error(std::string_view text, std::size_t at, std::string message) {
    at = std::min(at, text.size());
    const std::string_view before = text.substr(0, at);
    const std::size_t line_start = before.rfind('\n');
    const int line = 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
    const int column =
        1 + static_cast<int>(line_start == std::string_view::npos ? at : at - line_start - 1);
    return {line, column, "", std::move(message)};
}

// The parser's description without its own position, and the byte it is about: the last byte
// of the offending token. For a token it did not expect that is where the parser stopped; a
// malformed word ("tru,") it gives up on at the byte after it, which belongs to no token.
FileError describe_parse_error(std::string_view text, const Json::parse_error& e) {
    std::size_t at = std::min<std::size_t>(e.byte > 0 ? e.byte - 1 : 0, text.size());
    std::string message = e.what();
    const std::size_t column = message.find(", column ");
    const std::size_t colon = message.find(": ", column == std::string::npos ? 0 : column);
    if (colon != std::string::npos) message = message.substr(colon + 2);
    if (message.find(" - invalid literal") != std::string::npos && at > 0 &&
        (at >= text.size() || delimiter(text[at])) && !delimiter(text[at - 1]))
        --at;
    if (message.rfind("syntax error ", 0) == 0)
        message = "JSON " + message;
    else
        message = "JSON syntax error: " + message;
    return syntax_error(text, at, std::move(message));
}

// One JSON document and nothing after it but whitespace; no key twice in an object; at most
// kMaxNesting levels, so that no input can exhaust memory or the stack.
bool parse_strict(std::string_view text, Json* root, FileError* error) {
    struct Frame {
        bool array = false;
        std::size_t next = 0;  // elements seen in an array
        std::string key;       // the current key in an object
        std::set<std::string> keys;
    };
    std::vector<Frame> frames;
    const auto path = [&frames] {
        std::string out;
        for (const Frame& f : frames) {
            if (f.array)
                out += "[" + std::to_string(f.next == 0 ? 0 : f.next - 1) + "]";
            else
                out += (out.empty() ? "" : ".") + f.key;
        }
        return out;
    };
    const Json::parser_callback_t watch = [&](int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
            case Json::parse_event_t::object_start:
            case Json::parse_event_t::array_start:
                if (!frames.empty() && frames.back().array) ++frames.back().next;
                if (frames.size() >= static_cast<std::size_t>(kMaxNesting))
                    throw Bad{path(),
                              "nested deeper than " + std::to_string(kMaxNesting) + " levels"};
                frames.push_back({event == Json::parse_event_t::array_start, 0, "", {}});
                break;
            case Json::parse_event_t::key: {
                Frame& f = frames.back();
                f.key = parsed.get<std::string>();
                if (!f.keys.insert(f.key).second) throw Bad{path(), "given twice"};
                break;
            }
            case Json::parse_event_t::value:
                if (!frames.empty() && frames.back().array) ++frames.back().next;
                break;
            case Json::parse_event_t::object_end:
            case Json::parse_event_t::array_end:
                frames.pop_back();
                break;
        }
        return true;
    };
    // The parser takes a NUL byte for the end of the input: what follows would go unseen.
    const std::size_t nul = text.find('\0');
    const std::string_view document = text.substr(0, nul);
    try {
        *root = parse_json(document, watch);
    } catch (const Json::parse_error& e) {
        *error = nul != std::string_view::npos && e.byte > nul
                     ? syntax_error(text, nul, "JSON syntax error: a NUL byte")
                     : describe_parse_error(text, e);
        return false;
    } catch (const Bad& bad) {
        *error = {0, 0, bad.path, bad.message};
        return false;
    } catch (const Json::exception&) {
        // A number too large for any JSON number type (the only other failure of parse()).
        *error = {0, 0, "", "a number in the file is too large to read"};
        return false;
    }
    if (nul != std::string_view::npos) {
        *error = syntax_error(text, nul, "JSON syntax error: a NUL byte after the document");
        return false;
    }
    return true;
}

}  // namespace

std::string describe(const FileError& e, const std::string& file) {
    if (e.line > 0)
        return file + ":" + std::to_string(e.line) + ":" + std::to_string(e.column) + ": " +
               e.message;
    if (!e.path.empty()) return file + ": " + e.path + ": " + e.message;
    return file + ": " + e.message;
}

std::string describe_warning(const FileError& w) {
    switch (w.fault) {
        case FileFault::unknown_field:
            return "unknown field \"" + w.path + "\" ignored";
        case FileFault::impossible_time:
            return w.path + ": " + w.message + "; it is only information, the file is used";
        case FileFault::none:
            break;
        default:
            return w.path + ": " + w.message + "; kept, as the module held it";
    }
    return w.path.empty() ? w.message : w.path + ": " + w.message;
}

bool module_may_hold(const FileError& e) {
    switch (e.fault) {
        case FileFault::threshold_order:
        case FileFault::number_empty:
        case FileFault::number_repeated:
        case FileFault::name_control:
        case FileFault::code_hex:
            return true;
        default:
            return false;
    }
}

std::vector<FileError> check_configuration(const Configuration& c) {
    std::vector<FileError> out;
    if (!utc_shape(c.saved_at))
        out.push_back({0, 0, kSavedAtKey, "must be a UTC time like 2026-12-07T17:45:00Z"});
    for (const Record r : file_order()) {
        const RecordRow& row = record_row(r);
        if (row.check) row.check(c, row.file_key, &out);
    }
    return out;
}

namespace {

// `checked` false: the values are taken as they stand, for reading back copies the tool itself
// kept (a history), which may hold what a restore would refuse.
bool parse_text(std::string_view text, Configuration* out, FileError* error,
                std::vector<FileError>* warnings, FileOrigin* origin, bool checked) {
    if (text.size() > kMaxFileBytes) {
        *error = {0, 0, "", "the file is larger than 1 MiB"};
        return false;
    }
    Json root;
    if (!parse_strict(text, &root, error)) return false;
    std::vector<FileError> found;
    FileOrigin from = FileOrigin::hand_made;
    Configuration c, shape;
    if (!open_partial(&root, &shape, error)) return false;
    try {
        c = read_value(root, &found, &from);
    } catch (const Bad& bad) {
        *error = {0, 0, bad.path, bad.message};
        return false;
    }
    c.partial = shape.partial;
    c.held = shape.held;
    if (utc_shape(c.saved_at) && !real_moment(c.saved_at))
        found.push_back({0, 0, kSavedAtKey, "not a real date and time", FileFault::impossible_time,
                         0, c.saved_at});
    for (const FileError& e : checked ? check_configuration(c) : std::vector<FileError>{}) {
        if (from != FileOrigin::module_backup || !module_may_hold(e)) {
            *error = e;
            return false;
        }
        found.push_back(e);
    }
    *out = std::move(c);
    if (origin) *origin = from;
    if (warnings) warnings->insert(warnings->end(), found.begin(), found.end());
    return true;
}

}  // namespace

bool parse_configuration(std::string_view text, Configuration* out, FileError* error,
                         std::vector<FileError>* warnings, FileOrigin* origin) {
    return parse_text(text, out, error, warnings, origin, true);
}

bool parse_configuration_as_read(std::string_view text, Configuration* out, FileError* error) {
    return parse_text(text, out, error, nullptr, nullptr, false);
}

bool parse_configuration(std::string_view text, Configuration* out, FileError* error,
                         std::vector<std::string>* warnings) {
    std::vector<FileError> found;
    if (!parse_configuration(text, out, error, &found)) return false;
    if (warnings)
        for (const FileError& w : found) warnings->push_back(describe_warning(w));
    return true;
}

std::string configuration_to_json(const Configuration& c, FileOrigin origin) {
    Json root;
    root[kFormatKey] = kFormatName;
    root[kVersionKey] = kFormatVersion;
    if (c.partial) root[kPartialKey] = true;
    root[kSavedAtKey] = c.saved_at;
    root[kFirmwareKey] = c.firmware;
    if (origin == FileOrigin::module_backup) root[kOriginKey] = kModuleBackup;
    for (const Record r : file_order()) {
        const RecordRow& row = record_row(r);
        if (Json value = row.to_json(c); !value.is_null()) root[row.file_key] = value;
    }
    drop_records_not_held(c, &root);
    // Names can only hold valid UTF-8 here; replace keeps a broken one from throwing.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string utc_timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    gmtime_s(&tm, &now);
#else
    gmtime_r(&now, &tm);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

}  // namespace zavi::config
