#include "panels/status_panel.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "link/records.h"
#include "resources/ids.h"
#include "ui/fake_dialog_view.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

class StatusPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_all_records();
        ui_language = 1;
        set_up_status_panel(view);
    }
    void TearDown() override { reset_all_records(); }

    struct Rgb {
        uint8_t r, g, b;
    };
    Rgb battery_colour() const {
        const auto& c = view.control(IDC_BATTERY_BAR);
        return {c.red, c.green, c.blue};
    }

    FakeDialogView view{IDD_MAIN};
};

TEST_F(StatusPanel, Temperatures) {
    struct Case {
        uint8_t negative, whole, tenths;
        const char* text;
    };
    const Case cases[] = {
        {1, 0, 5, "-0.5 °C"},   {0, 20, 12, "20.12 °C"},     {0, 21, 5, "21.5 °C"},
        {2, 55, 0, "-55.0 °C"}, {0, 255, 255, "255.255 °C"},
    };
    for (const Case& c : cases) {
        device_status.temp1_negative = c.negative;
        device_status.temp1_whole = c.whole;
        device_status.temp1_tenths = c.tenths;
        device_status.temp2_negative = c.negative;
        device_status.temp2_whole = c.whole;
        device_status.temp2_tenths = c.tenths;
        refresh_panels(view);
        EXPECT_EQ(view.text(IDC_TEMP1), c.text);
        EXPECT_EQ(view.text(IDC_TEMP2), c.text);
    }
}

TEST_F(StatusPanel, SignalClampsAndWritesBack) {
    struct Case {
        uint8_t signal;
        const char* text;
        int bar;
        uint8_t stored;
    };
    const Case cases[] = {
        {99, "???", 0, 0},        {32, "-49 dBm", 32, 32},  {33, "-49 dBm", 32, 32},
        {100, "-49 dBm", 32, 32}, {255, "-49 dBm", 32, 32}, {0, "-113 dBm", 0, 0},
        {31, "-51 dBm", 31, 31},
    };
    for (const Case& c : cases) {
        device_status.gsm_signal = c.signal;
        refresh_panels(view);
        EXPECT_EQ(view.text(IDC_SIGNAL_TEXT), c.text) << int(c.signal);
        EXPECT_EQ(view.control(IDC_SIGNAL_BAR).progress_pos, c.bar) << int(c.signal);
        EXPECT_EQ(device_status.gsm_signal, c.stored) << int(c.signal);
    }
}

TEST_F(StatusPanel, BatteryLevelColourAndClamp) {
    const Rgb green{0, 200, 0}, amber{234, 199, 12}, red{255, 0, 0};
    struct Case {
        uint8_t level, flags;
        const char* text;
        int bar;
        uint8_t stored;
        Rgb colour;
    };
    const Case cases[] = {
        {150, 0, "100 %", 100, 100, green}, {61, 0, "61 %", 61, 61, green},
        {60, 0, "60 %", 60, 60, amber},     {31, 0, "31 %", 31, 31, amber},
        {30, 0, "30 %", 30, 30, red},       {0, 0, "0 %", 0, 0, red},
        {65, 0x01, "65 %", 65, 65, green},  {70, 0x81, "???", 0, 0, red},
    };
    for (const Case& c : cases) {
        device_status.battery_level = c.level;
        device_status.battery_flags = c.flags;
        refresh_panels(view);
        SCOPED_TRACE(int(c.level));
        EXPECT_EQ(view.text(IDC_BATTERY_TEXT), c.text);
        EXPECT_EQ(view.control(IDC_BATTERY_BAR).progress_pos, c.bar);
        EXPECT_EQ(device_status.battery_level, c.stored);
        const Rgb shown = battery_colour();
        EXPECT_EQ(shown.r, c.colour.r);
        EXPECT_EQ(shown.g, c.colour.g);
        EXPECT_EQ(shown.b, c.colour.b);
    }
}

TEST_F(StatusPanel, StatusLineByLanguageStateAndCharging) {
    struct Case {
        uint8_t language, state, flags;
        const char* operator_name;
        const char* line;
    };
    const Case cases[] = {
        {1, 0, 0x01, "Plus", "GSM: ready   ( Plus )      Battery: recharge"},
        {1, 0, 0x00, "", "GSM: ready   (  )      Battery: no recharge"},
        {1, 0, 0x81, "Orange", "GSM: ready   ( Orange )      Battery: recharge"},
        {1, 1, 0x02, "x", "GSM: logged out      Battery: error"},
        {1, 3, 0x03, "x", "GSM: no SIM      Battery: error"},
        {1, 4, 0x00, "x", "GSM: PIN      Battery: no recharge"},
        {1, 5, 0x00, "x", "GSM: PUK      Battery: no recharge"},
        {1, 6, 0x00, "x", "GSM: error      Battery: no recharge"},
        {1, 7, 0x00, "x", "GSM: error      Battery: no recharge"},
        {0, 0, 0x00, "Plus", "GSM: gotowy   ( Plus )      Bateria: brak ładowania"},
        {0, 2, 0x01, "", "GSM: inicjalizacja      Bateria: ładowana"},
        {0, 9, 0x02, "", "GSM: błąd      Bateria: błąd"},
        {2, 0, 0x01, "T-D1", "GSM: bereit   ( T-D1 )      Batterie: aufladen"},
        {2, 1, 0x00, "", "GSM: abgemeldet      Batterie: nicht aufladen"},
        {7, 2, 0x03, "", "GSM: Initialisierung      Batterie: Fehler"},
        {7, 3, 0x00, "", "GSM: keine SIM      Batterie: nicht aufladen"},
        // The operator's name is text, never a format.
        {1, 0, 0x00, "%s%n%d", "GSM: ready   ( %s%n%d )      Battery: no recharge"},
    };
    for (const Case& c : cases) {
        ui_language = c.language;
        device_status.gsm_state = c.state;
        device_status.battery_flags = c.flags;
        std::strcpy(device_status.operator_name, c.operator_name);
        refresh_panels(view);
        EXPECT_EQ(view.text(IDC_STATUS_LINE), c.line);
    }
}

TEST_F(StatusPanel, ModuleTextsShownAsUtf8AndBounded) {
    const int controls[6] = {IDC_STATE_IN1,  IDC_STATE_IN2,  IDC_STATE_PIN1,
                             IDC_STATE_PIN2, IDC_STATE_OUT1, IDC_STATE_OUT2};
    for (int i = 0; i < 6; ++i) device_status.io_state_text[i][0] = static_cast<char>('A' + i);
    // A slot without its terminator must not run into the next slot.
    std::memset(device_status.io_state_text[1], 'B', kStateTextSlot);
    std::strcpy(device_status.io_state_text[4], "Alarm \xB3\xF3");
    std::memset(device_status.operator_name, 'N', kOperatorNameSlot);
    refresh_panels(view);

    EXPECT_EQ(view.text(controls[0]), "A");
    EXPECT_EQ(view.text(controls[1]), std::string(kStateTextSlot, 'B'));
    EXPECT_EQ(view.text(controls[2]), "C");
    EXPECT_EQ(view.text(controls[3]), "D");
    EXPECT_EQ(view.text(controls[4]), "Alarm \xC2\xB3\xC3\xB3");
    EXPECT_EQ(view.text(controls[5]), "F");
    EXPECT_EQ(view.text(IDC_STATUS_LINE), "GSM: ready   ( " + std::string(kOperatorNameSlot, 'N') +
                                              " )      Battery: no recharge");
}

}  // namespace
}  // namespace zavi
