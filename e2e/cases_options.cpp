// The Options dialogs, each opened after its read as the user opens it: what it shows, what
// Save sends (the module's journal and the state it kept), and that Cancel sends nothing. Also
// every dialog in every language (titles, Cancel captions, screenshots).
#include <functional>

#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {
namespace {

using zavi::sim::Fault;
using zavi::sim::FaultKind;
using zavi::sim::ModuleState;

// An open Options dialog and the menu command that is running it.
struct OpenDialog {
    HWND window = nullptr;
    PendingSend* pending = nullptr;
};

OpenDialog open_options(Session& session, HWND main, int menu_item, int control_id) {
    OpenDialog d;
    d.pending = command(main, menu_item);
    d.window = session.wait_dialog(control_id, main, kJobMs);
    if (!d.window) {
        fail("the dialog of menu item " + std::to_string(menu_item) + " did not open", __FILE__,
             __LINE__);
        if (auto box = session.message_box_now()) session.press_ok(*box);
    }
    return d;
}

// Presses a button that ends the dialog (Save or Cancel); returns the text of a box it shows
// instead ("" when the dialog closed).
std::string press_and_close(Session& session, const OpenDialog& d, int button,
                            DWORD timeout_ms = kJobMs) {
    if (!d.window) return "<no dialog>";
    click(d.window, button);
    std::string shown;
    wait_until(
        [&] {
            if (auto box = session.message_box_now(d.window)) shown = box->text;
            return !shown.empty() || d.pending->done();
        },
        timeout_ms);
    if (shown.empty() && !d.pending->done()) fail("the dialog did not close", __FILE__, __LINE__);
    return shown;
}

void dismiss_box(Session& session, HWND owner) {
    if (auto box = session.message_box_now(owner)) session.press_ok(*box);
}

std::vector<JournalEvent> writes_of(const Session& session, int command) {
    std::vector<JournalEvent> found;
    for (const JournalEvent& e : writes(session.journal()))
        if (e.command == command) found.push_back(e);
    return found;
}

// The module's state after the run (saved by the drop-in library after each write).
ModuleState saved_module(const Session& session, const ModuleState& otherwise) {
    const auto saved = session.saved_state();
    return saved ? saved->modules[0].state : otherwise;
}

SessionSetup setup_with(const std::function<void(ModuleState&)>& change) {
    SessionSetup setup = demo_setup();
    setup.with_state_file = true;
    change(setup.scenario.modules[0].state);
    return setup;
}

}  // namespace

E2E_CASE(options_auto_reset) {
    Session session("options_auto_reset", setup_with([](ModuleState& m) { m.auto_reset = 5; }));
    HWND main = start_to_main_window(session);
    if (!main) return;
    OpenDialog d = open_options(session, main, IDM_AUTO_RESET, IDC_AUTO_RESET_LABEL);
    if (d.window) {
        CHECK_EQ(window_text(d.window), "Auto-Reset");
        CHECK_EQ(item_text(d.window, IDC_AUTO_RESET_LABEL), "Trigger period");
        CHECK_EQ(combo_selected_text(d.window, IDC_AUTO_RESET_PERIOD), "5 days");
        CHECK_EQ(combo_count(d.window, IDC_AUTO_RESET_PERIOD), 6);
        choose_item(d.window, IDC_AUTO_RESET_PERIOD, 2);
        CHECK_EQ(press_and_close(session, d, IDC_AUTO_RESET_SAVE), "");
    }
    // Opened again: read anew, shows what was saved; Cancel after a change sends nothing.
    d = open_options(session, main, IDM_AUTO_RESET, IDC_AUTO_RESET_LABEL);
    if (d.window) {
        CHECK_EQ(combo_selected_text(d.window, IDC_AUTO_RESET_PERIOD), "2 days");
        choose_item(d.window, IDC_AUTO_RESET_PERIOD, 4);
        CHECK_EQ(press_and_close(session, d, IDC_AUTO_RESET_CANCEL), "");
    }
    close_cleanly(session, main);
    CHECK_EQ(joined(requests(session.journal())), "1 8/00 8/01 8/02 6 20 21/02 20");
    CHECK_EQ(saved_module(session, {}).auto_reset, 2);
}

