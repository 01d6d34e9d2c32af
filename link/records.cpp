#include "link/records.h"

#include <cstring>

namespace zavi {

DeviceStatus device_status;
AlarmSettings alarm_settings;
ActionTable action_table;
CallAnswer call_answer;
AutoStatus auto_status;
AutoReset auto_reset;
SimCodes sim_codes;
uint8_t accept_all;
PhoneNumber emergency_numbers[kEmergencyCapacity];
uint8_t emergency_count;
PhoneNumber accepted_numbers[kAcceptedCapacity];
uint16_t accepted_count;
IoNames io_names;

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
