// The module's live status as plain values (UTF-8 texts, dBm, percent), taken from the status
// record after the three status reads, and the list of fields that changed between two.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zavi::commission {

// The names of the four inputs and two outputs, as the module's case shows them.
inline constexpr const char* kIoLabels[6] = {"IN-1", "IN-2", "P-IN-1", "P-IN-2", "OUT-1", "OUT-2"};

struct Snapshot {
    int temp1_tenths = 0;  // tenths of a degree Celsius, signed
    int temp2_tenths = 0;
    std::optional<int> battery_percent;  // none: no level reading
    int battery_state = 0;               // 0 not charging, 1 charging, 2-3 error
    int gsm_state = 0;                   // 0 ready .. 5 PUK, others error
    std::optional<int> signal_dbm;       // none: no reading
    std::string operator_name;
    std::array<std::string, 6> io{};  // in the order of kIoLabels

    bool operator==(const Snapshot&) const = default;
};

struct FieldChange {
    std::string field;  // "temperature1", "battery_percent", "in1", ...
    std::string old_value, new_value;
};

// The status record as it stands now.
Snapshot take_snapshot();

// Every field that differs, as texts ("" for a missing reading is written "none").
std::vector<FieldChange> changes(const Snapshot& before, const Snapshot& after);

// One field's value as text, as the command line prints it.
std::string field_text(const Snapshot& s, const std::string& field);
std::vector<std::string> field_names();

std::string temperature_text(int tenths);  // "21.5", "-3.2", "-0.5"

}  // namespace zavi::commission