E2E_CASE(options_auto_status) {
    Session session("options_auto_status",
                    setup_with([](ModuleState& m) { m.auto_status = 0x33; }));
    HWND main = start_to_main_window(session);
    if (!main) return;
    OpenDialog d = open_options(session, main, IDM_AUTO_STATUS, IDC_AUTO_STATUS_SMS);
    if (d.window) {
        CHECK_EQ(window_text(d.window), "Auto-Status");
        CHECK(!is_checked(d.window, IDC_AUTO_STATUS_SMS));
        CHECK(!is_checked(d.window, IDC_AUTO_STATUS_CLIP));
        CHECK_EQ(combo_selected_text(d.window, IDC_AUTO_STATUS_PERIOD), "3 days");
        click(d.window, IDC_AUTO_STATUS_SMS)->wait(kJobMs);
        CHECK_EQ(press_and_close(session, d, IDC_AUTO_STATUS_SAVE), "");
    }
    close_cleanly(session, main);
    const auto written = writes_of(session, 27);
    if (CHECK_EQ(static_cast<long long>(written.size()), 1LL)) CHECK_EQ(hex(written[0].data), "83");
}

E2E_CASE(options_call_answer) {
    Session session("options_call_answer", setup_with([](ModuleState& m) {
                        m.call_answer_sms = 7;
                        m.call_answer_reactions = 0x21;
                    }));
    HWND main = start_to_main_window(session);
    if (!main) return;
    OpenDialog d = open_options(session, main, IDM_CALL_ANSWER, IDC_CALL_OUT2);
    if (d.window) {
        CHECK_EQ(window_text(d.window), "Answer for Call");
        CHECK(is_checked(d.window, IDC_CALL_SMS));
        CHECK_EQ(combo_selected_text(d.window, IDC_CALL_OUT1), "OUT-1 CH");
        CHECK_EQ(combo_selected_text(d.window, IDC_CALL_OUT2), "OUT-2 ON-2s");
        click(d.window, IDC_CALL_SMS)->wait(kJobMs);
        choose_item(d.window, IDC_CALL_OUT1, 2);
        CHECK_EQ(press_and_close(session, d, IDC_CALL_SAVE), "");
    }
    close_cleanly(session, main);
    const auto written = writes_of(session, 23);
    if (CHECK_EQ(static_cast<long long>(written.size()), 1LL))
        CHECK_EQ(hex(written[0].data), "0022");
}

E2E_CASE(options_alarm_procedures) {
    Session session("options_actions", setup_with([](ModuleState& m) {
                        m.actions[0] = 0xC0;  // bits no control shows
                        m.actions[1] = 0x3F;
                    }));
    HWND main = start_to_main_window(session);
    if (!main) return;
    OpenDialog d = open_options(session, main, IDM_ACTIONS, IDC_ACT8_OUT2);
    if (d.window) {
        CHECK_EQ(window_text(d.window), "Emergency procedures");
        CHECK(!is_checked(d.window, IDC_ACT0_SMS));
        CHECK_EQ(combo_selected_text(d.window, IDC_ACT0_OUT1), "None");
        CHECK(is_checked(d.window, IDC_ACT1_SMS) && is_checked(d.window, IDC_ACT1_CLIP));
        CHECK_EQ(combo_selected_text(d.window, IDC_ACT1_OUT1), "OUT-1 ON-2s");
        CHECK_EQ(combo_selected_text(d.window, IDC_ACT1_OUT2), "OUT-2 ON-2s");
        CHECK(is_checked(d.window, IDC_ACT2_SMS) && is_checked(d.window, IDC_ACT2_CLIP));
        click(d.window, IDC_ACT0_SMS)->wait(kJobMs);
        choose_item(d.window, IDC_ACT8_OUT1, 2);
        choose_item(d.window, IDC_ACT8_OUT2, 1);
        CHECK_EQ(press_and_close(session, d, IDC_ACTIONS_SAVE), "");
    }
    close_cleanly(session, main);
    const auto written = writes_of(session, 12);
    if (CHECK_EQ(static_cast<long long>(written.size()), 1LL))
        CHECK_EQ(hex(written[0].data), "E03F30302020202029");
}

