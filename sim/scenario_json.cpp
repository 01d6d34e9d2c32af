// Scenario files: modules with their state and faults, the timing, and the clock. Every field
// may be left out (it keeps its default); anything present is checked for type and range.
#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <string_view>

#include "sim/json_values.h"
#include "sim/simulator.h"

namespace zavi::sim {

namespace {

using Json = nlohmann::json;
namespace jv = json_values;

constexpr std::size_t kMaxModules = 255;
constexpr std::size_t kMaxFaults = 255;
constexpr std::size_t kMaxText = 255;           // one length byte on the wire
constexpr std::size_t kMaxEmergency = 255;      // one count byte on the wire
constexpr std::size_t kMaxAccepted = 36 * 256;  // 36 numbers in each of 256 blocks
constexpr std::size_t kMaxRawAnswer = 4096;     // room for answers far beyond any buffer
constexpr int kMaxNesting = 32;
constexpr std::size_t kMaxTimelineEvents = 1000;
constexpr double kMaxTimelineSeconds = 1'000'000.0;

struct FaultName {
    FaultKind kind;
    const char* name;
};

constexpr FaultName kFaultNames[] = {
    {FaultKind::no_answer, "no_answer"},
    {FaultKind::bad_header_crc, "bad_header_crc"},
    {FaultKind::bad_data_crc, "bad_data_crc"},
    {FaultKind::wrong_command, "wrong_command"},
    {FaultKind::wrong_sub_index, "wrong_sub_index"},
    {FaultKind::wrong_length, "wrong_length"},
    {FaultKind::short_ack, "short_ack"},
    {FaultKind::long_ack, "long_ack"},
    {FaultKind::wrong_ack, "wrong_ack"},
    {FaultKind::stale_first, "stale_first"},
    {FaultKind::previous_answer, "previous_answer"},
    {FaultKind::garbage, "garbage"},
    {FaultKind::truncated, "truncated"},
    {FaultKind::raw_answer, "raw_answer"},
    {FaultKind::drip, "drip"},
    {FaultKind::delay, "delay"},
    {FaultKind::count_override, "count_override"},
    {FaultKind::unplug, "unplug"},
};

// Reads one object, remembering where in the file it is for the error message.
class Reader {
  public:
    Reader(const Json& object, std::string path, std::string* error)
        : j_(object), path_(std::move(path)), error_(error) {}

    bool shape(std::initializer_list<const char*> keys) {
        if (!j_.is_object()) return fail(path_, "expected an object");
        const std::set<std::string_view> known(keys.begin(), keys.end());
        for (const auto& item : j_.items())
            if (!known.count(item.key())) return fail(at(item.key()), "unknown field");
        return true;
    }

    bool has(const char* key) const { return j_.contains(key); }
    const Json& operator[](const char* key) const { return j_.at(key); }
    std::string at(std::string_view key) const {
        return path_.empty() ? std::string(key) : path_ + "." + std::string(key);
    }

    bool flag(const char* key, bool* out) {
        if (!has(key)) return true;
        if (!j_[key].is_boolean()) return fail(at(key), "expected true or false");
        *out = j_[key].get<bool>();
        return true;
    }

    template <typename T>
    bool integer(const char* key, int64_t min, int64_t max, T* out) {
        if (!has(key)) return true;
        return integer_value(j_[key], at(key), min, max, out);
    }

    bool text(const char* key, std::string* out) {
        if (!has(key)) return true;
        std::string why;
        if (!jv::read_text(j_[key], kMaxText, out, &why)) return fail(at(key), why);
        return true;
    }

    bool code(const char* key, int digits, uint32_t* out) {
        if (!has(key)) return true;
        std::string why;
        if (!jv::read_code(j_[key], digits, out, &why)) return fail(at(key), why);
        return true;
    }

    bool bytes(const char* key, std::size_t max, std::vector<uint8_t>* out) {
        if (!has(key)) return true;
        std::string why;
        if (!jv::read_bytes(j_[key], max, out, &why)) return fail(at(key), why);
        return true;
    }

    template <std::size_t N>
    bool byte_array(const char* key, std::array<uint8_t, N>* out) {
        if (!has(key)) return true;
        std::vector<uint8_t> v;
        if (!bytes(key, N, &v)) return false;
        if (v.size() != N) return fail(at(key), "expected exactly " + std::to_string(N) + " bytes");
        std::copy(v.begin(), v.end(), out->begin());
        return true;
    }

