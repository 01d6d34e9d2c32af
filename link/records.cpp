#include "link/records.h"

#include <cstring>

#include "link/link_state.h"

namespace zavi {

thread_local DeviceStatus& device_status = link_state().device_status;
thread_local AlarmSettings& alarm_settings = link_state().alarm_settings;
thread_local ActionTable& action_table = link_state().action_table;
thread_local CallAnswer& call_answer = link_state().call_answer;
thread_local AutoStatus& auto_status = link_state().auto_status;
thread_local AutoReset& auto_reset = link_state().auto_reset;
thread_local SimCodes& sim_codes = link_state().sim_codes;
thread_local uint8_t& accept_all = link_state().accept_all;
thread_local PhoneNumber (&emergency_numbers)[kEmergencyCapacity] = link_state().emergency_numbers;
thread_local uint8_t& emergency_count = link_state().emergency_count;
thread_local PhoneNumber (&accepted_numbers)[kAcceptedCapacity] = link_state().accepted_numbers;
thread_local uint16_t& accepted_count = link_state().accepted_count;
thread_local IoNames& io_names = link_state().io_names;

void reset_all_records() {
    device_status = {};
    alarm_settings = {};
    action_table = {};
    call_answer = {};
    auto_status = {};
    auto_reset = {};
    sim_codes = {};
    accept_all = 0;
    std::memset(emergency_numbers, 0, sizeof emergency_numbers);
    emergency_count = 0;
    std::memset(accepted_numbers, 0, sizeof accepted_numbers);
    accepted_count = 0;
    io_names = {};
}

}  // namespace zavi