// PIN and PUK: a PIN of two digits is refused with its message and nothing is sent; four
// digits and an empty PUK are sent.
E2E_CASE(options_pin_puk) {
    Session session("options_pin_puk", setup_with([](ModuleState&) {}));
    HWND main = start_to_main_window(session);
    if (!main) return;
    OpenDialog d = open_options(session, main, IDM_PIN_PUK, IDC_PUK_EDIT);
    if (d.window) {
        CHECK_EQ(window_text(d.window), "PIN and PUK");
        CHECK_EQ(item_text(d.window, IDC_PIN_EDIT), "1234");
        CHECK_EQ(item_text(d.window, IDC_PUK_EDIT), "12345678");
        type_text(d.window, IDC_PIN_EDIT, "98");
        CHECK_EQ(press_and_close(session, d, IDC_PIN_PUK_SAVE), "PIN - Required 4 digits");
        dismiss_box(session, d.window);
        CHECK(IsWindowVisible(d.window));
        CHECK(writes(session.journal()).empty());
        type_text(d.window, IDC_PIN_EDIT, "4321");
        type_text(d.window, IDC_PUK_EDIT, "");
        CHECK_EQ(press_and_close(session, d, IDC_PIN_PUK_SAVE), "");
    }
    close_cleanly(session, main);
    const auto written = writes_of(session, 10);
    if (CHECK_EQ(static_cast<long long>(written.size()), 1LL))
        CHECK_EQ(hex(written[0].data), "4321FFFFFFFF");
    CHECK_EQ(saved_module(session, {}).pin, 0x4321);
}

// I/O names: slots in their edits (not in ID order), a name cleaned on Save, both halves sent.
E2E_CASE(options_io_names) {
    Session session("options_io_names", setup_with([](ModuleState&) {}));
    HWND main = start_to_main_window(session);
    if (!main) return;
    OpenDialog d = open_options(session, main, IDM_IO_NAMES, IDC_IO_NAMES_CANCEL);
    if (d.window) {
        CHECK_EQ(window_text(d.window), "Names for I/O states");
        CHECK_EQ(item_text(d.window, IDC_IO_NAME_SLOT0), "Door open");
        CHECK_EQ(item_text(d.window, IDC_IO_NAME_SLOT2), "Window open");
        CHECK_EQ(item_text(d.window, IDC_IO_NAME_SLOT11), "Light off");
        type_text(d.window, IDC_IO_NAME_SLOT1, "Gate shut!");  // pasted past the filter
        type_text(d.window, IDC_IO_NAME_SLOT10, "Lamp 2");
        CHECK_EQ(press_and_close(session, d, IDC_IO_NAMES_SAVE), "");
    }
    close_cleanly(session, main);
    const auto written = writes_of(session, 25);
    CHECK_EQ(static_cast<long long>(written.size()), 2LL);
    const ModuleState m = saved_module(session, {});
    CHECK_EQ(m.io_names[1], "Gate shut");
    CHECK_EQ(m.io_names[10], "Lamp 2");
    CHECK_EQ(m.io_names[0], "Door open");
}

// Telephone numbers: the lists as read, a number added through ADD (a short one refused),
// one removed after its question, and the whole Save sequence under the 3000 ms time-out.
E2E_CASE(options_phone_numbers) {
    Session session("options_phone_numbers", setup_with([](ModuleState&) {}));
    HWND main = start_to_main_window(session);
    if (!main) return;
    OpenDialog d = open_options(session, main, IDM_PHONE_NUMBERS, IDC_RECEIVED_ALL);
    if (d.window) {
        CHECK_EQ(window_text(d.window), "Telephone Numbers");
        CHECK_EQ(combo_count(d.window, IDC_RECEIVED_LIST), 3);
        CHECK_EQ(combo_item(d.window, IDC_RECEIVED_LIST, 2), "+491234446570");
        CHECK_EQ(combo_count(d.window, IDC_EMERGENCY_LIST), 2);
        CHECK_EQ(combo_item(d.window, IDC_EMERGENCY_LIST, 0), "+48600100200");

        PendingSend* add = click(d.window, IDC_EMERGENCY_ADD);
        HWND adding = session.wait_dialog(IDC_ADD_EDIT, d.window, kJobMs);
        if (CHECK(adding != nullptr)) {
            CHECK_EQ(window_text(adding), "New phone number");
            type_text(adding, IDC_ADD_EDIT, "4917012345");  // 10 digits: too short
            click(adding, IDC_ADD_ADD);
            expect_box(session, kAppTitle, "Number - Required minimum 11 digits", kJobMs, adding);
            type_text(adding, IDC_ADD_EDIT, "491701234567");
            click(adding, IDC_ADD_ADD);
            CHECK(add->wait(kJobMs));
        }
        CHECK_EQ(combo_count(d.window, IDC_EMERGENCY_LIST), 3);
        CHECK_EQ(item_text(d.window, IDC_EMERGENCY_QUANTITY), "3");

        PendingSend* remove = click(d.window, IDC_RECEIVED_REMOVE);
        const auto question = session.wait_message_box(kJobMs, d.window);
        if (CHECK(question.has_value())) {
            CHECK(question->text.rfind("Number +", 0) == 0);
            CHECK(question->text.find(" will be removed from the list.") != std::string::npos);
            session.press_ok(*question);
        }
        CHECK(remove->wait(kJobMs));
        CHECK_EQ(combo_count(d.window, IDC_RECEIVED_LIST), 2);
        CHECK(writes(session.journal()).empty());  // nothing goes out before Save
        CHECK_EQ(press_and_close(session, d, IDC_PHONE_SAVE), "");
    }
    close_cleanly(session, main);
    const auto journal = session.journal();
    CHECK(read_timeouts(journal) == (std::vector<long long>{1000, 3000, 1000}));
    std::vector<std::string> sent;
    for (const JournalEvent& e : writes(journal)) sent.push_back(std::to_string(e.command));
    CHECK_EQ(joined(sent), "19 14 17 17 17 17 17 17 17 17");
    const ModuleState m = saved_module(session, {});
    CHECK_EQ(static_cast<long long>(m.emergency_numbers.size()), 3LL);
    CHECK_EQ(static_cast<long long>(m.accepted_numbers.size()), 2LL);
}

