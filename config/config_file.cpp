#include "config/config_file.h"

#include <algorithm>
#include <ctime>
#include <nlohmann/json.hpp>
#include <set>

#include "config/partial.h"
#include "config/record_values.h"

namespace zavi::config {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

constexpr const char* kInputModes[2][2] = {{"active_closed", "active_open"},
                                           {"active_voltage", "active_no_voltage"}};
constexpr const char* kInputKeys[4] = {"in1", "in2", "pin1", "pin2"};
constexpr const char* kOutputActions[4] = {"none", "on", "off", "on_2s"};
constexpr const char* kCallActions[3] = {"none", "change", "on_2s"};

// Thrown inside the reader only, caught at its top.
struct Bad {
    std::string path;
    std::string message;
};

const json& field(const json& object, const std::string& path, const char* key) {
    const auto it = object.find(key);
    if (it == object.end()) throw Bad{path.empty() ? key : path + "." + key, "missing"};
    return *it;
}

std::string join(const std::string& path, const char* key) {
    return path.empty() ? key : path + "." + key;
}

void require_object(const json& value, const std::string& path,
                    std::initializer_list<const char*> keys) {
    if (!value.is_object()) throw Bad{path, "must be an object"};
    for (auto it = value.begin(); it != value.end(); ++it) {
        const std::string& key = it.key();
        if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return key == k; }))
            throw Bad{path + "." + key, "unknown field"};
    }
}

long long integer(const json& object, const std::string& path, const char* key, long long lo,
                  long long hi) {
    const json& v = field(object, path, key);
    const std::string where = join(path, key);
    if (!v.is_number_integer()) throw Bad{where, "must be a whole number"};
    const long long n = v.is_number_unsigned() && v.get<unsigned long long>() > 1ULL << 62
                            ? hi + 1
                            : v.get<long long>();
    if (n < lo || n > hi)
        throw Bad{where, "must be " + std::to_string(lo) + " to " + std::to_string(hi)};
    return n;
}

bool boolean(const json& object, const std::string& path, const char* key) {
    const json& v = field(object, path, key);
    if (!v.is_boolean()) throw Bad{join(path, key), "must be true or false"};
    return v.get<bool>();
}

const std::string& text(const json& v, const std::string& where) {
    if (!v.is_string()) throw Bad{where, "must be a text"};
    return v.get_ref<const std::string&>();
}

template <std::size_t N>
uint8_t choice(const json& object, const std::string& path, const char* key,
               const char* const (&names)[N]) {
    const std::string where = join(path, key);
    const std::string& s = text(field(object, path, key), where);
    for (std::size_t i = 0; i < N; ++i)
        if (s == names[i]) return static_cast<uint8_t>(i);
    std::string all;
    for (std::size_t i = 0; i < N; ++i) all += (i ? ", " : "") + std::string(names[i]);
    throw Bad{where, "must be one of " + all};
}

// A name from the list, or a nibble value the program has no name for as its number.
uint8_t call_action(const json& object, const std::string& path, const char* key) {
    const json& v = field(object, path, key);
    if (v.is_number_integer()) return static_cast<uint8_t>(integer(object, path, key, 0, 15));
    return choice(object, path, key, kCallActions);
}

std::vector<std::string> numbers(const json& v, const std::string& where, std::size_t max) {
    if (!v.is_array()) throw Bad{where, "must be a list"};
    if (v.size() > max) throw Bad{where, "holds more than " + std::to_string(max) + " numbers"};
    std::vector<std::string> out;
    for (std::size_t i = 0; i < v.size(); ++i)
        out.push_back(text(v[i], where + "[" + std::to_string(i) + "]"));
    return out;
}

std::optional<std::string> code(const json& object, const std::string& path, const char* key) {
    const json& v = field(object, path, key);
    if (v.is_null()) return std::nullopt;
    return text(v, join(path, key));
}

constexpr char kModuleBackup[] = "module backup";

