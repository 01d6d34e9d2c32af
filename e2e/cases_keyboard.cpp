// The program without a mouse: Refresh, a threshold change and Save by keys alone, the File
// keys, and a message box closed with Enter that does not come straight back.
#include "e2e/keys.h"
#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {

namespace {

constexpr int kFileNameCombo = 1148;  // the file name box of the system's file dialog

}  // namespace

// F5 refreshes; Tab reaches the thresholds, PgDn and Up move them, Tab and Enter save; Ctrl+B
// opens the backup's file dialog.
E2E_CASE(keys_refresh_threshold_save) {
    SessionSetup setup = demo_setup();
    setup.with_state_file = true;
    Session session("keys_main_window", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    if (!CHECK(bring_to_front(main))) return;
    CHECK_EQ(focused_id(main), IDC_REFRESH);  // the first field on opening

    zavi::sim::Scenario changed = demo_setup().scenario;
    changed.modules[0].state.temp1_whole = 25;
    changed.modules[0].state.temp1_tenths = 0;
    CHECK(session.change_state(changed));
    press_key(VK_F5);
    CHECK(wait_until([&] { return item_text(main, IDC_TEMP1) == "25.0 °C"; }, kJobMs));
    CHECK(wait_until([&] { return IsWindowEnabled(main) != FALSE; }, kJobMs));

    // 30 -> 10 -> 11, and the battery threshold 20 -> 10; typing stays refused.
    CHECK(tab_to(main, IDC_T1_HIGH_EDIT));
    press_key(VK_NEXT);
    press_key(VK_NEXT);
    press_key(VK_UP);
    type_keys("7");
    CHECK(wait_until([&] { return updown_position(main, IDC_T1_HIGH_SPIN) == 11; }, 2000));
    CHECK_EQ(item_text(main, IDC_T1_HIGH_EDIT), "11");
    CHECK(tab_to(main, IDC_BATTERY_THRESHOLD_EDIT));
    press_key(VK_NEXT);
    CHECK(
        wait_until([&] { return updown_position(main, IDC_BATTERY_THRESHOLD_SPIN) == 10; }, 2000));
    expect_no_writes(session);

    CHECK(tab_to(main, IDC_SAVE));
    press_key(VK_RETURN);
    CHECK(wait_until([&] { return writes(session.journal()).size() == 1; }, kJobMs));
    const auto written = writes(session.journal());
    if (CHECK_EQ(static_cast<long long>(written.size()), 1LL)) {
        CHECK_EQ(written[0].command, 7);
        CHECK_EQ(hex(written[0].data), "03000B00000500002800010A000A");
    }
    CHECK(wait_until([&] { return IsWindowEnabled(main) != FALSE; }, kJobMs));
    CHECK(session.message_box_now(main) == std::nullopt);

    // Ctrl+B: the backup's question (Enter: its default, No), then its file dialog, left
    // with Escape; nothing more is written.
    bring_to_front(main);
    press_key('B', true);
    HWND question = session.wait_dialog(IDNO, main);
    if (CHECK(question != nullptr)) {
        bring_to_front(question);
        press_key(VK_RETURN);
        HWND chooser = session.wait_dialog(kFileNameCombo, main);
        if (CHECK(chooser != nullptr)) {
            bring_to_front(chooser);
            press_key(VK_ESCAPE);
            CHECK(wait_until([&] { return !IsWindow(chooser); }, 5000));
        }
    }
    CHECK(wait_until([&] { return IsWindowEnabled(main) != FALSE; }, kJobMs));
    CHECK_EQ(static_cast<long long>(writes(session.journal()).size()), 1LL);
    close_cleanly(session, main);
}

// "Number - Required minimum 11 digits" closed with Enter stays closed, with the digits and
// the focus back in the number field; Enter then adds the corrected number.
E2E_CASE(keys_add_number_box_closes_for_good) {
    Session session("keys_add_number", demo_setup());
    HWND main = start_to_main_window(session);
    if (!main) return;
    PendingSend* numbers = command(main, IDM_PHONE_NUMBERS);
    HWND phone = session.wait_dialog(IDC_RECEIVED_ALL, main);
    if (!CHECK(phone != nullptr)) return;
    const int before = combo_count(phone, IDC_RECEIVED_LIST);
    click(phone, IDC_RECEIVED_ADD);
    HWND add = session.wait_dialog(IDC_ADD_EDIT, phone);
    if (!CHECK(add != nullptr)) return;
    CHECK(bring_to_front(add));
    CHECK(wait_until([&] { return focused_id(add) == IDC_ADD_EDIT; }, 2000));

    type_keys("4812345");
    CHECK(wait_until([&] { return item_text(add, IDC_ADD_EDIT) == "4812345"; }, 2000));
    press_key(VK_RETURN);
    const auto box = session.wait_message_box(kJobMs, add);
    if (CHECK(box.has_value())) {
        CHECK_EQ(box->text, "Number - Required minimum 11 digits");
        CHECK(bring_to_front(box->window));
        press_key(VK_RETURN);
        CHECK(wait_until([&] { return !IsWindow(box->window); }, 5000));
        Sleep(800);  // time enough for a box to come back
        const auto again = session.message_box_now(add);
        CHECK(!again.has_value());
        if (again) session.press_ok(*again);
    }
    CHECK(wait_until([&] { return focused_id(add) == IDC_ADD_EDIT; }, 2000));
    CHECK_EQ(item_text(add, IDC_ADD_EDIT), "4812345");

    // The digits come back selected, to be typed over; End keeps them.
    press_key(VK_END);
    type_keys("6789");
    CHECK(wait_until([&] { return item_text(add, IDC_ADD_EDIT) == "48123456789"; }, 2000));
    press_key(VK_RETURN);
    CHECK(wait_until([&] { return !IsWindow(add); }, 5000));
    CHECK_EQ(combo_count(phone, IDC_RECEIVED_LIST), before + 1);
    click(phone, IDC_PHONE_CANCEL);
    CHECK(numbers->wait(kJobMs));
    expect_no_writes(session);
    close_cleanly(session, main);
}

}  // namespace e2e