// A Save of the telephone numbers that fails in its middle, by a block left unanswered or by
// the module unplugged: the error box, the dialog stays, the time-out is set back to 1000 ms;
// Cancel then sends nothing more.
E2E_CASE(options_phone_numbers_failed_save) {
    struct Row {
        const char* name;
        Fault fault;
        DWORD at_least_ms;  // an unanswered write waits out the 3000 ms time-out
        const char* sent;   // the write requests the module saw
    };
    const Row rows[] = {
        {"block_unanswered",
         {.kind = FaultKind::no_answer, .command = 17, .sub_index = 3, .times = 1},
         3000,
         "19 14 17 17 17 17"},
        {"unplugged",
         {.kind = FaultKind::unplug, .command = 17, .sub_index = 2},
         0,
         "19 14 17 17 17"},
    };
    for (const Row& row : rows) {
        Context context(row.name);
        SessionSetup setup = demo_setup();
        setup.scenario.modules[0].faults = {row.fault};
        Session session(std::string("options_phone_save_") + row.name, setup);
        HWND main = start_to_main_window(session);
        if (!main) continue;
        OpenDialog d = open_options(session, main, IDM_PHONE_NUMBERS, IDC_RECEIVED_ALL);
        if (d.window) {
            const DWORD start = GetTickCount();
            CHECK_EQ(press_and_close(session, d, IDC_PHONE_SAVE), kCommunicationError.english);
            const DWORD took = GetTickCount() - start;
            CHECK(took >= row.at_least_ms && took < row.at_least_ms + 4000);
            dismiss_box(session, d.window);
            CHECK(IsWindowVisible(d.window));
            CHECK_EQ(press_and_close(session, d, IDC_PHONE_CANCEL), "");
        }
        close_cleanly(session, main);
        const auto journal = session.journal();
        CHECK(read_timeouts(journal) == (std::vector<long long>{1000, 3000, 1000}));
        std::vector<std::string> sent;
        for (const JournalEvent& e : writes(journal)) sent.push_back(std::to_string(e.command));
        CHECK_EQ(joined(sent), row.sent);  // nothing after the failure
    }
}

