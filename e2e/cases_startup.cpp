// Start-up: the settings file and its language, finding the module, the firmware check, the
// missing driver library, the first read, and the settings file left at the end.
#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {
namespace {

using zavi::sim::Fault;
using zavi::sim::FaultKind;

// A few captions and the status line of the demo module in each language.
struct LanguageView {
    const char* refresh;
    const char* alarm_group;
    const char* signal_label;
    const char* in1_item;
    const char* status_line;
};

constexpr LanguageView kViews[] = {
    {"Aktualizuj", "Warunki inicjowania alarmów", "Sygnał GSM", "Aktywne rozwarcie",
     "GSM: gotowy   ( Plus )      Bateria: ładowana"},
    {"Refresh", "Conditions to initiate alarms", "GSM signal", "Active Opened",
     "GSM: ready   ( Plus )      Battery: recharge"},
    {"Aktualisieren", "Vorgaben für Alarmbedingungen", "GSM Signal", "Aktiv beim Öffnen",
     "GSM: bereit   ( Plus )      Batterie: aufladen"},
};

void expect_language(HWND main, uint8_t language) {
    const LanguageView& v = kViews[language > 2 ? 2 : language];
    CHECK_EQ(item_text(main, IDC_REFRESH), v.refresh);
    CHECK_EQ(item_text(main, IDC_ALARM_GROUP), v.alarm_group);
    CHECK_EQ(item_text(main, IDC_SIGNAL_LABEL), v.signal_label);
    CHECK_EQ(combo_selected_text(main, IDC_MODE_IN1), v.in1_item);
    CHECK_EQ(item_text(main, IDC_STATUS_LINE), v.status_line);
    CHECK_EQ(window_text(main), kAppTitle);
}

}  // namespace

// The demo module, no settings file: English, every reading and setting of the module shown,
// the first read as the module saw it, and config.db holding 1 after the end.
E2E_CASE(startup_shows_the_module) {
    Session session("startup_shows_the_module", demo_setup());
    HWND main = start_to_main_window(session);
    if (!main) return;
    expect_language(main, 1);
    CHECK_EQ(item_text(main, IDC_TEMP1), "21.5 °C");
    CHECK_EQ(item_text(main, IDC_TEMP2), "-3.2 °C");
    CHECK_EQ(item_text(main, IDC_STATE_IN1), "Door closed");
    CHECK_EQ(item_text(main, IDC_STATE_OUT2), "Light on");
    CHECK_EQ(item_text(main, IDC_SIGNAL_TEXT), "-77 dBm");
    CHECK_EQ(progress_position(main, IDC_SIGNAL_BAR), 18);
    CHECK_EQ(item_text(main, IDC_BATTERY_TEXT), "87 %");
    CHECK_EQ(progress_position(main, IDC_BATTERY_BAR), 87);
    CHECK_EQ(combo_selection(main, IDC_MODE_IN2), 1);
    CHECK_EQ(combo_selected_text(main, IDC_MODE_PIN1), "Active Voltage");
    CHECK_EQ(updown_position(main, IDC_T1_HIGH_SPIN), 30);
    CHECK_EQ(updown_position(main, IDC_T1_LOW_SPIN), 5);
    CHECK_EQ(updown_position(main, IDC_T2_HIGH_SPIN), 40);
    CHECK_EQ(updown_position(main, IDC_T2_LOW_SPIN), -10);
    CHECK_EQ(updown_position(main, IDC_BATTERY_THRESHOLD_SPIN), 20);
    CHECK_EQ(item_text(main, IDC_T2_LOW_EDIT), "-10");
    session.screenshot(main, "main_window_en");
    close_cleanly(session, main);

    const auto journal = session.journal();
    CHECK_EQ(joined(requests(journal)), "1 8/00 8/01 8/02 6");
    CHECK_EQ(joined([&] {
                 std::vector<std::string> calls;
                 for (const JournalEvent& e : journal)
                     if (e.event != "frame") calls.push_back(e.event);
                 return calls;
             }()),
             "count open latency set_timeouts close");
    CHECK(read_timeouts(journal) == std::vector<long long>{1000});
    // The chip's latency timer is lowered to 1 ms right after the open, and the library took it.
    for (const JournalEvent& e : journal) {
        if (e.event != "latency") continue;
        CHECK_EQ(e.latency_ms, 1LL);
        CHECK_EQ(e.status, 0LL);
    }
    CHECK(session.settings() == std::string("\x01", 1));
}