Configuration read_value(const json& root, std::vector<FileError>* warnings, FileOrigin* origin) {
    if (!root.is_object()) throw Bad{"", "the file must hold one JSON object"};
    const json& format = field(root, "", "format");
    const json& version = field(root, "", "version");
    if (!format.is_string() || format.get<std::string>() != kFormatName)
        throw Bad{"format", "not a ZAVI-GSM configuration, or made by a newer program"};
    if (!version.is_number_integer() || version.get<long long>() < kFormatVersion)
        throw Bad{"version", "must be 1"};
    if (version.get<long long>() > kFormatVersion)
        throw Bad{"version", "made by a newer program (version " + version.dump() + ")"};

    static const std::set<std::string> known = {
        "format",           "version",           "origin",
        "saved_at",         "firmware",          "alarm_settings",
        "alarm_procedures", "call_answer",       "auto_status",
        "auto_reset",       "emergency_numbers", "accept_all",
        "accepted_numbers", "io_names",          "sim_codes"};
    for (const auto& [key, unused] : root.items()) {
        (void)unused;
        if (!known.count(key))
            warnings->push_back(
                {0, 0, key, "unknown field ignored", FileFault::unknown_field, 0, key});
    }
    *origin = FileOrigin::hand_made;
    if (root.contains("origin")) {
        if (text(root["origin"], "origin") != kModuleBackup)
            throw Bad{"origin", "must be \"module backup\" or left out"};
        *origin = FileOrigin::module_backup;
    }

    Configuration c;
    c.saved_at = text(field(root, "", "saved_at"), "saved_at");
    c.firmware = text(field(root, "", "firmware"), "firmware");

    const std::string as = "alarm_settings";
    const json& a = field(root, "", "alarm_settings");
    require_object(
        a, as,
        {"in1", "in2", "pin1", "pin2", "input_modes_high_bits", "thermometer1_high",
         "thermometer1_low", "thermometer2_high", "thermometer2_low", "battery_threshold"});
    for (int k = 0; k < 4; ++k)
        c.alarm_settings.input_modes |=
            static_cast<uint8_t>(choice(a, as, kInputKeys[k], kInputModes[k / 2]) << k);
    c.alarm_settings.high_bits =
        static_cast<uint8_t>(integer(a, as, "input_modes_high_bits", 0, 15));
    c.alarm_settings.t1_high =
        static_cast<int>(integer(a, as, "thermometer1_high", kThresholdMin, kThresholdMax));
    c.alarm_settings.t1_low =
        static_cast<int>(integer(a, as, "thermometer1_low", kThresholdMin, kThresholdMax));
    c.alarm_settings.t2_high =
        static_cast<int>(integer(a, as, "thermometer2_high", kThresholdMin, kThresholdMax));
    c.alarm_settings.t2_low =
        static_cast<int>(integer(a, as, "thermometer2_low", kThresholdMin, kThresholdMax));
    c.alarm_settings.battery =
        static_cast<int>(integer(a, as, "battery_threshold", 0, kBatteryMax));

    const json& procs = field(root, "", "alarm_procedures");
    if (!procs.is_array() || procs.size() != kProcedureCount)
        throw Bad{"alarm_procedures", "must be a list of 9 entries"};
    for (std::size_t i = 0; i < kProcedureCount; ++i) {
        const std::string p = "alarm_procedures[" + std::to_string(i) + "]";
        const json& e = procs[i];
        require_object(e, p, {"event", "sms", "clip", "out1", "out2", "high_bits"});
        if (text(field(e, p, "event"), p + ".event") != kEventNames[i])
            throw Bad{p + ".event", std::string("must be \"") + kEventNames[i] + "\" here"};
        c.procedures[i] = {boolean(e, p, "sms"), boolean(e, p, "clip"),
                           choice(e, p, "out1", kOutputActions),
                           choice(e, p, "out2", kOutputActions),
                           static_cast<uint8_t>(integer(e, p, "high_bits", 0, 3))};
    }

    const json& ca = field(root, "", "call_answer");
    require_object(ca, "call_answer", {"sms", "out1", "out2"});
    c.call_answer = {boolean(ca, "call_answer", "sms"), call_action(ca, "call_answer", "out1"),
                     call_action(ca, "call_answer", "out2")};

    const json& st = field(root, "", "auto_status");
    require_object(st, "auto_status", {"sms", "clip", "period_days"});
    c.auto_status = {boolean(st, "auto_status", "sms"), boolean(st, "auto_status", "clip"),
                     static_cast<uint8_t>(integer(st, "auto_status", "period_days", 0, 15))};

    const json& ar = field(root, "", "auto_reset");
    require_object(ar, "auto_reset", {"period_days"});
    c.auto_reset_days = static_cast<uint8_t>(integer(ar, "auto_reset", "period_days", 0, 255));

    c.emergency_numbers =
        numbers(field(root, "", "emergency_numbers"), "emergency_numbers", kEmergencyMax);
    c.accept_all = boolean(root, "", "accept_all");
    c.accepted_numbers =
        numbers(field(root, "", "accepted_numbers"), "accepted_numbers", kAcceptedMax);

    const json& names = field(root, "", "io_names");
    require_object(names, "io_names",
                   {kIoNameKeys[0], kIoNameKeys[1], kIoNameKeys[2], kIoNameKeys[3], kIoNameKeys[4],
                    kIoNameKeys[5], kIoNameKeys[6], kIoNameKeys[7], kIoNameKeys[8], kIoNameKeys[9],
                    kIoNameKeys[10], kIoNameKeys[11]});
    for (std::size_t i = 0; i < kNameCount; ++i)
        c.io_names[i] =
            text(field(names, "io_names", kIoNameKeys[i]), join("io_names", kIoNameKeys[i]));

    if (root.contains("sim_codes")) {
        const json& sc = root["sim_codes"];
        require_object(sc, "sim_codes", {"pin", "puk"});
        c.sim_codes = SimCodesValue{code(sc, "sim_codes", "pin"), code(sc, "sim_codes", "puk")};
    }
    return c;
}

