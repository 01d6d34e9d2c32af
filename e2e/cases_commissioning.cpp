// Live status in the real program: the window follows the module's timeline without a click,
// Refresh pressed meanwhile works and stops it, and the module never gets a request before it
// has answered the one before (each status read is a whole part 0, 1, 2 sequence).
#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {
namespace {

// The requests after the first read at start-up, which must be whole status cycles.
bool only_whole_status_cycles(const std::vector<std::string>& sent, size_t from) {
    if ((sent.size() - from) % 3 != 0) return false;
    for (size_t i = from; i < sent.size(); i += 3)
        if (sent[i] != "8/00" || sent[i + 1] != "8/01" || sent[i + 2] != "8/02") return false;
    return true;
}

// Status reads in order: part 1 only right after part 0, part 2 only right after part 1. A
// cycle may end early (the reads stop between exchanges), but never interleaves with another.
bool status_reads_in_order(const std::vector<std::string>& status) {
    for (size_t i = 0; i < status.size(); ++i) {
        if (status[i] == "8/01" && (i == 0 || status[i - 1] != "8/00")) return false;
        if (status[i] == "8/02" && (i == 0 || status[i - 1] != "8/01")) return false;
    }
    return true;
}

// Opens the Test menu from the keyboard (the fourth entry of the menu bar) and photographs it.
void photograph_test_menu(Session& session, HWND main, const std::string& shot) {
    SetForegroundWindow(main);
    PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 0);
    for (int k = 0; k < 2; ++k) PostMessageW(main, WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
    HWND popup = nullptr;
    wait_until(
        [&] {
            for (HWND w : process_windows(session.pid())) {
                wchar_t name[16] = {};
                GetClassNameW(w, name, 16);
                if (std::wstring(name) == L"#32768" && IsWindowVisible(w)) popup = w;
            }
            return popup != nullptr;
        },
        5000);
    if (CHECK(popup != nullptr)) session.screenshot(popup, shot);
    PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(300);
}

}  // namespace

E2E_CASE(commissioning_live_status_and_refresh) {
    SessionSetup setup = demo_setup();
    setup.scenario.modules[0].state.io_state_text[0] = "Door closed";
    // Seconds from the program's first open of the module; the start-up read is long done.
    setup.timeline_json = R"({"events": [{"at_s": 4.0, "set": {"io_state_text": {"0": "Door open"},
                                                             "gsm_signal": 9}}]})";
    Session session("live_status", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    CHECK_EQ(item_text(main, IDC_STATE_IN1), "Door closed");

    CHECK(command(main, IDM_LIVE_STATUS)->wait(kJobMs));
    // No click: the door opens on screen, with the signal that came with it.
    CHECK(wait_until([&] { return item_text(main, IDC_STATE_IN1) == "Door open"; }, 10000));
    CHECK_EQ(item_text(main, IDC_SIGNAL_TEXT), "-95 dBm");
    CHECK(find_dialog(session.pid(), IDC_PROGRESS_TEXT) == nullptr);  // no progress dialog
    session.screenshot(main, "live_status_door_open");

    // Refresh during live status: it works, shows no error, and live status stays stopped.
    const size_t before = requests(session.journal()).size();
    PendingSend* refresh = click(main, IDC_REFRESH);
    std::string box;
    wait_until(
        [&] {
            if (auto b = session.message_box_now(main)) {
                box = b->text;
                session.press_ok(*b);
            }
            return refresh->done();
        },
        kJobMs);
    CHECK(refresh->done());
    CHECK_EQ(box, "");
    const size_t after_refresh = requests(session.journal()).size();
    // At most the live cycle that was running, then Refresh's own three reads.
    CHECK(after_refresh >= before + 3 && after_refresh <= before + 6);
    Sleep(2500);  // two intervals of the stopped loop
    const std::vector<std::string> sent = requests(session.journal());
    CHECK_EQ(static_cast<long long>(sent.size()), static_cast<long long>(after_refresh));
    // Start-up: count 1, the three parts and the alarm settings; then whole cycles only, the
    // live ones and Refresh's, never one request before the answer to the one before.
    CHECK(sent.size() > 5 + 6);
    if (CHECK(sent.size() >= 5))
        CHECK_EQ(joined({sent.begin(), sent.begin() + 5}), "1 8/00 8/01 8/02 6");
    CHECK(only_whole_status_cycles(sent, 5));
    expect_no_writes(session);
    close_cleanly(session, main);
}

// The Test menu in each language, photographed from the keyboard (its texts and greying are
// checked in-process).
E2E_CASE(commissioning_test_menu_in_each_language) {
    Session session("live_status_test_menu", demo_setup());
    HWND main = start_to_main_window(session);
    if (!main) return;
    const struct {
        int item;
        const char* shot;
    } languages[] = {
        {IDM_POLISH, "test_menu_pl"}, {IDM_ENGLISH, "test_menu_en"}, {IDM_GERMAN, "test_menu_de"}};
    for (const auto& l : languages) {
        CHECK(command(main, l.item)->wait(kJobMs));
        photograph_test_menu(session, main, l.shot);
    }
    close_cleanly(session, main);
}

