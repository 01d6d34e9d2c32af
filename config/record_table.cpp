#include "config/record_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "config/json.h"
#include "config/json_fields.h"
#include "config/record_checks.h"
#include "config/record_values.h"
#include "link/config_commands.h"
#include "link/connection.h"
#include "link/io_name_commands.h"
#include "link/module_text.h"
#include "link/phone_commands.h"
#include "link/phone_number.h"
#include "link/records.h"
#include "link/status_commands.h"
#include "link/wire_text.h"

namespace zavi::config {

namespace {

using C = Configuration;

constexpr const char* kInputModes[2][2] = {{"active_closed", "active_open"},
                                           {"active_voltage", "active_no_voltage"}};
constexpr const char* kOutputActions[4] = {"none", "on", "off", "on_2s"};
constexpr const char* kCallActions[3] = {"none", "change", "on_2s"};
constexpr bool kOrNumber = true;  // a call action the names do not cover is kept as its number

// --- alarm settings

int threshold_value(const TemperatureThreshold& t) {
    const int v = t.negative ? -static_cast<int>(t.whole) : static_cast<int>(t.whole);
    return std::clamp(v, kThresholdMin, kThresholdMax);
}

TemperatureThreshold threshold_record(int value) {
    return {static_cast<uint8_t>(value < 0 ? 1 : 0),
            static_cast<uint8_t>(value < 0 ? -value : value), 0};
}

void alarm_settings_to_value(C* c) {
    const AlarmSettings& a = alarm_settings;
    c->alarm_settings.input_modes = a.input_modes & 0x0F;
    c->alarm_settings.high_bits = a.input_modes >> 4;
    c->alarm_settings.t1_high = threshold_value(a.t1_high);
    c->alarm_settings.t1_low = threshold_value(a.t1_low);
    c->alarm_settings.t2_high = threshold_value(a.t2_high);
    c->alarm_settings.t2_low = threshold_value(a.t2_low);
    c->alarm_settings.battery = std::min<int>(a.battery_threshold, kBatteryMax);
}

void alarm_settings_from_value(const C& c) {
    const AlarmSettingsValue& v = c.alarm_settings;
    alarm_settings.input_modes = static_cast<uint8_t>(v.high_bits << 4 | (v.input_modes & 0x0F));
    alarm_settings.t1_high = threshold_record(v.t1_high);
    alarm_settings.t1_low = threshold_record(v.t1_low);
    alarm_settings.t2_high = threshold_record(v.t2_high);
    alarm_settings.t2_low = threshold_record(v.t2_low);
    alarm_settings.battery_threshold = static_cast<uint8_t>(v.battery);
}

const auto alarm_settings_fields = [](auto& io, auto& v) {
    io("in1", v.input_modes, 0, kInputModes[0]);
    io("in2", v.input_modes, 1, kInputModes[0]);
    io("pin1", v.input_modes, 2, kInputModes[1]);
    io("pin2", v.input_modes, 3, kInputModes[1]);
    io("input_modes_high_bits", v.high_bits, 0, 15);
    io("thermometer1_high", v.t1_high, kThresholdMin, kThresholdMax);
    io("thermometer1_low", v.t1_low, kThresholdMin, kThresholdMax);
    io("thermometer2_high", v.t2_high, kThresholdMin, kThresholdMax);
    io("thermometer2_low", v.t2_low, kThresholdMin, kThresholdMax);
    io("battery_threshold", v.battery, 0, kBatteryMax);
};

void check_alarm_settings(const C& c, const char*, std::vector<FileError>* out) {
    const AlarmSettingsValue& a = c.alarm_settings;
    if (a.t1_high <= a.t1_low)
        out->push_back(broken("alarm_settings.thermometer1_high", "must be above thermometer1_low",
                              FileFault::threshold_order, 1));
    if (a.t2_high <= a.t2_low)
        out->push_back(broken("alarm_settings.thermometer2_high", "must be above thermometer2_low",
                              FileFault::threshold_order, 2));
}

// --- alarm procedures

void procedures_to_value(C* c) {
    for (std::size_t i = 0; i < kProcedureCount; ++i) {
        const uint8_t e = action_table.entry[i];
        c->procedures[i] = {(e & kActionSmsBit) != 0, (e & kActionClipBit) != 0,
                            static_cast<uint8_t>(e >> 2 & 3), static_cast<uint8_t>(e & 3),
                            static_cast<uint8_t>(e >> 6)};
    }
}

void procedures_from_value(const C& c) {
    for (std::size_t i = 0; i < kProcedureCount; ++i) {
        const ProcedureValue& p = c.procedures[i];
        action_table.entry[i] =
            static_cast<uint8_t>(p.high_bits << 6 | (p.sms ? kActionSmsBit : 0) |
                                 (p.clip ? kActionClipBit : 0) | (p.out1 & 3) << 2 | (p.out2 & 3));
    }
}

// Entry i of the list; its "event" names the entry's place.
auto procedure_fields(std::size_t i) {
    return [i](auto& io, auto& p) {
        io("event", kEventNames[i]);
        io("sms", p.sms);
        io("clip", p.clip);
        io("out1", p.out1, kOutputActions);
        io("out2", p.out2, kOutputActions);
        io("high_bits", p.high_bits, 0, 3);
    };
}

void procedures_from_json(const Json& value, const std::string& path, C* c) {
    if (!value.is_array() || value.size() != kProcedureCount)
        throw Bad{path, "must be a list of 9 entries"};
    for (std::size_t i = 0; i < kProcedureCount; ++i)
        read_fields(value[i], path + "[" + std::to_string(i) + "]", &c->procedures[i],
                    procedure_fields(i));
}

Json procedures_to_json(const C& c) {
    Json out = Json::array();
    for (std::size_t i = 0; i < kProcedureCount; ++i)
        out.push_back(write_fields(c.procedures[i], procedure_fields(i)));
    return out;
}

// --- call answer, auto-status, auto-reset, accept all

const auto call_answer_fields = [](auto& io, auto& v) {
    io("sms", v.sms);
    io("out1", v.out1, kCallActions, kOrNumber);
    io("out2", v.out2, kCallActions, kOrNumber);
};

const auto auto_status_fields = [](auto& io, auto& v) {
    io("sms", v.sms);
    io("clip", v.clip);
    io("period_days", v.period_days, 0, 15);
};

const auto auto_reset_fields = [](auto& io, auto& c) {
    io("period_days", c.auto_reset_days, 0, 255);
};

// --- the number lists

template <class Item>
void numbers_to_value(std::vector<std::string>* list, std::size_t count, std::size_t capacity,
                      const Item* items) {
    for (std::size_t i = 0; i < std::min(count, capacity); ++i)
        list->push_back(phone_digits(items[i]));
}

template <class Count, class Item>
void numbers_from_value(const std::vector<std::string>& list, std::size_t capacity, Count* count,
                        Item* items) {
    *count = static_cast<Count>(std::min(list.size(), capacity));
    for (std::size_t i = 0; i < *count; ++i) pack_phone_digits(list[i], items[i]);
}

// --- I/O names, in two halves of six

constexpr std::size_t kHalf = kNameCount / 2;

void set_name(char (&slot)[kIoNameSlot], const std::string& utf8) {
    std::string bytes = utf8_to_module_text(utf8).value_or("");
    bytes.resize(std::min(bytes.size(), kNameMaxLength));
    std::memset(slot, 0, sizeof slot);
    std::memcpy(slot, bytes.data(), bytes.size());
}

template <std::size_t First>
void names_to_value(C* c) {
    for (std::size_t i = First; i < First + kHalf; ++i) {
        // The program never sends more than 40 characters of a name.
        const std::size_t length =
            std::min(slot_length(io_names.name[i], kIoNameSlot), kNameMaxLength);
        c->io_names[i] = module_text_to_utf8(std::string_view(io_names.name[i], length));
    }
}

template <std::size_t First>
void names_from_value(const C& c) {
    for (std::size_t i = First; i < First + kHalf; ++i) set_name(io_names.name[i], c.io_names[i]);
}

template <std::size_t First>
bool names_equal(const C& a, const C& b) {
    return std::equal(a.io_names.begin() + First, a.io_names.begin() + First + kHalf,
                      b.io_names.begin() + First);
}

template <std::size_t First>
void names_copy(const C& from, C* to) {
    std::copy_n(from.io_names.begin() + First, kHalf, to->io_names.begin() + First);
}

const auto io_names_fields = [](auto& io, auto& names) {
    for (std::size_t i = 0; i < kNameCount; ++i) io(kIoNameKeys[i], names[i]);
};

void check_io_names(const C& c, const char*, std::vector<FileError>* out) {
    for (std::size_t i = 0; i < kNameCount; ++i) check_name(c.io_names[i], i, out);
}

// --- SIM codes

// Packed decimal as text; a nibble above 9 shows as its hex digit, which no file accepts.
std::string packed_text(uint32_t value, int digits) {
    char text[12];
    std::snprintf(text, sizeof text, "%0*X", digits, static_cast<unsigned>(value));
    return text;
}

// Digits, or the hex digits A-F a module may hold (a backup keeps them as read).
uint32_t packed_value(const std::string& digits) {
    uint32_t v = 0;
    for (char c : digits)
        v = v << 4 | static_cast<uint32_t>(c >= 'A' && c <= 'F' ? c - 'A' + 10 : (c - '0') & 0x0F);
    return v;
}

void sim_codes_to_value(C* c) {
    SimCodesValue s;
    if (sim_codes.pin != kPinNotSet) s.pin = packed_text(sim_codes.pin, 4);
    if (sim_codes.puk != kPukNotSet) s.puk = packed_text(sim_codes.puk, 8);
    c->sim_codes = s;
}

void sim_codes_from_value(const C& c) {
    if (!c.sim_codes) return;
    sim_codes.pin =
        c.sim_codes->pin ? static_cast<uint16_t>(packed_value(*c.sim_codes->pin)) : kPinNotSet;
    sim_codes.puk = c.sim_codes->puk ? packed_value(*c.sim_codes->puk) : kPukNotSet;
}

const auto sim_codes_fields = [](auto& io, auto& v) {
    io("pin", v.pin);
    io("puk", v.puk);
};

// Compared only when both hold them.
bool sim_codes_equal(const C& a, const C& b) {
    return !a.sim_codes || !b.sim_codes || *a.sim_codes == *b.sim_codes;
}

void sim_codes_from_json(const Json& value, const std::string& path, C* c) {
    SimCodesValue s;
    read_fields(value, path, &s, sim_codes_fields);
    c->sim_codes = s;
}

Json sim_codes_to_json(const C& c) {
    return c.sim_codes ? write_fields(*c.sim_codes, sim_codes_fields) : Json();
}

void check_sim_codes(const C& c, const char*, std::vector<FileError>* out) {
    if (!c.sim_codes) return;
    check_code(c.sim_codes->pin, 4, "sim_codes.pin", out);
    check_code(c.sim_codes->puk, 8, "sim_codes.puk", out);
}

// --- rows

using Command = LinkResult (*)(DriverHandle);
using ToValue = void (*)(C*);
using FromValue = void (*)(const C&);
using Check = void (*)(const C&, const char*, std::vector<FileError>*);

template <auto M>
bool member_equal(const C& a, const C& b) {
    return a.*M == b.*M;
}

template <auto M>
void member_copy(const C& from, C* to) {
    to->*M = from.*M;
}

template <auto M, const auto& Fields>
void object_from_json(const Json& value, const std::string& path, C* c) {
    read_fields(value, path, &(c->*M), Fields);
}

template <auto M, const auto& Fields>
Json object_to_json(const C& c) {
    return write_fields(c.*M, Fields);
}

using FromJson = void (*)(const Json&, const std::string&, C*);
using ToJson = Json (*)(const C&);

// A record that is member M of the configuration, filed under `key`.
template <auto M>
constexpr RecordRow member_row(const char* name, RecordTitle title, Command read, Command write,
                               ToValue to, FromValue from, const char* key, FromJson from_json,
                               ToJson to_json, Check check = nullptr) {
    return {name,           title, read,      write,   false, to, from, member_equal<M>,
            member_copy<M>, key,   from_json, to_json, check};
}

// ... filed as a JSON object of `Fields`.
template <auto M, const auto& Fields>
constexpr RecordRow object_row(const char* name, RecordTitle title, Command read, Command write,
                               ToValue to, FromValue from, const char* key, Check check = nullptr) {
    return member_row<M>(name, title, read, write, to, from, key, object_from_json<M, Fields>,
                         object_to_json<M, Fields>, check);
}

// A number list, at most Max numbers in a file.
template <auto M, std::size_t Max>
constexpr RecordRow numbers_row(const char* name, RecordTitle title, Command read, Command write,
                                ToValue to, FromValue from) {
    return member_row<M>(
        name, title, read, write, to, from, name,
        [](const Json& value, const std::string& path, C* c) { c->*M = numbers(value, path, Max); },
        [](const C& c) { return Json(c.*M); },
        [](const C& c, const char* path, std::vector<FileError>* out) {
            check_numbers(c.*M, path, out);
        });
}

// One half of the I/O names; the first half's row files all twelve under "io_names".
template <std::size_t First>
constexpr RecordRow names_row(const char* name, RecordTitle title) {
    constexpr bool first = First == 0;
    constexpr auto half = static_cast<uint8_t>(first ? 0 : 1);
    return {name,
            title,
            [](DriverHandle h) { return read_io_names(h, half); },
            [](DriverHandle h) { return write_io_names(h, half); },
            false,
            names_to_value<First>,
            names_from_value<First>,
            names_equal<First>,
            names_copy<First>,
            first ? "io_names" : nullptr,
            first ? object_from_json<&C::io_names, io_names_fields> : nullptr,
            first ? object_to_json<&C::io_names, io_names_fields> : nullptr,
            first ? check_io_names : nullptr};
}

constexpr RecordRow kRows[] = {
    object_row<&C::alarm_settings, alarm_settings_fields>(
        "alarm_settings",
        {"warunki alarmów", "alarm settings", "Alarmbedingungen", "warunków alarmów"},
        read_alarm_settings, write_alarm_settings, alarm_settings_to_value,
        alarm_settings_from_value, "alarm_settings", check_alarm_settings),
    member_row<&C::procedures>(
        "alarm_procedures",
        {"procedury alarmowe", "emergency procedures", "Alarmprozeduren", "procedur alarmowych"},
        read_actions, write_actions, procedures_to_value, procedures_from_value, "alarm_procedures",
        procedures_from_json, procedures_to_json),
    object_row<&C::call_answer, call_answer_fields>(
        "call_answer",
        {"reakcja na wywołanie", "answer for call", "Antwort zum Abrufen", "reakcji na wywołanie"},
        read_call_answer, write_call_answer,
        [](C* c) {
            c->call_answer = {call_answer.sms != 0,
                              static_cast<uint8_t>(call_answer.reactions & 0x0F),
                              static_cast<uint8_t>(call_answer.reactions >> 4)};
        },
        [](const C& c) {
            call_answer.sms = c.call_answer.sms ? 1 : 0;
            call_answer.reactions = static_cast<uint8_t>((c.call_answer.out2 & 0x0F) << 4 |
                                                         (c.call_answer.out1 & 0x0F));
        },
        "call_answer"),
    object_row<&C::auto_status, auto_status_fields>(
        "auto_status", {"auto-status", "auto-status", "Auto-Status", "auto-statusu"},
        read_auto_status, write_auto_status,
        [](C* c) {
            c->auto_status = {(auto_status.value & kAutoStatusSmsBit) != 0,
                              (auto_status.value & kAutoStatusClipBit) != 0,
                              static_cast<uint8_t>(auto_status.value & kAutoStatusPeriodBits)};
        },
        [](const C& c) {
            auto_status.value =
                static_cast<uint8_t>((c.auto_status.sms ? kAutoStatusSmsBit : 0) |
                                     (c.auto_status.clip ? kAutoStatusClipBit : 0) |
                                     (c.auto_status.period_days & kAutoStatusPeriodBits));
        },
        "auto_status"),
    member_row<&C::auto_reset_days>(
        "auto_reset", {"auto-reset", "auto-reset", "Auto-Reset", "auto-resetu"}, read_auto_reset,
        write_auto_reset, [](C* c) { c->auto_reset_days = auto_reset.period; },
        [](const C& c) { auto_reset.period = c.auto_reset_days; }, "auto_reset",
        [](const Json& value, const std::string& path, C* c) {
            read_fields(value, path, c, auto_reset_fields);
        },
        [](const C& c) { return write_fields(c, auto_reset_fields); }),
    member_row<&C::accept_all>(
        "accept_all",
        {"przyjmowanie wszystkich numerów", "accepting all numbers", "Annahme aller Nummern",
         "przyjmowania wszystkich numerów"},
        read_accept_all, write_accept_all, [](C* c) { c->accept_all = accept_all != 0; },
        [](const C& c) { accept_all = c.accept_all ? 1 : 0; }, "accept_all",
        [](const Json& value, const std::string& path, C* c) {
            c->accept_all = boolean(value, path);
        },
        [](const C& c) { return Json(c.accept_all); }),
    numbers_row<&C::emergency_numbers, kEmergencyMax>(
        "emergency_numbers",
        {"numery alarmowe", "emergency numbers", "Alarmnummern", "numerów alarmowych"},
        read_emergency_numbers, write_emergency_numbers,
        [](C* c) {
            numbers_to_value(&c->emergency_numbers, emergency_count, kEmergencyCapacity,
                             emergency_numbers);
        },
        [](const C& c) {
            numbers_from_value(c.emergency_numbers, kEmergencyCapacity, &emergency_count,
                               emergency_numbers);
        }),
    // Read and written block by block (config/operations.cpp).
    numbers_row<&C::accepted_numbers, kAcceptedMax>(
        "accepted_numbers",
        {"numery telefonów", "telephone numbers", "Telefonnummern", "numerów telefonów"}, nullptr,
        nullptr,
        [](C* c) {
            numbers_to_value(&c->accepted_numbers, accepted_count, kAcceptedCapacity,
                             accepted_numbers);
        },
        [](const C& c) {
            numbers_from_value(c.accepted_numbers, kAcceptedCapacity, &accepted_count,
                               accepted_numbers);
        }),
    names_row<0>("io_names (1-6)",
                 {"nazwy we./wy. 1-6", "I/O names 1-6", "E/A-Namen 1-6", "nazw we./wy. 1-6"}),
    names_row<kHalf>("io_names (7-12)", {"nazwy we./wy. 7-12", "I/O names 7-12", "E/A-Namen 7-12",
                                         "nazw we./wy. 7-12"}),
    {"sim_codes",
     {"PIN i PUK", "PIN and PUK", "PIN und PUK", "kodów PIN i PUK"},
     read_sim_codes,
     write_sim_codes,
     true,
     sim_codes_to_value,
     sim_codes_from_value,
     sim_codes_equal,
     member_copy<&C::sim_codes>,
     "sim_codes",
     sim_codes_from_json,
     sim_codes_to_json,
     check_sim_codes},
};
static_assert(std::size(kRows) == kRecordCount);

// The file lists the emergency numbers before the accept-all switch.
constexpr Record kFileOrder[] = {
    Record::alarm_settings, Record::alarm_procedures, Record::call_answer,
    Record::auto_status,    Record::auto_reset,       Record::emergency_numbers,
    Record::accept_all,     Record::accepted_numbers, Record::io_names_first,
    Record::sim_codes,
};

}  // namespace

const RecordRow& record_row(Record record) {
    return kRows[static_cast<std::size_t>(record)];
}

std::span<const Record> file_order() {
    return kFileOrder;
}

}  // namespace zavi::config
