#include "sim/demo_scenario.h"

namespace zavi::sim {

Scenario demo_scenario() {
    Scenario s;
    ModuleState& m = s.modules.at(0).state;
    m.temp1_negative = 0, m.temp1_whole = 21, m.temp1_tenths = 5;
    m.temp2_negative = 1, m.temp2_whole = 3, m.temp2_tenths = 2;
    m.battery_level = 87, m.battery_flags = 0x01, m.gsm_signal = 18, m.gsm_state = 0;
    m.io_state_text = {"Door closed", "Window closed", "Mains on",
                       "Pump off",    "Siren off",     "Light on"};
    m.operator_name = "Plus";
    // Inputs active when open, thresholds 30/5 and 40/-10 degrees, battery alarm at 20 %.
    m.alarm_settings = {0x03, 0, 30, 0, 0, 5, 0, 0, 40, 0, 1, 10, 0, 20};
    // SMS for every source, CLIP as well for the inputs, the siren on for the potential-free ones.
    m.actions = {0x34, 0x34, 0x30, 0x30, 0x20, 0x20, 0x20, 0x20, 0x20};
    m.call_answer_sms = 1, m.call_answer_reactions = 0x01;
    m.auto_status = 0x81, m.auto_reset = 0;
    m.pin = 0x1234, m.puk = 0x12345678;
    m.accept_all = 0;
    m.emergency_numbers = {{0x48, 0x60, 0x01, 0x00, 0x20, 0x0F, 0xFF},
                           {0x48, 0x50, 0x23, 0x45, 0x67, 0x8F, 0xFF}};
    m.accepted_numbers = {{0x48, 0x60, 0x01, 0x00, 0x20, 0x0F, 0xFF},
                          {0x48, 0x50, 0x23, 0x45, 0x67, 0x8F, 0xFF},
                          {0x49, 0x12, 0x34, 0x44, 0x65, 0x70, 0xFF}};
    m.io_names = {"Door open", "Door closed", "Window open", "Window closed",
                  "Mains off", "Mains on",    "Pump off",    "Pump on",
                  "Siren on",  "Siren off",   "Light on",    "Light off"};
    return s;
}

}  // namespace zavi::sim
