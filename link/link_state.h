// What the link layer keeps between calls: the driver, the open module, the read time-out and
// the device records. Every thread shares the process's set (the program's worker fills the
// records its window then shows), except a thread that takes one of its own: a clone thread,
// which talks to its own module on its own port at the same time as the others.
#pragma once

#include <cstdint>

#include "link/connection.h"
#include "link/driver.h"
#include "link/records.h"

namespace zavi {

struct LinkState {
    Driver* driver = nullptr;
    DriverHandle device_handle = nullptr;
    uint32_t read_timeout_ms = kReadTimeoutMs;
    DeviceStatus device_status{};
    AlarmSettings alarm_settings{};
    ActionTable action_table{};
    CallAnswer call_answer{};
    AutoStatus auto_status{};
    AutoReset auto_reset{};
    SimCodes sim_codes{};
    uint8_t accept_all = 0;
    PhoneNumber emergency_numbers[kEmergencyCapacity]{};
    uint8_t emergency_count = 0;
    PhoneNumber accepted_numbers[kAcceptedCapacity]{};
    uint16_t accepted_count = 0;
    IoNames io_names{};
};

// The calling thread's set.
LinkState& link_state();

// Defines bind::name() for ZAVI_PER_THREAD (link/thread_binding.h), and on Windows `name` too.
#define ZAVI_BIND_PER_THREAD(Type, name) \
    Type& bind::name() {                 \
        return link_state().name;        \
    }                                    \
    ZAVI_THREAD_REFERENCE_DEFINITION(Type, name)

// The calling thread uses `own` from now on (it must outlive the thread's link calls). Only
// before the thread's first link call: false, and nothing changes, once it has used the
// process's set.
bool use_own_link_state(LinkState* own);

}  // namespace zavi