bool all_digits(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

bool upper_hex(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char ch) {
        return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F');
    });
}

FileError broken(std::string path, std::string message, FileFault fault, int item = 0,
                 std::string value = "") {
    return {0, 0, std::move(path), std::move(message), fault, item, std::move(value)};
}

void check_numbers(const std::vector<std::string>& list, const char* name,
                   std::vector<FileError>* out) {
    std::set<std::string> seen;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = std::string(name) + "[" + std::to_string(i) + "]";
        const std::string& n = list[i];
        const int item = static_cast<int>(i) + 1;
        if (n.empty())
            out->push_back(broken(where, "must be 1 to 14 digits without \"+\" (it is empty)",
                                  FileFault::number_empty, item));
        else if (n.size() > kNumberMaxDigits || !all_digits(n))
            out->push_back(broken(where, "must be 1 to 14 digits without \"+\"",
                                  FileFault::number_form, item, n));
        else if (!seen.insert(n).second)
            out->push_back(
                broken(where, "duplicate number " + n, FileFault::number_repeated, item, n));
    }
}

// Allowed: printable ASCII and U+00A0-U+00FF; at most 40 characters.
void check_name(const std::string& name, std::size_t index, std::vector<FileError>* out) {
    const std::string where = std::string("io_names.") + kIoNameKeys[index];
    const int item = static_cast<int>(index);
    std::string bytes;
    if (!utf8_to_latin1(name, &bytes)) {
        out->push_back(broken(where, "holds a character the module cannot keep",
                              FileFault::name_character, item));
        return;
    }
    // A NUL would end the name in the module: it cannot come from one.
    if (bytes.find('\0') != std::string::npos) {
        out->push_back(broken(where, "holds a NUL character the module cannot keep",
                              FileFault::name_character, item));
        return;
    }
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || (b >= 0x7F && b < 0xA0)) {
            out->push_back(broken(where, "holds a control character the module cannot show",
                                  FileFault::name_control, item));
            break;
        }
    }
    if (bytes.size() > kNameMaxLength)
        out->push_back(broken(where, "is longer than 40 characters", FileFault::name_length, item));
}

