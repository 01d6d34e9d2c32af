#include "commission/walk_test.h"

#include "common/three_languages.h"
#include "config/json.h"

namespace zavi::commission {

namespace {

constexpr const char* kStateKeys[4][2] = {
    {"open", "closed"}, {"open", "closed"}, {"no_voltage", "voltage"}, {"no_voltage", "voltage"}};

std::string trimmed(const std::string& s) {
    const auto end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

std::string state_word(int input, int state, uint8_t l) {
    if (input < 2)
        return state == 0 ? pick_text(l, "otwarte", "open", "offen")
                          : pick_text(l, "zamknięte", "closed", "geschlossen");
    return state == 0 ? pick_text(l, "brak napięcia", "no voltage", "keine Spannung")
                      : pick_text(l, "napięcie", "voltage", "Spannung");
}

}  // namespace

std::string state_key(int input, int state) {
    return std::string(input < 2 ? "in" : "pin") + std::to_string(input % 2 + 1) + "_" +
           kStateKeys[input][state];
}

WalkTest::WalkTest(const config::Configuration& cfg, std::string started) {
    result_.started = std::move(started);
    for (int i = 0; i < 4; ++i) {
        InputRow& row = result_.inputs[i];
        row.states[0].name = cfg.io_names[2 * i];
        row.states[1].name = cfg.io_names[2 * i + 1];
        if (trimmed(row.states[0].name) == trimmed(row.states[1].name))
            row.note = RowNote::equal_names;
    }
    for (int o = 0; o < 2; ++o)
        result_.outputs[o].names = {cfg.io_names[8 + 2 * o], cfg.io_names[9 + 2 * o]};
    const config::AlarmSettingsValue& a = cfg.alarm_settings;
    result_.thermometers[0].low = a.t1_low, result_.thermometers[0].high = a.t1_high;
    result_.thermometers[1].low = a.t2_low, result_.thermometers[1].high = a.t2_high;
    result_.battery_threshold = a.battery;
}

std::vector<Tick> WalkTest::observe(const Snapshot& s, const std::string& clock, double elapsed_s) {
    std::vector<Tick> ticks;
    result_.has_reading = true;
    result_.duration_s = elapsed_s;
    for (int i = 0; i < 4; ++i) {
        InputRow& row = result_.inputs[i];
        row.present = s.io[i];
        const std::string text = trimmed(s.io[i]);
        // With equal names a text could mean either state: nothing is ticked.
        if (row.note == RowNote::equal_names) continue;
        bool matched = false;
        for (int k = 0; k < 2; ++k) {
            if (text != trimmed(row.states[k].name)) continue;
            matched = true;
            StateCheck& c = row.states[k];
            if (!c.seen) {
                c.seen = true;
                c.first_seen = clock;
                c.first_seen_s = elapsed_s;
                ticks.push_back({i, k});
            }
        }
        if (!matched) {
            row.note = RowNote::unknown_text;
            row.unknown = s.io[i];
        }
    }
    for (int o = 0; o < 2; ++o) {
        OutputRow& row = result_.outputs[o];
        row.present = s.io[4 + o];
        row.present_state = trimmed(row.present) == trimmed(row.names[0])   ? 0
                            : trimmed(row.present) == trimmed(row.names[1]) ? 1
                                                                            : -1;
    }
    result_.thermometers[0].reading_tenths = s.temp1_tenths;
    result_.thermometers[1].reading_tenths = s.temp2_tenths;
    result_.battery_percent = s.battery_percent;
    result_.battery_state = s.battery_state;
    result_.gsm_state = s.gsm_state;
    result_.operator_name = s.operator_name;
    result_.signal_dbm = s.signal_dbm;
    return ticks;
}

bool WalkTestResult::inputs_done() const {
    for (const InputRow& row : inputs)
        if (!row.states[0].seen || !row.states[1].seen) return false;
    return true;
}

std::vector<std::string> WalkTestResult::missing() const {
    std::vector<std::string> out;
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 2; ++k)
            if (!inputs[i].states[k].seen) out.push_back(state_key(i, k));
    for (int o = 0; o < 2; ++o)
        if (!outputs[o].confirmed) out.push_back("out" + std::to_string(o + 1));
    if (!sms_received) out.push_back("test_sms");
    if (!call_received) out.push_back("test_call");
    return out;
}

std::string missing_text(const std::string& key, uint8_t l) {
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 2; ++k) {
            if (key == state_key(i, k))
                return std::string(kIoLabels[i]) + " " + state_word(i, k, l);
        }
    if (key == "out1" || key == "out2")
        return std::string(kIoLabels[key == "out1" ? 4 : 5]) + " " +
               pick_text(l, "(potwierdzenie)", "(confirmation)", "(Bestätigung)");
    if (key == "test_sms") return pick_text(l, "testowy SMS", "test SMS", "Test-SMS");
    if (key == "test_call") return pick_text(l, "testowe połączenie", "test call", "Testanruf");
    return key;
}

std::string summary_line(const WalkTestResult& r, uint8_t l) {
    const std::vector<std::string> missing = r.missing();
    std::string out;
    if (missing.empty()) {
        out = pick_text(l, "Wszystko sprawdzone.", "Everything seen.", "Alles geprüft.");
    } else {
        out = pick_text(l, "Brakuje: ", "Still missing: ", "Es fehlt noch: ");
        for (std::size_t i = 0; i < missing.size(); ++i)
            out += (i ? ", " : "") + missing_text(missing[i], l);
        out += ".";
    }
    if (r.interrupted)
        out += pick_text(l, " Test przerwany (brak odpowiedzi modułu).",
                         " The test was interrupted (the module stopped answering).",
                         " Der Test wurde unterbrochen (das Modul antwortet nicht mehr).");
    return out;
}

