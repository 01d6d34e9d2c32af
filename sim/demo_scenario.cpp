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

namespace zavi::sim {

namespace {

StatusChange io(int index, const char* text) {
    StatusChange c;
    c.io_state_text[index] = text;
    return c;
}

StatusChange signal(uint8_t level) {
    StatusChange c;
    c.gsm_signal = level;
    return c;
}

StatusChange temperature(uint8_t whole, uint8_t tenths) {
    StatusChange c;
    c.temp1_whole = whole;
    c.temp1_tenths = tenths;
    return c;
}

}  // namespace

Timeline demo_timeline() {
    constexpr uint64_t s = 1'000'000;
    Timeline t;
    t.repeat_every_us = 30 * s;
    t.events = {
        {2 * s, io(0, "Door open")},
        {3 * s, signal(15)},
        {4 * s + s / 2, io(0, "Door closed")},
        {6 * s, temperature(21, 8)},
        {7 * s, io(1, "Window open")},
        {9 * s, signal(11)},
        {11 * s, io(1, "Window closed")},
        {12 * s, signal(17)},
        {14 * s, io(3, "Pump on")},
        {16 * s, temperature(22, 1)},
        {18 * s, io(3, "Pump off")},
        {19 * s, signal(21)},
        {21 * s, io(2, "Mains off")},
        {22 * s, io(2, "Mains on")},
        {24 * s, signal(14)},
        {25 * s, io(0, "Door open")},
        {26 * s, io(0, "Door closed")},
        {27 * s, temperature(21, 5)},
        {28 * s, signal(18)},
    };
    return t;
}

Scenario live_demo_scenario() {
    Scenario s = demo_scenario();
    s.modules.at(0).timeline = demo_timeline();
    return s;
}

}  // namespace zavi::sim
