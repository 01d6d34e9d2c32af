#include "panels/alarm_settings_panel.h"

#include <string>

#include <gtest/gtest.h>

#include "link/records.h"
#include "resources/ids.h"
#include "ui/fake_dialog_view.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

constexpr int kLists[4] = {IDC_MODE_IN1, IDC_MODE_IN2, IDC_MODE_PIN1, IDC_MODE_PIN2};
constexpr int kSpins[5] = {IDC_T1_HIGH_SPIN, IDC_T1_LOW_SPIN, IDC_T2_HIGH_SPIN, IDC_T2_LOW_SPIN,
                           IDC_BATTERY_THRESHOLD_SPIN};
constexpr int kEdits[5] = {IDC_T1_HIGH_EDIT, IDC_T1_LOW_EDIT, IDC_T2_HIGH_EDIT, IDC_T2_LOW_EDIT,
                           IDC_BATTERY_THRESHOLD_EDIT};

bool same(const TemperatureThreshold& t, uint8_t negative, uint8_t whole, uint8_t fraction) {
    return t.negative == negative && t.whole == whole && t.fraction == fraction;
}

class AlarmSettingsPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_all_records();
        ui_language = 1;
        set_up_alarm_settings_panel(view);
        install_threshold_edit_filters(view);
        fill_trigger_mode_lists(view);
    }
    void TearDown() override { reset_all_records(); }

    void set_thresholds(int t1_high, int t1_low, int t2_high, int t2_low) {
        view.set_updown_position(IDC_T1_HIGH_SPIN, t1_high);
        view.set_updown_position(IDC_T1_LOW_SPIN, t1_low);
        view.set_updown_position(IDC_T2_HIGH_SPIN, t2_high);
        view.set_updown_position(IDC_T2_LOW_SPIN, t2_low);
    }

    FakeDialogView view{IDD_MAIN};
};

TEST_F(AlarmSettingsPanel, SetUpRangesStartPositionsAndFilters) {
    const int starts[5] = {20, 15, 20, 15, 50};
    for (int i = 0; i < 5; ++i) {
        const auto& c = view.control(kSpins[i]);
        EXPECT_EQ(c.updown_low, i < 4 ? -55 : 0) << kSpins[i];
        EXPECT_EQ(c.updown_high, i < 4 ? 120 : 100) << kSpins[i];
        EXPECT_EQ(c.updown_pos, starts[i]) << kSpins[i];
    }
    // Typing, pasting by menu or a right click reach none of the five edits.
    for (int id : kEdits) {
        EXPECT_EQ(view.type(id, "7-\b"), 0) << id;
        EXPECT_EQ(view.text(id), "") << id;
        EXPECT_FALSE(view.right_click(id)) << id;
    }
}

TEST_F(AlarmSettingsPanel, ListTextsByLanguageWithItemZeroSelected) {
    struct Case {
        uint8_t language;
        const char* closed;
        const char* opened;
        const char* voltage;
        const char* no_voltage;
    };
    const Case cases[] = {
        {0, "Aktywne zwarcie", "Aktywne rozwarcie", "Aktywne napięcie", "Aktywny brak napięcia"},
        {1, "Active Closed", "Active Opened", "Active Voltage", "Active No Voltage"},
        {2, "Aktiv beim Schliessen", "Aktiv beim Öffnen", "Aktiv Voltage", "Aktiv No Voltage"},
        {7, "Aktiv beim Schliessen", "Aktiv beim Öffnen", "Aktiv Voltage", "Aktiv No Voltage"},
    };
    for (const Case& c : cases) {
        ui_language = c.language;
        for (int id : kLists) view.select_item(id, 1);
        fill_trigger_mode_lists(view);
        for (int k = 0; k < 4; ++k) {
            SCOPED_TRACE(kLists[k]);
            ASSERT_EQ(view.item_count(kLists[k]), 2);
            EXPECT_EQ(view.item_text(kLists[k], 0), k < 2 ? c.closed : c.voltage);
            EXPECT_EQ(view.item_text(kLists[k], 1), k < 2 ? c.opened : c.no_voltage);
            EXPECT_EQ(view.selected_item(kLists[k]), 0);
        }
    }
}

TEST_F(AlarmSettingsPanel, OutOfRangeValuesAreShownClampedAndStoredAsShown) {
    struct Case {
        TemperatureThreshold from_module;
        int shown;
        TemperatureThreshold stored;
    };
    const Case cases[] = {
        {{0, 121, 0}, 120, {0, 120, 0}},
        {{0, 200, 0}, 120, {0, 120, 0}},  // would turn negative as a signed byte
        {{0, 255, 0}, 120, {0, 120, 0}},
        {{1, 56, 0}, -55, {1, 55, 0}},
        {{1, 200, 0}, -55, {1, 55, 0}},
        {{9, 30, 0}, -30, {1, 30, 0}},  // any non-zero sign byte means below zero
    };
    for (const Case& c : cases) {
        alarm_settings = {};
        alarm_settings.t2_low = c.from_module;
        alarm_settings.battery_threshold = 250;
        show_alarm_settings(view);
        EXPECT_EQ(view.control(IDC_T2_LOW_SPIN).updown_pos, c.shown);
        EXPECT_EQ(view.control(IDC_BATTERY_THRESHOLD_SPIN).updown_pos, 100);
        store_alarm_settings(view);
        EXPECT_TRUE(same(alarm_settings.t2_low, c.stored.negative, c.stored.whole, 0))
            << int(c.from_module.whole);
        EXPECT_TRUE(same(alarm_settings.t1_high, 0, 0, 0));  // neighbours untouched
        EXPECT_TRUE(same(alarm_settings.t2_high, 0, 0, 0));
        EXPECT_EQ(alarm_settings.battery_threshold, 100);
    }
}

