#include "app/difference_words.h"

#include <span>

#include "app/window_captions.h"
#include "config/configuration.h"
#include "config/json.h"
#include "config/warning_texts.h"
#include "dialogs/code_lists.h"
#include "resources/ids.h"
#include "ui/vocabulary.h"

namespace zavi {

namespace {

using config::Difference;

constexpr const char* kArrow = " \u2192 ";

// The rows of the Emergency procedures dialog, in the record's order.
constexpr const char* kEventLabels[config::kProcedureCount] = {
    "IN-1", "IN-2", "P-IN-1", "P-IN-2", "T1 High", "T1 Low", "T2 High", "T2 Low", "BAT Low"};

Json value_of(const std::string& text) {
    return text.empty() ? Json() : parse_json(text, nullptr, false);
}

std::string yes_no(const Json& v, uint8_t l) {
    if (!v.is_boolean()) return v.dump();
    return v.get<bool>() ? pick_text(l, "tak", "yes", "ja") : pick_text(l, "nie", "no", "nein");
}

std::string whole(const Json& v, const char* unit) {
    return v.is_number_integer() ? std::to_string(v.get<long long>()) + unit : v.dump();
}

std::string days(const Json& v, uint8_t l) {
    if (!v.is_number_unsigned()) return v.dump();
    const unsigned n = v.get<unsigned>();
    if (const char* item = period_item_text(n, l)) return item;
    return std::to_string(n) + pick_text(l, " dni", " days", " Tage");
}

// A code the program's lists have no item for reads as its number.
std::string code_words(unsigned code, uint8_t l) {
    return pick_text(l, "kod ", "code ", "Code ") + std::to_string(code);
}

std::string output_action(const Json& v, int output, uint8_t l) {
    static constexpr const char* kNames[] = {"none", "on", "off", "on_2s"};
    for (unsigned code = 0; code < 4; ++code)
        if (v == kNames[code]) return output_action_text(output, code, l);
    return v.dump();
}

std::string call_reaction(const Json& v, int output, uint8_t l) {
    static constexpr const char* kNames[] = {"none", "change", "on_2s"};
    for (unsigned code = 0; code < 3; ++code)
        if (v == kNames[code]) return call_reaction_text(output, code, l);
    return v.is_number_unsigned() ? code_words(v.get<unsigned>(), l) : v.dump();
}

std::string trigger_mode(const Json& v, uint8_t l) {
    static constexpr const char* kNames[2][2] = {{"active_closed", "active_open"},
                                                 {"active_voltage", "active_no_voltage"}};
    for (int potential = 0; potential < 2; ++potential)
        for (int open = 0; open < 2; ++open)
            if (v == kNames[potential][open]) return trigger_mode_text(potential, open, l);
    return v.dump();
}

std::string quoted(const Json& v) {
    return v.is_string() ? "\"" + v.get<std::string>() + "\"" : v.dump();
}

std::string reserved_bits(uint8_t l) {
    return pick_text(l, "bity zarezerwowane", "reserved bits", "reservierte Bits");
}

// How a value of one kind reads.
enum class Kind { yes_no, celsius, percent, days, mode, out1, out2, call1, call2, name, bits };

std::string value_words(Kind kind, const Json& v, uint8_t l) {
    if (v.is_null()) return pick_text(l, "(brak)", "(none)", "(keine)");
    switch (kind) {
        case Kind::yes_no:
            return yes_no(v, l);
        case Kind::celsius:
            return whole(v, " \u00B0C");
        case Kind::percent:
            return whole(v, " %");
        case Kind::days:
            return days(v, l);
        case Kind::mode:
            return trigger_mode(v, l);
        case Kind::out1:
            return output_action(v, 1, l);
        case Kind::out2:
            return output_action(v, 2, l);
        case Kind::call1:
            return call_reaction(v, 1, l);
        case Kind::call2:
            return call_reaction(v, 2, l);
        case Kind::name:
            return quoted(v);
        case Kind::bits:
            return v.dump();
    }
    return v.dump();
}

// The label and kind of a single value at `path`; false for a path this program has no words
// for (it is then shown as the path).
bool describe(const std::string& path, uint8_t l, std::string* label, Kind* kind) {
    const auto set = [&](std::string text, Kind k) {
        *label = std::move(text);
        *kind = k;
        return true;
    };
    const std::size_t dot = path.find('.');
    const std::string group = path.substr(0, dot);
    const std::string key = dot == std::string::npos ? "" : path.substr(dot + 1);

    if (group == "alarm_settings") {
        // The inputs are labelled as their procedures' rows are.
        static constexpr const char* kInputs[] = {"in1", "in2", "pin1", "pin2"};
        for (std::size_t i = 0; i < 4; ++i)
            if (key == kInputs[i]) return set(kEventLabels[i], Kind::mode);
        if (key == "input_modes_high_bits")
            return set(
                pick_text(l, "Tryby wejść, ", "Input modes, ", "Eingangsmodi, ") + reserved_bits(l),
                Kind::bits);
        for (int t = 1; t <= 2; ++t)
            for (const bool high : {true, false})
                if (key == "thermometer" + std::to_string(t) + (high ? "_high" : "_low"))
                    return set(
                        pick_text(l, "Termometr ", "Thermometer ", "Thermometer ") +
                            std::to_string(t) + ", " +
                            (high ? pick_text(l, "próg górny", "high threshold", "oberer Grenzwert")
                                  : pick_text(l, "próg dolny", "low threshold",
                                              "unterer Grenzwert")),
                        Kind::celsius);
        if (key == "battery_threshold")
            return set(pick_text(l, "Stan baterii", "Battery level", "Akkuzustand"), Kind::percent);
        return false;
    }
    if (path.rfind("alarm_procedures[", 0) == 0) {
        const std::size_t close = path.find(']');
        if (close == std::string::npos || close + 1 >= path.size()) return false;
        const unsigned row = static_cast<unsigned>(std::stoul(path.substr(17, close - 17)));
        if (row >= config::kProcedureCount) return false;
        const std::string field = path.substr(close + 2);
        const std::string prefix =
            std::string(menu_text(IDM_ACTIONS, l)) + ", " + kEventLabels[row] + ", ";
        if (field == "sms") return set(prefix + "SMS", Kind::yes_no);
        if (field == "clip") return set(prefix + "CLIP", Kind::yes_no);
        if (field == "out1") return set(prefix + "OUT-1", Kind::out1);
        if (field == "out2") return set(prefix + "OUT-2", Kind::out2);
        if (field == "high_bits") return set(prefix + reserved_bits(l), Kind::bits);
        return false;
    }
    if (group == "call_answer") {
        const std::string prefix = std::string(menu_text(IDM_CALL_ANSWER, l)) + ", ";
        if (key == "sms") return set(prefix + "SMS", Kind::yes_no);
        if (key == "out1") return set(prefix + "OUT-1", Kind::call1);
        if (key == "out2") return set(prefix + "OUT-2", Kind::call2);
        return false;
    }
    if (group == "auto_status" || group == "auto_reset") {
        const std::string prefix =
            std::string(menu_text(group == "auto_status" ? IDM_AUTO_STATUS : IDM_AUTO_RESET, l)) +
            ", ";
        if (key == "period_days") return set(prefix + period_label_text(l), Kind::days);
        if (group == "auto_status" && key == "sms") return set(prefix + "SMS", Kind::yes_no);
        if (group == "auto_status" && key == "clip") return set(prefix + "CLIP", Kind::yes_no);
        return false;
    }
    if (path == "accept_all")
        return set(std::string(menu_text(IDM_PHONE_NUMBERS, l)) + ", " + accept_all_label(l),
                   Kind::yes_no);
    if (group == "io_names") {
        for (std::size_t i = 0; i < config::kNameCount; ++i)
            if (key == config::kIoNameKeys[i])
                return set(
                    std::string(menu_text(IDM_IO_NAMES, l)) + ", " + config::kIoNameLabels[i],
                    Kind::name);
        return false;
    }
    return false;
}

std::string list_label(const std::string& path, uint8_t l) {
    return path == "emergency_numbers" ? emergency_numbers_label(l) : accepted_numbers_label(l);
}

// "+48600100200 removed (1 of 2)".
std::string number_words(const config::NumberChange& n, uint8_t l) {
    std::string text = "+" + n.number + " " +
                       (n.added ? pick_text(l, "dodany", "added", "hinzugefügt")
                                : pick_text(l, "usunięty", "removed", "entfernt"));
    if (n.total > 1)
        text += " (" + std::to_string(n.changed) + pick_text(l, " z ", " of ", " von ") +
                std::to_string(n.total) + ")";
    return text;
}

}  // namespace

std::vector<std::string> difference_words(const std::vector<Difference>& diffs, uint8_t l) {
    std::vector<std::string> lines;
    bool sim_codes_said = false;
    for (std::size_t i = 0; i < diffs.size();) {
        const Difference& d = diffs[i];
        if (config::is_number_list(d.path)) {
            std::size_t end = i;
            while (end < diffs.size() && diffs[end].path == d.path) ++end;
            const std::string label = list_label(d.path, l);
            const auto changes = config::number_changes({diffs.data() + i, end - i});
            if (changes.empty())
                lines.push_back(
                    label + ": " +
                    pick_text(l, "zmieniona kolejność", "order changed", "Reihenfolge geändert"));
            for (const config::NumberChange& n : changes)
                lines.push_back(label + ": " + number_words(n, l));
            i = end;
            continue;
        }
        ++i;
        // The codes themselves never appear, not even the old or the new one.
        if (d.path.rfind("sim_codes", 0) == 0) {
            const std::string which = d.path == "sim_codes.pin"   ? "PIN"
                                      : d.path == "sim_codes.puk" ? "PUK"
                                                                  : "";
            const std::string prefix = std::string(menu_text(IDM_PIN_PUK, l)) + ": ";
            if (which.empty()) {
                if (sim_codes_said) continue;
                sim_codes_said = true;
                lines.push_back(prefix + pick_text(l, "kody są inne (nie pokazano)",
                                                   "the codes differ (not shown)",
                                                   "die Codes sind anders (nicht angezeigt)"));
            } else {
                lines.push_back(prefix + which +
                                pick_text(l, " jest inny (nie pokazano)", " differs (not shown)",
                                          " ist anders (nicht angezeigt)"));
            }
            continue;
        }
        std::string label;
        Kind kind = Kind::bits;
        if (!describe(d.path, l, &label, &kind)) label = d.path;
        lines.push_back(label + ": " + value_words(kind, value_of(d.old_value), l) + kArrow +
                        value_words(kind, value_of(d.new_value), l));
    }
    return lines;
}

}  // namespace zavi
