// A full configuration with every field away from its default, shared by the config tests.
#pragma once

#include "config/configuration.h"

namespace zavi::config::test {

inline Configuration sample_configuration() {
    Configuration c;
    c.saved_at = "2026-12-07T17:45:00Z";
    c.firmware = "v1.7";
    c.alarm_settings = {0x05, 0x0A, 30, -5, 40, 0, 20};
    for (std::size_t i = 0; i < kProcedureCount; ++i)
        c.procedures[i] = {i % 2 == 0, i % 3 == 0, static_cast<uint8_t>(i % 4),
                           static_cast<uint8_t>((i + 1) % 4), static_cast<uint8_t>(i % 4)};
    c.call_answer = {true, 1, 7};  // 7: a value the program has no name for
    c.auto_status = {true, false, 9};
    c.auto_reset_days = 3;
    c.emergency_numbers = {"48600100200", "123"};
    c.accept_all = true;
    c.accepted_numbers = {"48600100201", "4915112345678"};
    c.io_names[0] = "Door open";
    c.io_names[1] = "T\xC3\xBCr zu \xC3\xBF";  // "Tür zu ÿ"
    c.io_names[11] = std::string(40, 'x');
    return c;
}

}  // namespace zavi::config::test