// The language byte of config.db at start-up, and what the file holds after the end.
E2E_CASE(startup_language_from_settings_file) {
    struct Row {
        const char* name;
        std::string file;
        uint8_t shown;
        std::string left;
    };
    const Row rows[] = {
        {"polish", std::string("\x00", 1), 0, std::string("\x00", 1)},
        {"german", "\x02", 2, "\x02"},
        {"two_bytes", std::string("\x00\x02", 2), 1, "\x01"},  // unreadable: English, rewritten
        {"empty", "", 1, "\x01"},
        {"seven", "\x07", 2, "\x07"},  // outside 0-2: German, kept as it was
    };
    for (const Row& row : rows) {
        SessionSetup setup = demo_setup();
        setup.settings = row.file;
        Session session(std::string("language_") + row.name, setup);
        HWND main = start_to_main_window(session);
        if (!main) continue;
        expect_language(main, row.shown);
        if (row.shown == 0) session.screenshot(main, "main_window_pl");
        if (row.shown == 2 && row.file == "\x02") session.screenshot(main, "main_window_de");
        // Just after the start the file already holds what a missing or bad file is replaced by.
        if (row.shown == 1) CHECK(session.settings() == std::string("\x01", 1));
        close_cleanly(session, main);
        CHECK(session.settings() == row.left);
    }
}

// config.db is a folder: it can be neither read nor created. The English box titled "Error",
// then the end, before anything was looked for.
E2E_CASE(startup_settings_file_unusable) {
    SessionSetup setup = demo_setup();
    setup.settings_as_folder = true;
    Session session("settings_unusable", setup);
    if (!CHECK(session.start())) return;
    expect_box(session, "Error", "Operation failed", kStartMs);
    ends_without_main_window(session);
    CHECK(session.journal().empty());  // the driver was never even asked to count
}

// No module: its message in the stored language, then the end; config.db was created.
E2E_CASE(startup_no_module) {
    for (uint8_t language : {uint8_t(0), uint8_t(1), uint8_t(2)}) {
        SessionSetup setup = demo_setup();
        setup.scenario.modules.clear();
        setup.settings = std::string(1, char(language));
        Session session("no_module_" + std::to_string(language), setup);
        if (!CHECK(session.start())) continue;
        expect_box(session, kAppTitle, kNotConnected.in(language), kStartMs);
        ends_without_main_window(session);
        CHECK(requests(session.journal()).empty());
        CHECK(session.settings() == std::string(1, char(language)));
    }
    // No settings file: the box in English, and the new file stays.
    SessionSetup setup = demo_setup();
    setup.scenario.modules.clear();
    Session session("no_module_no_file", setup);
    if (!CHECK(session.start())) return;
    expect_box(session, kAppTitle, kNotConnected.english, kStartMs);
    ends_without_main_window(session);
    CHECK(session.settings() == std::string("\x01", 1));
}

// Without FTD2XX.dll beside it (and none installed) the program names the missing driver in
// the user's language and ends; no loader error. It has looked for FTDI COM ports too and says
// it found none: Wine's SetupAPI gives no USB vendor for a mapped pseudo-terminal (COM5 while
// scripts/e2e.sh runs zavi-sim-serve), so such a port counts only when named with --port.
E2E_CASE(startup_driver_library_missing) {
    const Texts3 word{"Sterownik", "driver", "Treiber"};
    const Texts3 no_port{"\nNie znaleziono też portu COM FTDI.\n",
                         "\nNo FTDI COM port was found either.\n",
                         "\nEs wurde auch kein FTDI-COM-Anschluss gefunden.\n"};
    const char* shots[] = {"driver_missing_pl", "driver_missing_en", "driver_missing_de"};
    for (uint8_t language : {uint8_t(0), uint8_t(1), uint8_t(2)}) {
        SessionSetup setup = demo_setup();
        setup.with_library = false;
        setup.settings = std::string(1, char(language));
        Session session("no_library_" + std::to_string(language), setup);
        if (!CHECK(session.start())) continue;
        const auto box = session.wait_message_box(kStartMs);
        if (!box) {
            fail("no message box", __FILE__, __LINE__);
            continue;
        }
        CHECK_EQ(box->title, kAppTitle);
        CHECK(box->text.find("FTD2XX.dll") != std::string::npos);
        CHECK(box->text.find(word.in(language)) != std::string::npos);
        CHECK(box->text.find(no_port.in(language)) != std::string::npos);
        session.screenshot(box->window, shots[language]);
        session.press_ok(*box);
        ends_without_main_window(session);
    }
}