TEST_F(AlarmSettingsPanel, StoreTakesThePositionsAsSignedWholeDegrees) {
    struct Case {
        int position;
        bool error;
        uint8_t negative, whole;
    };
    const Case cases[] = {
        {-55, false, 1, 55}, {120, false, 0, 120}, {0, false, 0, 0},
        {-1, false, 1, 1},   {37, false, 0, 37},   {-40, true, 0, 0},  // an error gives 0
    };
    for (const Case& c : cases) {
        alarm_settings.t1_low = {7, 7, 5};  // fraction 5 from the module is sent back as 0
        view.set_updown_position(IDC_T1_LOW_SPIN, c.position);
        view.set_updown_error(IDC_T1_LOW_SPIN, c.error);
        store_alarm_settings(view);
        EXPECT_TRUE(same(alarm_settings.t1_low, c.negative, c.whole, 0)) << c.position;
    }
    view.set_updown_position(IDC_BATTERY_THRESHOLD_SPIN, 100);
    store_alarm_settings(view);
    EXPECT_EQ(alarm_settings.battery_threshold, 100);
    view.set_updown_error(IDC_BATTERY_THRESHOLD_SPIN, true);
    store_alarm_settings(view);
    EXPECT_EQ(alarm_settings.battery_threshold, 0);
}

TEST_F(AlarmSettingsPanel, StoreKeepsTheHighBitsOfInputModes) {
    struct Case {
        uint8_t before;
        int selections[4];  // -1: no selection
        uint8_t after;
    };
    const Case cases[] = {
        {0xF0, {1, 0, 1, 0}, 0xF5},
        {0xAF, {0, 0, 0, 0}, 0xA0},
        {0x00, {0, 1, 0, 1}, 0x0A},
        {0x5F, {-1, 1, -1, 1}, 0x5A},
    };
    for (const Case& c : cases) {
        alarm_settings.input_modes = c.before;
        for (int k = 0; k < 4; ++k) view.select_item(kLists[k], c.selections[k]);
        store_alarm_settings(view);
        EXPECT_EQ(alarm_settings.input_modes, c.after) << int(c.before);
    }
}

TEST_F(AlarmSettingsPanel, ThresholdCheck) {
    const char* t1_english = "Error Thermometer 1:\n\nTemp.High must be greater then Temp.low";
    const char* t2_english = "Error Thermometer 2:\n\nTemp.High must be greater then Temp.low";
    struct Case {
        int t1_high, t1_low, t2_high, t2_low;
        const char* message;  // null: passes
    };
    const Case cases[] = {
        {20, 20, 30, 10, t1_english},  {-5, -10, 30, 10, nullptr},   {-1, 0, 30, 10, t1_english},
        {0, -1, 30, 10, nullptr},      {30, 10, 20, 20, t2_english}, {30, 10, -1, 0, t2_english},
        {30, 10, 0, -1, nullptr},      {10, 30, 10, 30, t1_english},  // only the first message
        {120, -55, 120, 119, nullptr},
    };
    for (const Case& c : cases) {
        view.clear_messages();
        set_thresholds(c.t1_high, c.t1_low, c.t2_high, c.t2_low);
        store_alarm_settings(view);
        const bool passed = validate_thresholds(view);
        SCOPED_TRACE(std::to_string(c.t1_high) + "/" + std::to_string(c.t1_low) + " " +
                     std::to_string(c.t2_high) + "/" + std::to_string(c.t2_low));
        EXPECT_EQ(passed, c.message == nullptr);
        if (c.message) {
            ASSERT_EQ(view.messages().size(), 1u);
            EXPECT_EQ(view.messages()[0].text, c.message);
            EXPECT_EQ(view.messages()[0].title, "ZAVI ALARM-GSM");
            EXPECT_EQ(view.messages()[0].icon, MessageIcon::error);
            EXPECT_EQ(view.messages()[0].buttons, MessageButtons::ok);
            // The focus goes to the thermometer that is wrong.
            EXPECT_EQ(view.focus(), c.message == t1_english ? IDC_T1_HIGH_EDIT : IDC_T2_HIGH_EDIT);
        } else {
            EXPECT_TRUE(view.messages().empty());
        }
    }
}

}  // namespace
}  // namespace zavi