    template <std::size_t N>
    bool texts(const char* key, std::array<std::string, N>* out) {
        if (!has(key)) return true;
        const Json& a = j_[key];
        if (!a.is_array()) return fail(at(key), "expected an array of strings");
        if (a.size() > N) return fail(at(key), "at most " + std::to_string(N) + " texts");
        for (std::size_t i = 0; i < a.size(); ++i) {
            std::string why;
            if (!jv::read_text(a[i], kMaxText, &(*out)[i], &why))
                return fail(at(key) + "[" + std::to_string(i) + "]", why);
        }
        return true;
    }

    bool numbers(const char* key, std::size_t max, std::vector<Number>* out) {
        if (!has(key)) return true;
        const Json& a = j_[key];
        if (!a.is_array()) return fail(at(key), "expected an array of telephone numbers");
        if (a.size() > max) return fail(at(key), "at most " + std::to_string(max) + " numbers");
        out->assign(a.size(), Number{});
        for (std::size_t i = 0; i < a.size(); ++i) {
            std::string why;
            if (!jv::read_number(a[i], &(*out)[i], &why))
                return fail(at(key) + "[" + std::to_string(i) + "]", why);
        }
        return true;
    }

    bool fail(const std::string& where, const std::string& what) {
        *error_ = where + ": " + what;
        return false;
    }

    template <typename T>
    bool integer_value(const Json& v, const std::string& where, int64_t min, int64_t max, T* out) {
        const std::string range =
            "expected a whole number from " + std::to_string(min) + " to " + std::to_string(max);
        int64_t n = 0;
        if (v.is_number_unsigned()) {
            if (v.get<uint64_t>() > static_cast<uint64_t>(max)) return fail(where, range);
            n = static_cast<int64_t>(v.get<uint64_t>());
        } else if (v.is_number_integer()) {
            n = v.get<int64_t>();
        } else {
            return fail(where, range);
        }
        if (n < min || n > max) return fail(where, range);
        *out = static_cast<T>(n);
        return true;
    }

