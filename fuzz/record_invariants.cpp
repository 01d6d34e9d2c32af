#include "fuzz/record_invariants.h"

#include <cstring>

#include "fuzz/fuzz_check.h"
#include "link/records.h"

namespace zavi::fuzz {

namespace {

template <class T>
void append(std::vector<uint8_t>& out, const T& record) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    out.insert(out.end(), bytes, bytes + sizeof record);
}

bool has_nul(const char* slot, std::size_t size) {
    return std::memchr(slot, '\0', size) != nullptr;
}

void fill_text(char* slot, std::size_t size, char c) {
    std::memset(slot, c, size - 1);
    slot[size - 1] = '\0';
}

}  // namespace

std::vector<uint8_t> snapshot_records() {
    std::vector<uint8_t> out;
    out.reserve(4096);
    append(out, device_status);
    append(out, alarm_settings);
    append(out, action_table);
    append(out, call_answer);
    append(out, auto_status);
    append(out, auto_reset);
    append(out, sim_codes.pin);
    append(out, sim_codes.puk);
    append(out, accept_all);
    append(out, emergency_numbers);
    append(out, emergency_count);
    append(out, accepted_numbers);
    append(out, accepted_count);
    append(out, io_names);
    return out;
}

void prefill_records() {
    reset_all_records();
    std::memset(&device_status, 0xA5, offsetof(DeviceStatus, io_state_text));
    for (auto& slot : device_status.io_state_text) fill_text(slot, sizeof slot, 's');
    fill_text(device_status.operator_name, sizeof device_status.operator_name, 'o');
    std::memset(&alarm_settings, 0x5A, sizeof alarm_settings);
    std::memset(&action_table, 0xC3, sizeof action_table);
    call_answer = {0x77, 0x77};
    auto_status = {0x7E};
    auto_reset = {0x7D};
    sim_codes = {0x1234, 0x12345678};
    accept_all = 0x7C;
    for (auto& n : emergency_numbers) std::memset(n.bytes, 0x99, sizeof n.bytes);
    emergency_count = 3;
    for (auto& n : accepted_numbers) std::memset(n.bytes, 0x88, sizeof n.bytes);
    accepted_count = 100;
    for (auto& slot : io_names.name) fill_text(slot, sizeof slot, 'n');
}

void check_record_invariants() {
    for (const auto& slot : device_status.io_state_text)
        FUZZ_CHECK(has_nul(slot, sizeof slot), "state text keeps its NUL");
    FUZZ_CHECK(has_nul(device_status.operator_name, sizeof device_status.operator_name),
               "operator name keeps its NUL");
    for (const auto& slot : io_names.name)
        FUZZ_CHECK(has_nul(slot, sizeof slot), "I/O name keeps its NUL");
    FUZZ_CHECK(emergency_count <= kEmergencyCapacity, "emergency count within the table");
    FUZZ_CHECK(accepted_count <= kAcceptedCapacity, "accepted count within the table");
}

}  // namespace zavi::fuzz