void check_code(const std::optional<std::string>& code, std::size_t digits, const char* where,
                std::vector<FileError>* out) {
    if (!code) return;
    const std::string message = "must be " + std::to_string(digits) + " digits or null";
    if (code->size() == digits && all_digits(*code)) return;
    if (code->size() == digits && upper_hex(*code))
        out->push_back(broken(where, message + " (it holds a digit above 9)", FileFault::code_hex));
    else
        out->push_back(broken(where, message, FileFault::code_form));
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
FileError describe_parse_error(std::string_view text, const json::parse_error& e) {
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
bool parse_strict(std::string_view text, json* root, FileError* error) {
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
    const json::parser_callback_t watch = [&](int, json::parse_event_t event, json& parsed) {
        switch (event) {
            case json::parse_event_t::object_start:
            case json::parse_event_t::array_start:
                if (!frames.empty() && frames.back().array) ++frames.back().next;
                if (frames.size() >= static_cast<std::size_t>(kMaxNesting))
                    throw Bad{path(),
                              "nested deeper than " + std::to_string(kMaxNesting) + " levels"};
                frames.push_back({event == json::parse_event_t::array_start, 0, "", {}});
                break;
            case json::parse_event_t::key: {
                Frame& f = frames.back();
                f.key = parsed.get<std::string>();
                if (!f.keys.insert(f.key).second) throw Bad{path(), "given twice"};
                break;
            }
            case json::parse_event_t::value:
                if (!frames.empty() && frames.back().array) ++frames.back().next;
                break;
            case json::parse_event_t::object_end:
            case json::parse_event_t::array_end:
                frames.pop_back();
                break;
        }
        return true;
    };
    // The parser takes a NUL byte for the end of the input: what follows would go unseen.
    const std::size_t nul = text.find('\0');
    const std::string_view document = text.substr(0, nul);
    try {
        *root = json::parse(document.begin(), document.end(), watch);
    } catch (const json::parse_error& e) {
        if (nul != std::string_view::npos && e.byte > nul) {
            *error = syntax_error(text, nul, "JSON syntax error: a NUL byte");
            return false;
        }
        *error = describe_parse_error(text, e);
        return false;
    } catch (const Bad& bad) {
        *error = {0, 0, bad.path, bad.message};
        return false;
    } catch (const json::exception&) {
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

ordered_json call_action_json(uint8_t value) {
    if (value < 3) return kCallActions[value];
    return value;
}

ordered_json numbers_json(const std::vector<std::string>& list) {
    ordered_json out = ordered_json::array();
    for (const auto& n : list) out.push_back(n);
    return out;
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
        out.push_back({0, 0, "saved_at", "must be a UTC time like 2026-12-07T17:45:00Z"});
    const AlarmSettingsValue& a = c.alarm_settings;
    if (a.t1_high <= a.t1_low)
        out.push_back(broken("alarm_settings.thermometer1_high", "must be above thermometer1_low",
                             FileFault::threshold_order, 1));
    if (a.t2_high <= a.t2_low)
        out.push_back(broken("alarm_settings.thermometer2_high", "must be above thermometer2_low",
                             FileFault::threshold_order, 2));
    check_numbers(c.emergency_numbers, "emergency_numbers", &out);
    check_numbers(c.accepted_numbers, "accepted_numbers", &out);
    for (std::size_t i = 0; i < kNameCount; ++i) check_name(c.io_names[i], i, &out);
    if (c.sim_codes) {
        check_code(c.sim_codes->pin, 4, "sim_codes.pin", &out);
        check_code(c.sim_codes->puk, 8, "sim_codes.puk", &out);
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
    json root;
    if (!parse_strict(text, &root, error)) return false;
    std::vector<FileError> found;
    FileOrigin from = FileOrigin::hand_made;
    Configuration c, shape;
    if (!open_partial(&root, text, &shape, error)) return false;
    try {
        c = read_value(root, &found, &from);
    } catch (const Bad& bad) {
        *error = {0, 0, bad.path, bad.message};
        return false;
    }
    c.partial = shape.partial;
    c.held = shape.held;
    if (utc_shape(c.saved_at) && !real_moment(c.saved_at))
        found.push_back({0, 0, "saved_at", "not a real date and time", FileFault::impossible_time,
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
    warnings->insert(warnings->end(), found.begin(), found.end());
    return true;
}

}  // namespace

bool parse_configuration(std::string_view text, Configuration* out, FileError* error,
                         std::vector<FileError>* warnings, FileOrigin* origin) {
    return parse_text(text, out, error, warnings, origin, true);
}

bool parse_configuration_as_read(std::string_view text, Configuration* out, FileError* error) {
    std::vector<FileError> warnings;
    return parse_text(text, out, error, &warnings, nullptr, false);
}

bool parse_configuration(std::string_view text, Configuration* out, FileError* error,
                         std::vector<std::string>* warnings) {
    std::vector<FileError> found;
    if (!parse_configuration(text, out, error, &found)) return false;
    for (const FileError& w : found) warnings->push_back(describe_warning(w));
    return true;
}

std::string configuration_to_json(const Configuration& c, FileOrigin origin) {
    ordered_json root;
    root["format"] = kFormatName;
    root["version"] = kFormatVersion;
    if (c.partial) root["partial"] = true;
    root["saved_at"] = c.saved_at;
    root["firmware"] = c.firmware;
    if (origin == FileOrigin::module_backup) root["origin"] = kModuleBackup;
    ordered_json a;
    for (int k = 0; k < 4; ++k)
        a[kInputKeys[k]] = kInputModes[k / 2][c.alarm_settings.input_modes >> k & 1];
    a["input_modes_high_bits"] = c.alarm_settings.high_bits;
    a["thermometer1_high"] = c.alarm_settings.t1_high;
    a["thermometer1_low"] = c.alarm_settings.t1_low;
    a["thermometer2_high"] = c.alarm_settings.t2_high;
    a["thermometer2_low"] = c.alarm_settings.t2_low;
    a["battery_threshold"] = c.alarm_settings.battery;
    root["alarm_settings"] = a;
    ordered_json procs = ordered_json::array();
    for (std::size_t i = 0; i < kProcedureCount; ++i) {
        const ProcedureValue& p = c.procedures[i];
        ordered_json e;
        e["event"] = kEventNames[i];
        e["sms"] = p.sms;
        e["clip"] = p.clip;
        e["out1"] = kOutputActions[p.out1 & 3];
        e["out2"] = kOutputActions[p.out2 & 3];
        e["high_bits"] = p.high_bits;
        procs.push_back(e);
    }
    root["alarm_procedures"] = procs;
    root["call_answer"] = {{"sms", c.call_answer.sms},
                           {"out1", call_action_json(c.call_answer.out1)},
                           {"out2", call_action_json(c.call_answer.out2)}};
    root["auto_status"] = {{"sms", c.auto_status.sms},
                           {"clip", c.auto_status.clip},
                           {"period_days", c.auto_status.period_days}};
    root["auto_reset"] = {{"period_days", c.auto_reset_days}};
    root["emergency_numbers"] = numbers_json(c.emergency_numbers);
    root["accept_all"] = c.accept_all;
    root["accepted_numbers"] = numbers_json(c.accepted_numbers);
    ordered_json names;
    for (std::size_t i = 0; i < kNameCount; ++i) names[kIoNameKeys[i]] = c.io_names[i];
    root["io_names"] = names;
    if (c.sim_codes) {
        ordered_json sc;
        sc["pin"] = c.sim_codes->pin ? ordered_json(*c.sim_codes->pin) : ordered_json(nullptr);
        sc["puk"] = c.sim_codes->puk ? ordered_json(*c.sim_codes->puk) : ordered_json(nullptr);
        root["sim_codes"] = sc;
    }
    drop_records_not_held(c, &root);
    // Names can only hold valid UTF-8 here; replace keeps a broken one from throwing.
    return root.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
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