  private:
    const Json& j_;
    std::string path_;
    std::string* error_;
};

bool read_state(const Json& j, const std::string& path, ModuleState* s, std::string* error) {
    Reader r(j, path, error);
    if (!r.shape({"firmware",
                  "temp1_negative",
                  "temp1_whole",
                  "temp1_tenths",
                  "temp2_negative",
                  "temp2_whole",
                  "temp2_tenths",
                  "battery_level",
                  "battery_flags",
                  "gsm_signal",
                  "gsm_state",
                  "io_state_text",
                  "operator_name",
                  "alarm_settings",
                  "actions",
                  "call_answer_sms",
                  "call_answer_reactions",
                  "auto_status",
                  "auto_reset",
                  "pin",
                  "puk",
                  "accept_all",
                  "emergency_numbers",
                  "accepted_numbers",
                  "io_names",
                  "resets"}))
        return false;
    uint32_t pin = s->pin;
    const bool ok =
        r.text("firmware", &s->firmware) &&
        r.integer("temp1_negative", 0, 255, &s->temp1_negative) &&
        r.integer("temp1_whole", 0, 255, &s->temp1_whole) &&
        r.integer("temp1_tenths", 0, 255, &s->temp1_tenths) &&
        r.integer("temp2_negative", 0, 255, &s->temp2_negative) &&
        r.integer("temp2_whole", 0, 255, &s->temp2_whole) &&
        r.integer("temp2_tenths", 0, 255, &s->temp2_tenths) &&
        r.integer("battery_level", 0, 255, &s->battery_level) &&
        r.integer("battery_flags", 0, 255, &s->battery_flags) &&
        r.integer("gsm_signal", 0, 255, &s->gsm_signal) &&
        r.integer("gsm_state", 0, 255, &s->gsm_state) &&
        r.texts("io_state_text", &s->io_state_text) && r.text("operator_name", &s->operator_name) &&
        r.byte_array("alarm_settings", &s->alarm_settings) &&
        r.byte_array("actions", &s->actions) &&
        r.integer("call_answer_sms", 0, 255, &s->call_answer_sms) &&
        r.integer("call_answer_reactions", 0, 255, &s->call_answer_reactions) &&
        r.integer("auto_status", 0, 255, &s->auto_status) &&
        r.integer("auto_reset", 0, 255, &s->auto_reset) && r.code("pin", 4, &pin) &&
        r.code("puk", 8, &s->puk) && r.integer("accept_all", 0, 255, &s->accept_all) &&
        r.numbers("emergency_numbers", kMaxEmergency, &s->emergency_numbers) &&
        r.numbers("accepted_numbers", kMaxAccepted, &s->accepted_numbers) &&
        r.texts("io_names", &s->io_names) && r.integer("resets", 0, UINT32_MAX, &s->resets);
    s->pin = static_cast<uint16_t>(pin);
    return ok;
}

bool read_fault(const Json& j, const std::string& path, Fault* f, std::string* error) {
    Reader r(j, path, error);
    if (!r.shape({"kind", "command", "sub_index", "skip", "times", "value", "bytes"})) return false;
    if (!r.has("kind")) return r.fail(r.at("kind"), "missing (every fault needs a kind)");
    const Json& kind = r["kind"];
    bool known = false;
    if (kind.is_string()) {
        for (const FaultName& n : kFaultNames) {
            if (kind.get_ref<const std::string&>() == n.name) {
                f->kind = n.kind;
                known = true;
            }
        }
    }
    if (!known) return r.fail(r.at("kind"), "unknown fault kind");
    return r.integer("command", -1, 255, &f->command) &&
           r.integer("sub_index", -1, 255, &f->sub_index) &&
           r.integer("skip", 0, INT_MAX, &f->skip) && r.integer("times", -1, INT_MAX, &f->times) &&
           r.integer("value", 0, UINT32_MAX, &f->value) &&
           r.bytes("bytes", kMaxRawAnswer, &f->bytes);
}

// Seconds with fractions, from 0 to kMaxTimelineSeconds, as whole microseconds.
bool read_seconds(Reader& r, const char* key, uint64_t* out) {
    const Json& v = r[key];
    if (!v.is_number() || !std::isfinite(v.get<double>()) || v.get<double>() < 0 ||
        v.get<double>() > kMaxTimelineSeconds)
        return r.fail(r.at(key), "expected seconds from 0 to 1000000");
    *out = static_cast<uint64_t>(std::llround(v.get<double>() * 1e6));
    return true;
}

template <typename T>
bool optional_byte(Reader& r, const char* key, std::optional<T>* out) {
    if (!r.has(key)) return true;
    T value{};
    if (!r.integer(key, 0, 255, &value)) return false;
    *out = value;
    return true;
}

bool read_change(const Json& j, const std::string& path, StatusChange* c, std::string* error) {
    Reader r(j, path, error);
    if (!r.shape({"temp1_negative", "temp1_whole", "temp1_tenths", "temp2_negative", "temp2_whole",
                  "temp2_tenths", "battery_level", "battery_flags", "gsm_signal", "gsm_state",
                  "io_state_text", "operator_name"}))
        return false;
    if (!optional_byte(r, "temp1_negative", &c->temp1_negative) ||
        !optional_byte(r, "temp1_whole", &c->temp1_whole) ||
        !optional_byte(r, "temp1_tenths", &c->temp1_tenths) ||
        !optional_byte(r, "temp2_negative", &c->temp2_negative) ||
        !optional_byte(r, "temp2_whole", &c->temp2_whole) ||
        !optional_byte(r, "temp2_tenths", &c->temp2_tenths) ||
        !optional_byte(r, "battery_level", &c->battery_level) ||
        !optional_byte(r, "battery_flags", &c->battery_flags) ||
        !optional_byte(r, "gsm_signal", &c->gsm_signal) ||
        !optional_byte(r, "gsm_state", &c->gsm_state))
        return false;
    if (r.has("operator_name")) {
        std::string text;
        if (!r.text("operator_name", &text)) return false;
        c->operator_name = text;
    }
    if (r.has("io_state_text")) {
        Reader texts(r["io_state_text"], r.at("io_state_text"), error);
        if (!texts.shape({"0", "1", "2", "3", "4", "5"})) return false;
        for (int i = 0; i < 6; ++i) {
            const std::string key = std::to_string(i);
            if (!texts.has(key.c_str())) continue;
            std::string text;
            if (!texts.text(key.c_str(), &text)) return false;
            c->io_state_text[i] = text;
        }
    }
    return true;
}

bool read_timeline(const Json& j, const std::string& path, Timeline* t, std::string* error) {
    Reader r(j, path, error);
    if (!r.shape({"repeat_every_s", "events"})) return false;
    if (r.has("repeat_every_s") && !read_seconds(r, "repeat_every_s", &t->repeat_every_us))
        return false;
    if (!r.has("events")) return true;
    const Json& events = r["events"];
    if (!events.is_array()) return r.fail(r.at("events"), "expected an array");
    if (events.size() > kMaxTimelineEvents)
        return r.fail(r.at("events"), "at most " + std::to_string(kMaxTimelineEvents) + " events");
    t->events.assign(events.size(), TimelineEvent{});
    for (std::size_t i = 0; i < events.size(); ++i) {
        Reader e(events[i], r.at("events") + "[" + std::to_string(i) + "]", error);
        if (!e.shape({"at_s", "set"})) return false;
        if (!e.has("at_s")) return e.fail(e.at("at_s"), "missing (every event needs a time)");
        if (!read_seconds(e, "at_s", &t->events[i].at_us)) return false;
        if (e.has("set") && !read_change(e["set"], e.at("set"), &t->events[i].set, error))
            return false;
    }
    // Events may be listed in any order; they happen in time order (equal times as listed).
    std::stable_sort(
        t->events.begin(), t->events.end(),
        [](const TimelineEvent& a, const TimelineEvent& b) { return a.at_us < b.at_us; });
    if (t->repeat_every_us > 0 && !t->events.empty() &&
        t->repeat_every_us <= t->events.back().at_us)
        return r.fail(r.at("repeat_every_s"), "must be longer than the last event's at_s");
    return true;
}

bool read_module(const Json& j, const std::string& path, Module* m, std::string* error) {
    Reader r(j, path, error);
    if (!r.shape({"serial", "state", "timeline", "open_fails", "timeouts_fail", "faults"}))
        return false;
    if (!r.text("serial", &m->serial)) return false;
    if (!r.flag("open_fails", &m->open_fails) || !r.flag("timeouts_fail", &m->timeouts_fail))
        return false;
    if (r.has("state") && !read_state(r["state"], r.at("state"), &m->state, error)) return false;
    if (r.has("timeline") && !read_timeline(r["timeline"], r.at("timeline"), &m->timeline, error))
        return false;
    if (!r.has("faults")) return true;
    const Json& faults = r["faults"];
    if (!faults.is_array()) return r.fail(r.at("faults"), "expected an array");
    if (faults.size() > kMaxFaults)
        return r.fail(r.at("faults"), "at most " + std::to_string(kMaxFaults) + " faults");
    m->faults.assign(faults.size(), Fault{});
    for (std::size_t i = 0; i < faults.size(); ++i)
        if (!read_fault(faults[i], r.at("faults") + "[" + std::to_string(i) + "]", &m->faults[i],
                        error))
            return false;
    return true;
}

bool read_scenario(const Json& j, Scenario* s, std::string* error) {
    Reader r(j, "", error);
    if (!r.shape({"modules", "count_fails", "timing", "virtual_time"})) return false;
    if (!r.flag("count_fails", &s->count_fails) || !r.flag("virtual_time", &s->virtual_time))
        return false;
    if (r.has("timing")) {
        Reader t(r["timing"], "timing", error);
        if (!t.shape({"realistic", "baud", "latency_ms", "answer_us"}) ||
            !t.flag("realistic", &s->timing.realistic) ||
            !t.integer("baud", 300, 12'000'000, &s->timing.baud) ||
            !t.integer("latency_ms", 0, 255, &s->timing.latency_ms) ||
            !t.integer("answer_us", 0, 60'000'000, &s->timing.answer_us))
            return false;
    }
    if (!r.has("modules")) return true;
    const Json& modules = r["modules"];
    if (!modules.is_array()) return r.fail("modules", "expected an array");
    if (modules.size() > kMaxModules)
        return r.fail("modules", "at most " + std::to_string(kMaxModules) + " modules");
    s->modules.assign(modules.size(), Module{});
    for (std::size_t i = 0; i < modules.size(); ++i)
        if (!read_module(modules[i], "modules[" + std::to_string(i) + "]", &s->modules[i], error))
            return false;
    return true;
}

// Deep nesting is refused before parsing, so that no input can exhaust the stack.
bool nesting_ok(const std::string& text) {
    int depth = 0;
    bool in_string = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (in_string) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxNesting) return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

Json state_json(const ModuleState& s) {
    Json j;
    j["firmware"] = jv::text_json(s.firmware);
    j["temp1_negative"] = s.temp1_negative;
    j["temp1_whole"] = s.temp1_whole;
    j["temp1_tenths"] = s.temp1_tenths;
    j["temp2_negative"] = s.temp2_negative;
    j["temp2_whole"] = s.temp2_whole;
    j["temp2_tenths"] = s.temp2_tenths;
    j["battery_level"] = s.battery_level;
    j["battery_flags"] = s.battery_flags;
    j["gsm_signal"] = s.gsm_signal;
    j["gsm_state"] = s.gsm_state;
    j["io_state_text"] = Json::array();
    for (const auto& t : s.io_state_text) j["io_state_text"].push_back(jv::text_json(t));
    j["operator_name"] = jv::text_json(s.operator_name);
    j["alarm_settings"] = Json(s.alarm_settings);
    j["actions"] = Json(s.actions);
    j["call_answer_sms"] = s.call_answer_sms;
    j["call_answer_reactions"] = s.call_answer_reactions;
    j["auto_status"] = s.auto_status;
    j["auto_reset"] = s.auto_reset;
    j["pin"] = jv::code_json(s.pin, 4);
    j["puk"] = jv::code_json(s.puk, 8);
    j["accept_all"] = s.accept_all;
    j["emergency_numbers"] = Json::array();
    for (const auto& n : s.emergency_numbers) j["emergency_numbers"].push_back(jv::number_json(n));
    j["accepted_numbers"] = Json::array();
    for (const auto& n : s.accepted_numbers) j["accepted_numbers"].push_back(jv::number_json(n));
    j["io_names"] = Json::array();
    for (const auto& t : s.io_names) j["io_names"].push_back(jv::text_json(t));
    j["resets"] = s.resets;
    return j;
}

Json fault_json(const Fault& f) {
    Json j;
    for (const FaultName& n : kFaultNames)
        if (n.kind == f.kind) j["kind"] = n.name;
    j["command"] = f.command;
    j["sub_index"] = f.sub_index;
    j["skip"] = f.skip;
    j["times"] = f.times;
    j["value"] = f.value;
    j["bytes"] = jv::bytes_json(f.bytes);
    return j;
}

}  // namespace

bool scenario_from_json(const std::string& text, Scenario* scenario, std::string* error) {
    std::string ignored;
    if (!error) error = &ignored;
    if (!nesting_ok(text)) {
        *error = "nested deeper than " + std::to_string(kMaxNesting) + " levels";
        return false;
    }
    try {
        const Json j = Json::parse(text);
        Scenario parsed;
        if (!read_scenario(j, &parsed, error)) return false;
        *scenario = std::move(parsed);
        return true;
    } catch (const std::exception& e) {
        *error = std::string("not valid JSON: ") + e.what();
        return false;
    }
}

std::string scenario_to_json(const Scenario& s) {
    Json j;
    j["virtual_time"] = s.virtual_time;
    j["count_fails"] = s.count_fails;
    j["timing"] = {{"realistic", s.timing.realistic},
                   {"baud", s.timing.baud},
                   {"latency_ms", s.timing.latency_ms},
                   {"answer_us", s.timing.answer_us}};
    j["modules"] = Json::array();
    for (const Module& m : s.modules) {
        Json mj;
        if (!m.serial.empty()) mj["serial"] = jv::text_json(m.serial);
        mj["open_fails"] = m.open_fails;
        mj["timeouts_fail"] = m.timeouts_fail;
        mj["state"] = state_json(m.state);
        mj["faults"] = Json::array();
        for (const Fault& f : m.faults) mj["faults"].push_back(fault_json(f));
        j["modules"].push_back(std::move(mj));
    }
    return j.dump(2);
}

}  // namespace zavi::sim
