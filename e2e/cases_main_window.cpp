// The main window in use: Refresh, Read and Save of the alarm settings, Reset, About, the
// language switch, and the communication error when the module stops answering.
#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {
namespace {

using zavi::sim::Fault;
using zavi::sim::FaultKind;

// Runs a command of the main window (a button or a menu item) to its end, pressing OK on a
// box it shows; returns the box's text ("" when none came).
std::string run_command(Session& session, HWND main, int id, bool button) {
    PendingSend* pending = button ? click(main, id) : command(main, id);
    std::string shown;
    wait_until(
        [&] {
            if (auto box = session.message_box_now(main)) {
                shown = box->text;
                session.press_ok(*box);
            }
            return pending->done();
        },
        kJobMs);
    if (!pending->done())
        fail("the main window did not finish command " + std::to_string(id), __FILE__, __LINE__);
    return shown;
}

}  // namespace

// Refresh and Read show what the module holds now; Save sends what the controls show, keeps
// the bits no control shows, and sends nothing when a high threshold is not above its low one.
E2E_CASE(alarm_settings_refresh_read_save) {
    SessionSetup setup = demo_setup();
    setup.with_state_file = true;
    setup.scenario.modules[0].state.alarm_settings[0] = 0xA3;  // bits 4-7 unseen by the user
    Session session("alarm_settings", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;

    // The module changes behind the program's back: Refresh and Read show the new values.
    zavi::sim::Scenario changed = setup.scenario;
    auto& m = changed.modules[0].state;
    m.temp1_whole = 25, m.temp1_tenths = 0, m.gsm_state = 3, m.battery_flags = 0x02;
    m.io_state_text[4] = "Siren ON";
    m.alarm_settings = {0xA5, 1, 12, 0, 1, 30, 0, 0, 0, 0, 1, 55, 0, 100};
    CHECK(session.change_state(changed));
    CHECK_EQ(run_command(session, main, IDC_REFRESH, true), "");
    CHECK_EQ(item_text(main, IDC_TEMP1), "25.0 °C");
    CHECK_EQ(item_text(main, IDC_STATE_OUT1), "Siren ON");
    CHECK_EQ(item_text(main, IDC_STATUS_LINE), "GSM: no SIM      Battery: error");
    CHECK_EQ(updown_position(main, IDC_T1_HIGH_SPIN), 30);  // not read by Refresh
    CHECK_EQ(run_command(session, main, IDC_READ, true), "");
    const int modes[] = {IDC_MODE_IN1, IDC_MODE_IN2, IDC_MODE_PIN1, IDC_MODE_PIN2};
    const int shown_modes[] = {1, 0, 1, 0};
    for (int k = 0; k < 4; ++k) CHECK_EQ(combo_selection(main, modes[k]), shown_modes[k]);
    CHECK_EQ(updown_position(main, IDC_T1_HIGH_SPIN), -12);
    CHECK_EQ(updown_position(main, IDC_T1_LOW_SPIN), -30);
    CHECK_EQ(updown_position(main, IDC_T2_HIGH_SPIN), 0);
    CHECK_EQ(updown_position(main, IDC_T2_LOW_SPIN), -55);
    CHECK_EQ(updown_position(main, IDC_BATTERY_THRESHOLD_SPIN), 100);
    CHECK_EQ(joined(requests(session.journal())), "1 8/00 8/01 8/02 6 8/00 8/01 8/02 6");

    // A high threshold not above its low one: the message, nothing sent.
    move_updown(main, IDC_T2_HIGH_SPIN, -55);
    CHECK_EQ(run_command(session, main, IDC_SAVE, true),
             "Error Thermometer 2:\n\nTemp.High must be greater then Temp.low");
    expect_no_writes(session);

    // The user's choices go to the module as shown.
    choose_item(main, IDC_MODE_IN1, 0);
    choose_item(main, IDC_MODE_PIN2, 1);
    move_updown(main, IDC_T1_HIGH_SPIN, 120);
    move_updown(main, IDC_T1_LOW_SPIN, -55);
    move_updown(main, IDC_T2_HIGH_SPIN, 1);
    move_updown(main, IDC_T2_LOW_SPIN, 0);
    move_updown(main, IDC_BATTERY_THRESHOLD_SPIN, 35);
    CHECK_EQ(run_command(session, main, IDC_SAVE, true), "");
    const auto written = writes(session.journal());
    if (CHECK_EQ(static_cast<long long>(written.size()), 1LL)) {
        CHECK_EQ(written[0].command, 7);
        CHECK_EQ(hex(written[0].data),
                 "AC007800013700000100000000"
                 "23");
    }
    CHECK_EQ(updown_position(main, IDC_T1_LOW_SPIN), -55);
    CHECK_EQ(combo_selected_text(main, IDC_MODE_PIN2), "Active No Voltage");
    close_cleanly(session, main);
    const auto saved = session.saved_state();
    if (CHECK(saved.has_value()))
        CHECK_EQ(hex({saved->modules[0].state.alarm_settings.begin(),
                      saved->modules[0].state.alarm_settings.end()}),
                 "AC00780001370000010000000023");
}

// Reset: no question, the module is reset once, then the box in the language.
E2E_CASE(reset_shows_its_box) {
    const Texts3 done{"Reset urządzenia", "Device reset", "Geräte-Reset"};
    for (uint8_t language : {uint8_t(0), uint8_t(1), uint8_t(2)}) {
        SessionSetup setup = demo_setup();
        setup.settings = std::string(1, char(language));
        Session session("reset_" + std::to_string(language), setup);
        HWND main = start_to_main_window(session);
        if (!main) continue;
        PendingSend* pending = command(main, IDM_RESET);
        const auto box = session.wait_message_box(kJobMs, main);
        if (CHECK(box.has_value())) {
            CHECK_EQ(box->title, kAppTitle);
            CHECK_EQ(box->text, done.in(language));
            if (language == 1) session.screenshot(box->window, "reset_box_en");
            session.press_ok(*box);
        }
        CHECK(pending->wait(kJobMs));
        close_cleanly(session, main);
        const auto written = writes(session.journal());
        CHECK(written.size() == 1 && written[0].command == 15);
    }
}

// About: no exchange with the module; its texts in each language, with the way to the module
// (here the D2XX library); its button closes it.
E2E_CASE(about_box) {
    struct Row {
        uint8_t language;
        const char* caption;
        const char* body;
        const char* button;
    };
    const Row rows[] = {
        {0, "O programie", "\nZAVI\nALARM-GSM\n\nwersja programu: 1.5\npołączenie: D2XX", "Anuluj"},
        {1, "About", "\nZAVI\nALARM-GSM\n\nprogram version: 1.5\nconnection: D2XX", "Cancel"},
        {2, "Über", "\nZAVI\nALARM-GSM\n\nprogram version: 1.5\nVerbindung: D2XX", "Abbrechen"},
    };
    const char* names[] = {"about_pl", "about_en", "about_de"};
    for (const Row& row : rows) {
        SessionSetup setup = demo_setup();
        setup.settings = std::string(1, char(row.language));
        Session session(names[row.language], setup);
        HWND main = start_to_main_window(session);
        if (!main) continue;
        const std::size_t before = session.journal().size();
        PendingSend* pending = command(main, IDM_ABOUT);
        HWND about = session.wait_dialog(IDC_ABOUT_CLOSE, main, kStartMs);
        if (CHECK(about != nullptr)) {
            CHECK_EQ(window_text(about), row.caption);
            CHECK_EQ(item_text(about, IDC_ABOUT_TEXT), row.body);
            CHECK_EQ(item_text(about, IDC_ABOUT_CLOSE), row.button);
            session.screenshot(about, names[row.language]);
            click(about, IDC_ABOUT_CLOSE);
        }
        CHECK(pending->wait(kJobMs));
        CHECK(!IsWindow(about));
        CHECK_EQ(static_cast<long long>(session.journal().size()), static_cast<long long>(before));
        close_cleanly(session, main);
    }
}

// The language menu relabels the window and refills the lists keeping their selections, talks
// to nobody, and the language chosen last is stored at the end.
E2E_CASE(language_switch) {
    struct Row {
        int item;
        const char* refresh;
        const char* battery_label;
        const char* in1;
        const char* pin2;
        const char* status;
        const char* shot;
    };
    const Row rows[] = {
        {IDM_POLISH, "Aktualizuj", "Stan baterii\npodczas pracy", "Aktywne rozwarcie",
         "Aktywne napięcie", "GSM: gotowy   ( Plus )      Bateria: ładowana", "switched_pl"},
        {IDM_GERMAN, "Aktualisieren", "Battery level\nduring operation", "Aktiv beim Öffnen",
         "Aktiv Voltage", "GSM: bereit   ( Plus )      Batterie: aufladen", "switched_de"},
        {IDM_ENGLISH, "Refresh", "Battery level\nduring operation", "Active Opened",
         "Active Voltage", "GSM: ready   ( Plus )      Battery: recharge", "switched_en"},
        {IDM_GERMAN, "Aktualisieren", "Battery level\nduring operation", "Aktiv beim Öffnen",
         "Aktiv Voltage", "GSM: bereit   ( Plus )      Batterie: aufladen", nullptr},
    };
    Session session("language_switch", demo_setup());
    HWND main = start_to_main_window(session);
    if (!main) return;
    const std::size_t before = session.journal().size();
    for (const Row& row : rows) {
        CHECK(command(main, row.item)->wait(kJobMs));
        CHECK_EQ(item_text(main, IDC_REFRESH), row.refresh);
        CHECK_EQ(item_text(main, IDC_BATTERY_LABEL), row.battery_label);
        CHECK_EQ(combo_selected_text(main, IDC_MODE_IN1), row.in1);
        CHECK_EQ(combo_selected_text(main, IDC_MODE_PIN2), row.pin2);
        CHECK_EQ(combo_count(main, IDC_MODE_PIN2), 2);
        CHECK_EQ(item_text(main, IDC_STATUS_LINE), row.status);
        CHECK_EQ(item_text(main, IDC_LABEL_PIN2), "P-IN2");
        CHECK_EQ(window_text(main), kAppTitle);
        if (row.shot) session.screenshot(main, row.shot);
    }
    CHECK_EQ(static_cast<long long>(session.journal().size()), static_cast<long long>(before));
    CHECK(session.settings() == std::string("\x01", 1));  // not written before the end
    close_cleanly(session, main);
    CHECK(session.settings() == std::string("\x02", 1));
}

// The module stops answering: Refresh and Read show the communication error after the read
// time-out, in the language, and the panels keep what they showed.
E2E_CASE(communication_error_when_module_stops_answering) {
    for (uint8_t language : {uint8_t(1), uint8_t(0)}) {
        SessionSetup setup = demo_setup();
        setup.settings = std::string(1, char(language));
        setup.scenario.modules[0].faults = {
            Fault{.kind = FaultKind::no_answer, .command = 8, .sub_index = 0, .skip = 1},
            Fault{.kind = FaultKind::no_answer, .command = 6, .skip = 1},
        };
        Session session("stops_answering_" + std::to_string(language), setup);
        HWND main = start_to_main_window(session);
        if (!main) continue;
        for (int button : {IDC_REFRESH, IDC_READ}) {
            const DWORD start = GetTickCount();
            CHECK_EQ(run_command(session, main, button, true), kCommunicationError.in(language));
            CHECK(GetTickCount() - start < 5000);
        }
        CHECK_EQ(item_text(main, IDC_TEMP1), "21.5 °C");
        CHECK_EQ(updown_position(main, IDC_T2_LOW_SPIN), -10);
        close_cleanly(session, main);
        expect_no_writes(session);
    }
}

// A job runs behind the progress dialog: it shows the "please wait" text of the language over a
// disabled main window while the module is being asked, and goes away when the job has ended.
E2E_CASE(progress_dialog_during_a_job) {
    const Texts3 wait_text{"Komunikacja z urządzeniem.\n\nProszę czekać...",
                           "Communication with the device.\n\nPlease wait...",
                           "Kommunikation mit dem Gerät.\n\nBitte warten..."};
    for (uint8_t language : {uint8_t(0), uint8_t(1), uint8_t(2)}) {
        SessionSetup setup = demo_setup();
        setup.settings = std::string(1, char(language));
        // Part 1 of the status is not answered once: the job waits out one read time-out.
        setup.scenario.modules[0].faults = {
            Fault{.kind = FaultKind::no_answer, .command = 8, .sub_index = 1, .skip = 1}};
        Session session("progress_" + std::to_string(language), setup);
        HWND main = start_to_main_window(session);
        if (!main) continue;
        PendingSend* pending = click(main, IDC_REFRESH);
        HWND progress = nullptr;
        CHECK(wait_until(
            [&] { return (progress = find_dialog(session.pid(), IDC_PROGRESS_TEXT, main)); },
            kJobMs));
        if (progress) {
            CHECK_EQ(item_text(progress, IDC_PROGRESS_TEXT), wait_text.in(language));
            CHECK(!IsWindowEnabled(main));
            if (language == 1) session.screenshot(progress, "progress_en");
        }
        std::string box;
        wait_until(
            [&] {
                if (auto seen = session.message_box_now(main)) {
                    box = seen->text;
                    session.press_ok(*seen);
                }
                return pending->done();
            },
            kJobMs);
        CHECK(pending->done());
        CHECK_EQ(box, kCommunicationError.in(language));
        CHECK(find_dialog(session.pid(), IDC_PROGRESS_TEXT, main) == nullptr);
        CHECK(IsWindowEnabled(main));
        close_cleanly(session, main);
    }
}

// A close request (WM_CLOSE, as taskkill and "End task" send it) during a Refresh waits for the
// job: all three parts are read, then the driver is closed and the program ends with 0, with
// no error box.
E2E_CASE(close_during_a_refresh) {
    SessionSetup setup = demo_setup();
    setup.settings = std::string(1, char(2));
    // Part 0 answers late (within the read time-out), so the close comes while it is awaited.
    setup.scenario.modules[0].faults = {Fault{.kind = FaultKind::delay,
                                              .command = 8,
                                              .sub_index = 0,
                                              .skip = 1,
                                              .times = 1,
                                              .value = 800000}};
    Session session("close_during_refresh", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    click(main, IDC_REFRESH);
    CHECK(wait_until([&] { return find_dialog(session.pid(), IDC_PROGRESS_TEXT, main); }, kJobMs));
    PostMessageW(main, WM_CLOSE, 0, 0);
    bool box = false;
    wait_until(
        [&] {
            if (auto seen = session.message_box_now()) {
                box = true;
                session.press_ok(*seen);
            }
            return !session.running();
        },
        kJobMs + kEndMs);
    CHECK(!box);
    if (!CHECK(!session.running())) return;
    CHECK_EQ(static_cast<long long>(session.exit_code()), 0LL);
    const auto journal = session.journal();
    CHECK_EQ(joined(requests(journal)), "1 8/00 8/01 8/02 6 8/00 8/01 8/02");
    CHECK(!journal.empty() && journal.back().event == "close");
    CHECK(session.settings() == std::string(1, char(2)));  // the language was saved as usual
}

}  // namespace e2e