std::string walk_test_to_json(const WalkTestResult& r) {
    Json j;
    j["format"] = "zavi-gsm-walk-test";
    j["started"] = r.started;
    j["duration_s"] = r.duration_s;
    j["interrupted"] = r.interrupted;
    j["has_reading"] = r.has_reading;
    j["inputs"] = Json::array();
    for (int i = 0; i < 4; ++i) {
        const InputRow& row = r.inputs[i];
        Json in;
        in["input"] = kIoLabels[i];
        in["present"] = row.present;
        in["note"] = row.note == RowNote::none          ? "none"
                     : row.note == RowNote::equal_names ? "equal_names"
                                                        : "unknown_text";
        in["unknown"] = row.unknown;
        in["states"] = Json::array();
        for (const StateCheck& c : row.states)
            in["states"].push_back({{"name", c.name},
                                    {"seen", c.seen},
                                    {"first_seen", c.first_seen},
                                    {"first_seen_s", c.first_seen_s}});
        j["inputs"].push_back(in);
    }
    j["outputs"] = Json::array();
    for (const OutputRow& o : r.outputs)
        j["outputs"].push_back({{"names", o.names},
                                {"present", o.present},
                                {"present_state", o.present_state},
                                {"confirmed", o.confirmed}});
    j["thermometers"] = Json::array();
    for (const ThermometerRow& t : r.thermometers)
        j["thermometers"].push_back(
            {{"reading_tenths", t.reading_tenths}, {"low", t.low}, {"high", t.high}});
    j["battery_percent"] = r.battery_percent ? Json(*r.battery_percent) : Json(nullptr);
    j["battery_state"] = r.battery_state;
    j["battery_threshold"] = r.battery_threshold;
    j["gsm_state"] = r.gsm_state;
    j["operator"] = r.operator_name;
    j["signal_dbm"] = r.signal_dbm ? Json(*r.signal_dbm) : Json(nullptr);
    j["sms_received"] = r.sms_received;
    j["call_received"] = r.call_received;
    j["missing"] = r.missing();
    return j.dump(2) + "\n";
}

bool walk_test_from_json(const std::string& text, WalkTestResult* out, std::string* error) {
    try {
        const Json j = parse_json(text);
        if (j.value("format", "") != "zavi-gsm-walk-test") {
            *error = "not a walk test result (format \"zavi-gsm-walk-test\")";
            return false;
        }
        WalkTestResult r;
        r.started = j.at("started").get<std::string>();
        r.duration_s = j.at("duration_s").get<double>();
        r.interrupted = j.at("interrupted").get<bool>();
        r.has_reading = j.at("has_reading").get<bool>();
        const Json& inputs = j.at("inputs");
        if (!inputs.is_array() || inputs.size() != 4) throw std::runtime_error("inputs: 4 rows");
        for (int i = 0; i < 4; ++i) {
            const Json& in = inputs[i];
            InputRow& row = r.inputs[i];
            row.present = in.at("present").get<std::string>();
            const std::string note = in.at("note").get<std::string>();
            row.note = note == "equal_names"    ? RowNote::equal_names
                       : note == "unknown_text" ? RowNote::unknown_text
                                                : RowNote::none;
            row.unknown = in.at("unknown").get<std::string>();
            const Json& states = in.at("states");
            if (!states.is_array() || states.size() != 2) throw std::runtime_error("states: 2");
            for (int k = 0; k < 2; ++k) {
                row.states[k].name = states[k].at("name").get<std::string>();
                row.states[k].seen = states[k].at("seen").get<bool>();
                row.states[k].first_seen = states[k].at("first_seen").get<std::string>();
                row.states[k].first_seen_s = states[k].at("first_seen_s").get<double>();
            }
        }
        const Json& outputs = j.at("outputs");
        if (!outputs.is_array() || outputs.size() != 2) throw std::runtime_error("outputs: 2");
        for (int o = 0; o < 2; ++o) {
            r.outputs[o].names = outputs[o].at("names").get<std::array<std::string, 2>>();
            r.outputs[o].present = outputs[o].at("present").get<std::string>();
            r.outputs[o].present_state = outputs[o].at("present_state").get<int>();
            r.outputs[o].confirmed = outputs[o].at("confirmed").get<bool>();
        }
        const Json& th = j.at("thermometers");
        if (!th.is_array() || th.size() != 2) throw std::runtime_error("thermometers: 2");
        for (int t = 0; t < 2; ++t) {
            r.thermometers[t].reading_tenths = th[t].at("reading_tenths").get<int>();
            r.thermometers[t].low = th[t].at("low").get<int>();
            r.thermometers[t].high = th[t].at("high").get<int>();
        }
        if (!j.at("battery_percent").is_null())
            r.battery_percent = j.at("battery_percent").get<int>();
        r.battery_state = j.at("battery_state").get<int>();
        r.battery_threshold = j.at("battery_threshold").get<int>();
        r.gsm_state = j.at("gsm_state").get<int>();
        r.operator_name = j.at("operator").get<std::string>();
        if (!j.at("signal_dbm").is_null()) r.signal_dbm = j.at("signal_dbm").get<int>();
        r.sms_received = j.at("sms_received").get<bool>();
        r.call_received = j.at("call_received").get<bool>();
        *out = std::move(r);
        return true;
    } catch (const std::exception& e) {
        *error = std::string("not a valid walk test result: ") + e.what();
        return false;
    }
}

}  // namespace zavi::commission