// Unplugged while the telephone numbers are read (a job of several requests): the error, no
// dialog, nothing written.
E2E_CASE(options_unplugged_during_read) {
    SessionSetup setup = demo_setup();
    setup.scenario.modules[0].faults = {
        Fault{.kind = FaultKind::unplug, .command = 13}};  // after accept-all, before the blocks
    Session session("options_unplugged_read", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    PendingSend* pending = command(main, IDM_PHONE_NUMBERS);
    expect_box(session, kAppTitle, kCommunicationError.english, kJobMs, main);
    CHECK(pending->wait(kJobMs));
    CHECK(find_dialog(session.pid(), IDC_RECEIVED_ALL) == nullptr);
    close_cleanly(session, main);
    expect_no_writes(session);
    CHECK_EQ(joined(requests(session.journal())), "1 8/00 8/01 8/02 6 18 13");
}

// A read that fails before a dialog: the communication error and no dialog.
E2E_CASE(options_read_fails) {
    SessionSetup setup = demo_setup();
    setup.scenario.modules[0].faults = {Fault{.kind = FaultKind::no_answer, .command = 11}};
    Session session("options_read_fails", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    PendingSend* pending = command(main, IDM_ACTIONS);
    expect_box(session, kAppTitle, kCommunicationError.english, kJobMs, main);
    CHECK(pending->wait(kJobMs));
    CHECK(find_dialog(session.pid(), IDC_ACT8_OUT2) == nullptr);
    close_cleanly(session, main);
    expect_no_writes(session);
}

// Every dialog in every language: title and Cancel caption, a screenshot, Cancel sends nothing.
E2E_CASE(options_dialogs_in_each_language) {
    struct Dialog {
        const char* name;
        int menu_item;
        int control;
        int cancel;
        Texts3 title;
    };
    const Dialog dialogs[] = {
        {"pin_puk",
         IDM_PIN_PUK,
         IDC_PUK_EDIT,
         IDC_PIN_PUK_CANCEL,
         {"PIN i PUK", "PIN and PUK", "PIN und PUK"}},
        {"actions",
         IDM_ACTIONS,
         IDC_ACT8_OUT2,
         IDC_ACTIONS_CANCEL,
         {"Procedury alarmowe", "Emergency procedures", "Alarmprozeduren"}},
        {"phone_numbers",
         IDM_PHONE_NUMBERS,
         IDC_RECEIVED_ALL,
         IDC_PHONE_CANCEL,
         {"Numery telefonów", "Telephone Numbers", "Telefonnummern"}},
        {"io_names",
         IDM_IO_NAMES,
         IDC_IO_NAMES_CANCEL,
         IDC_IO_NAMES_CANCEL,
         {"Nazwy dla stanów we./wy.", "Names for I/O states",
          "Namen für Ein- und Ausgangszustände"}},
        {"call_answer",
         IDM_CALL_ANSWER,
         IDC_CALL_OUT2,
         IDC_CALL_CANCEL,
         {"Reakcja na wywołanie", "Answer for Call", "Antwort zum Abrufen"}},
        {"auto_status",
         IDM_AUTO_STATUS,
         IDC_AUTO_STATUS_SMS,
         IDC_AUTO_STATUS_CANCEL,
         {"Auto-Status", "Auto-Status", "Auto-Status"}},
        {"auto_reset",
         IDM_AUTO_RESET,
         IDC_AUTO_RESET_LABEL,
         IDC_AUTO_RESET_CANCEL,
         {"Auto-Reset", "Auto-Reset", "Auto-Reset"}},
    };
    const Texts3 cancel{"Anuluj", "Cancel", "Abbrechen"};
    const Texts3 add_title{"Nowy numer telefonu", "New phone number", "Neue telefonnummer"};
    const char* suffix[] = {"_pl", "_en", "_de"};
    for (uint8_t language : {uint8_t(0), uint8_t(1), uint8_t(2)}) {
        SessionSetup setup = demo_setup();
        setup.settings = std::string(1, char(language));
        Session session(std::string("dialogs") + suffix[language], setup);
        HWND main = start_to_main_window(session);
        if (!main) continue;
        for (const Dialog& dialog : dialogs) {
            Context context(std::string(dialog.name) + suffix[language]);
            OpenDialog d = open_options(session, main, dialog.menu_item, dialog.control);
            if (!d.window) continue;
            CHECK_EQ(window_text(d.window), dialog.title.in(language));
            CHECK_EQ(item_text(d.window, dialog.cancel), cancel.in(language));
            session.screenshot(d.window, std::string(dialog.name) + suffix[language]);
            if (dialog.menu_item == IDM_PHONE_NUMBERS) {
                PendingSend* add = click(d.window, IDC_RECEIVED_ADD);
                HWND adding = session.wait_dialog(IDC_ADD_EDIT, d.window, kJobMs);
                if (CHECK(adding != nullptr)) {
                    CHECK_EQ(window_text(adding), add_title.in(language));
                    session.screenshot(adding, std::string("add_number") + suffix[language]);
                    click(adding, IDC_ADD_CANCEL);
                    CHECK(add->wait(kJobMs));
                }
            }
            CHECK_EQ(press_and_close(session, d, dialog.cancel), "");
        }
        close_cleanly(session, main);
        expect_no_writes(session);
    }
}

}  // namespace e2e