// Firmware other than v1.7: the firmware message with both versions, then the end; the module
// is closed and nothing is written.
E2E_CASE(startup_wrong_firmware) {
    struct Row {
        uint8_t language;
        const char* text;
    };
    const Row rows[] = {
        {1, "Required firmware:   ZAVI-GSM v1.7\nthe device is:   v1.6\n"},
        {0, "Wymagany firmware:   ZAVI-GSM v1.7\nW urządzeniu jest:   v1.6\n"},
        {2, "Erforderliche Firmware:   ZAVI-GSM v1.7\nim Gerät ist:   v1.6\n"},
    };
    for (const Row& row : rows) {
        SessionSetup setup = demo_setup();
        setup.scenario.modules[0].state.firmware = "ZAVI-GSM v1.6";
        setup.settings = std::string(1, char(row.language));
        Session session("wrong_firmware_" + std::to_string(row.language), setup);
        if (!CHECK(session.start())) continue;
        const auto box = session.wait_message_box(kStartMs);
        if (!box) {
            fail("no firmware message", __FILE__, __LINE__);
            continue;
        }
        CHECK_EQ(box->title, kAppTitle);
        CHECK_EQ(box->text, row.text);
        if (row.language == 1) session.screenshot(box->window, "firmware_message_en");
        session.press_ok(*box);
        ends_without_main_window(session);
        const auto journal = session.journal();
        CHECK_EQ(joined(requests(journal)), "1");
        CHECK(!journal.empty() && journal.back().event == "close");
    }
}

// Two modules, the first with other firmware: its message, then the program runs on the second.
E2E_CASE(startup_second_module_after_wrong_firmware) {
    SessionSetup setup = demo_setup();
    setup.scenario.modules.push_back(setup.scenario.modules[0]);
    setup.scenario.modules[0].state.firmware = "ZAVI-GSM v1.5";
    setup.scenario.modules[1].state.temp1_whole = 7;
    Session session("second_module", setup);
    if (!CHECK(session.start())) return;
    expect_box(session, kAppTitle, "Required firmware:   ZAVI-GSM v1.7\nthe device is:   v1.5\n",
               kStartMs);
    HWND main = await_main_window(session);
    if (!main) return;
    CHECK_EQ(item_text(main, IDC_TEMP1), "7.5 °C");
    close_cleanly(session, main);
    for (const JournalEvent& e : session.journal())
        if (e.event == "frame" && e.command != 1) CHECK_EQ(e.module, 1);
}

// The count call fails: index 0 is tried and the program runs.
E2E_CASE(startup_count_fails) {
    SessionSetup setup = demo_setup();
    setup.scenario.count_fails = true;
    Session session("count_fails", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    CHECK_EQ(item_text(main, IDC_TEMP1), "21.5 °C");
    close_cleanly(session, main);
    const auto journal = session.journal();
    CHECK(!journal.empty() && journal[0].event == "count" && journal[0].status != 0);
}

// A module that does not answer the version request, or cannot be opened: the communication
// error after the read time-out, then the end.
E2E_CASE(startup_module_not_answering) {
    for (bool open_fails : {false, true}) {
        SessionSetup setup = demo_setup();
        if (open_fails)
            setup.scenario.modules[0].open_fails = true;
        else
            setup.scenario.modules[0].faults = {Fault{.kind = FaultKind::no_answer, .command = 1}};
        Session session(open_fails ? "open_fails" : "no_version_answer", setup);
        if (!CHECK(session.start())) continue;
        expect_box(session, kAppTitle, kCommunicationError.english, kStartMs);
        ends_without_main_window(session);
        CHECK_EQ(joined(requests(session.journal())), open_fails ? "" : "1");
    }
}

// Failures of the first read are silent: the panels show what could be read.
E2E_CASE(startup_first_read_failures_are_silent) {
    SessionSetup setup = demo_setup();
    setup.scenario.modules[0].faults = {
        Fault{.kind = FaultKind::no_answer, .command = 8, .sub_index = 1, .times = 3},
        Fault{.kind = FaultKind::bad_data_crc, .command = 6, .times = 2},
    };
    Session session("first_read_silent", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    CHECK_EQ(item_text(main, IDC_STATE_IN1), "Door closed");
    CHECK_EQ(item_text(main, IDC_STATE_OUT1), "");  // the output texts never came
    CHECK_EQ(item_text(main, IDC_STATUS_LINE), "GSM: ready   ( Plus )      Battery: recharge");
    CHECK_EQ(updown_position(main, IDC_T1_HIGH_SPIN), 30);  // the third try of 6 succeeded
    close_cleanly(session, main);
    CHECK_EQ(joined(requests(session.journal())), "1 8/00 8/01 8/01 8/01 8/02 6 6 6");
}

}  // namespace e2e
