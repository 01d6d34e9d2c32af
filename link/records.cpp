#include "link/records.h"

#include <cstring>

#include "link/link_state.h"

namespace zavi {

ZAVI_BIND_PER_THREAD(DeviceStatus, device_status);
ZAVI_BIND_PER_THREAD(AlarmSettings, alarm_settings);
ZAVI_BIND_PER_THREAD(ActionTable, action_table);
ZAVI_BIND_PER_THREAD(CallAnswer, call_answer);
ZAVI_BIND_PER_THREAD(AutoStatus, auto_status);
ZAVI_BIND_PER_THREAD(AutoReset, auto_reset);
ZAVI_BIND_PER_THREAD(SimCodes, sim_codes);
ZAVI_BIND_PER_THREAD(uint8_t, accept_all);
ZAVI_BIND_PER_THREAD(EmergencyNumbers, emergency_numbers);
ZAVI_BIND_PER_THREAD(uint8_t, emergency_count);
ZAVI_BIND_PER_THREAD(AcceptedNumbers, accepted_numbers);
ZAVI_BIND_PER_THREAD(uint16_t, accepted_count);
ZAVI_BIND_PER_THREAD(IoNames, io_names);

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