// The walk test in each language: every input ticked in both states as the module's timeline
// plays, the installer's ticks complete it, and closing it stops the reads.
E2E_CASE(commissioning_walk_test_ticks_every_input) {
    SessionSetup setup = demo_setup();
    // Every input through both of its states every four seconds.
    setup.timeline_json = R"({"repeat_every_s": 4.0, "events": [
        {"at_s": 0.5, "set": {"io_state_text": {"0": "Door open"}}},
        {"at_s": 1.0, "set": {"io_state_text": {"1": "Window open"}}},
        {"at_s": 1.5, "set": {"io_state_text": {"2": "Mains off"}}},
        {"at_s": 2.0, "set": {"io_state_text": {"3": "Pump on"}}},
        {"at_s": 2.5, "set": {"io_state_text": {"0": "Door closed"}}},
        {"at_s": 3.0, "set": {"io_state_text": {"1": "Window closed"}}},
        {"at_s": 3.5, "set": {"io_state_text": {"2": "Mains on"}}},
        {"at_s": 3.9, "set": {"io_state_text": {"3": "Pump off"}}}]})";
    Session session("walk_test", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    const struct {
        int item;
        const char* shot;
        const char* done;  // the summary once everything was seen
    } languages[] = {
        {IDM_POLISH, "walk_test_pl", "Wszystko sprawdzone."},
        {IDM_GERMAN, "walk_test_de", "Alles geprüft."},
        {IDM_ENGLISH, "walk_test_en", "Everything seen."},
    };
    const int boxes[] = {IDC_WT_IN1_A,  IDC_WT_IN1_B,  IDC_WT_IN2_A,  IDC_WT_IN2_B,
                         IDC_WT_PIN1_A, IDC_WT_PIN1_B, IDC_WT_PIN2_A, IDC_WT_PIN2_B};
    for (const auto& l : languages) {
        Context context(l.shot);
        CHECK(command(main, l.item)->wait(kJobMs));
        PendingSend* open = command(main, IDM_WALK_TEST);
        HWND dialog = session.wait_dialog(IDC_WT_SUMMARY, main);
        if (!CHECK(dialog != nullptr)) return;
        const bool all = wait_until(
            [&] {
                for (int id : boxes)
                    if (!is_checked(dialog, id)) return false;
                return true;
            },
            12000);
        CHECK(all);
        for (int id : boxes) CHECK(is_checked(dialog, id));
        CHECK(item_text(dialog, IDC_WT_IN1_A).find("Door open  (") == 0);
        for (int id : {IDC_WT_OUT1_CONFIRM, IDC_WT_OUT2_CONFIRM, IDC_WT_SMS, IDC_WT_CALL})
            CHECK(click(dialog, id)->wait(kJobMs));
        CHECK_EQ(item_text(dialog, IDC_WT_SUMMARY), l.done);
        session.screenshot(dialog, l.shot);
        CHECK(click(dialog, IDC_WT_CLOSE)->wait(kJobMs));
        CHECK(open->wait(kJobMs));
        CHECK(session.message_box_now(main) == std::nullopt);
    }
    // Closed: no more reads; the status reads of each cycle in order, one after the other.
    const size_t closed = requests(session.journal()).size();
    Sleep(1000);
    const std::vector<std::string> sent = requests(session.journal());
    CHECK_EQ(static_cast<long long>(sent.size()), static_cast<long long>(closed));
    std::vector<std::string> status;
    for (const std::string& r : sent)
        if (r.rfind("8/", 0) == 0) status.push_back(r);
    CHECK(status_reads_in_order(status));
    expect_no_writes(session);
    close_cleanly(session, main);
}

// The signal survey in each language: Start, samples of part 0 with the signal wandering,
// Stop, and a verdict with its reason; photographed with its plot.
E2E_CASE(commissioning_survey_gives_its_verdict) {
    SessionSetup setup = demo_setup();
    setup.timeline_json = R"({"repeat_every_s": 2.0, "events": [
        {"at_s": 0.5, "set": {"gsm_signal": 12}}, {"at_s": 1.0, "set": {"gsm_signal": 16}},
        {"at_s": 1.5, "set": {"gsm_signal": 20}}]})";
    Session session("survey", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    const struct {
        int item;
        const char* shot;
        const char* verdict_start;  // mean about -81 dBm, lowest -89 dBm: good
    } languages[] = {
        {IDM_POLISH, "survey_pl", "dobry: "},
        {IDM_GERMAN, "survey_de", "gut: "},
        {IDM_ENGLISH, "survey_en", "good: "},
    };
    for (const auto& l : languages) {
        Context context(l.shot);
        CHECK(command(main, l.item)->wait(kJobMs));
        PendingSend* open = command(main, IDM_SURVEY);
        HWND dialog = session.wait_dialog(IDC_SV_PLOT, main);
        if (!CHECK(dialog != nullptr)) return;
        CHECK(click(dialog, IDC_SV_START)->wait(kJobMs));
        Sleep(4000);
        CHECK(click(dialog, IDC_SV_START)->wait(kJobMs));  // Stop
        const std::string verdict = item_text(dialog, IDC_SV_VERDICT);
        CHECK(verdict.rfind(l.verdict_start, 0) == 0);
        if (verdict.rfind(l.verdict_start, 0) != 0) note("verdict: " + verdict);
        CHECK(item_enabled(dialog, IDC_SV_SAVE_CSV));
        session.screenshot(dialog, l.shot);
        CHECK(click(dialog, IDC_SV_CLOSE)->wait(kJobMs));
        CHECK(open->wait(kJobMs));
    }
    // Part 0 only while surveying; nothing after the dialog closed.
    const size_t closed = requests(session.journal()).size();
    Sleep(1000);
    const std::vector<std::string> sent = requests(session.journal());
    CHECK_EQ(static_cast<long long>(sent.size()), static_cast<long long>(closed));
    CHECK(sent.size() > 5 + 30);
    for (size_t i = 5; i < sent.size(); ++i) CHECK_EQ(sent[i], "8/00");
    expect_no_writes(session);
    close_cleanly(session, main);
}

}  // namespace e2e
