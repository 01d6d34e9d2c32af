// The status bytes' meaning, shared by the status panel, `status` and the MQTT bridge.
#include <gtest/gtest.h>

#include "link/status_values.h"

namespace zavi {
namespace {

TEST(StatusValues, SignalBatteryAndStates) {
    struct Case {
        uint8_t signal;
        std::optional<int> dbm;
    };
    for (const Case& c : {Case{0, -113}, Case{1, -111}, Case{31, -51}, Case{32, -49}, Case{33, -49},
                          Case{98, -49}, Case{99, std::nullopt}, Case{255, -49}})
        EXPECT_EQ(signal_dbm(c.signal), c.dbm) << int(c.signal);

    struct Battery {
        uint8_t level, flags;
        std::optional<int> percent;
        const char* charge;
    };
    for (const Battery& b :
         {Battery{80, 0x00, 80, "no_recharge"}, Battery{80, 0x01, 80, "recharge"},
          Battery{80, 0x02, 80, "error"}, Battery{80, 0x03, 80, "error"},
          Battery{150, 0x01, 100, "recharge"}, Battery{50, 0x81, std::nullopt, "recharge"},
          Battery{0, 0x7C, 0, "no_recharge"}}) {
        EXPECT_EQ(battery_percent(b.level, b.flags), b.percent) << int(b.level) << int(b.flags);
        EXPECT_STREQ(battery_charge_key(battery_charge(b.flags)), b.charge) << int(b.flags);
    }

    const char* const states[] = {"ready", "logged_out", "initialisation", "no_sim",
                                  "pin",   "puk",        "error",          "error"};
    for (uint8_t s = 0; s < 8; ++s) EXPECT_STREQ(gsm_state_key(s == 7 ? 200 : s), states[s]);

    EXPECT_EQ(temperature_text(1, 0, 5), "-0.5");
    EXPECT_EQ(temperature_text(0, 21, 5), "21.5");
    EXPECT_EQ(temperature_text(1, 255, 255), "-255.255");
}

TEST(StatusValues, SlotTextStopsAtTheSlotEvenWithoutATerminator) {
    const char full[4] = {'A', '\xB3', 'C', 'D'};  // no NUL
    EXPECT_EQ(status_slot_text(full, 3),
              "A\xC2\xB3"
              "C");
    const char shorter[4] = {'x', '\0', 'y', 'z'};
    EXPECT_EQ(status_slot_text(shorter, 4), "x");
}

}  // namespace
}  // namespace zavi
