// The fault matrix: the simulated module unplugged, answering garbage, the previous answer,
// late, dripping, with an old answer's bytes ahead of the right one (skipped: success), with the
// wrong acknowledgement, or a firmware answer too short. For each: no crash, no hang past the read
// time-outs, the right box, and no write the user did not ask for; the program keeps working where
// the module does.
#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {
namespace {

using zavi::sim::Fault;
using zavi::sim::FaultKind;

struct FaultRow {
    const char* name;
    Fault fault;
    int button;               // Refresh, Read or Save
    bool error_box;           // the communication error is shown (else no box at all)
    DWORD at_most_ms;         // from the click to the end of the command (or its box)
    DWORD at_least_ms;        // a late or dripping answer takes this long at least
    const char* written;      // write commands the module took, in order
    bool module_still_there;  // false: later commands fail as well
};

constexpr DWORD kReadTimeoutMs = 1000;
// Slack for the program and Wine on a busy machine, on top of the time-outs that can pass.
constexpr DWORD kSlackMs = 4000;

// clang-format off
const FaultRow kRows[] = {
    {"unplugged_in_refresh",
     {.kind = FaultKind::unplug, .command = 8, .sub_index = 1, .skip = 1},
     IDC_REFRESH, true, kSlackMs, 0, "", false},
    {"unplugged_in_save",
     {.kind = FaultKind::unplug, .command = 7},
     IDC_SAVE, true, kSlackMs, 0, "7", false},
    {"garbage_answer",
     {.kind = FaultKind::garbage, .command = 6, .skip = 1, .times = 1, .value = 30},
     IDC_READ, true, kReadTimeoutMs + kSlackMs, 0, "", true},
    {"previous_commands_answer",
     {.kind = FaultKind::previous_answer, .command = 8, .sub_index = 0, .skip = 1, .times = 1},
     IDC_REFRESH, true, kReadTimeoutMs + kSlackMs, 0, "", true},
    {"stale_bytes_ahead",
     {.kind = FaultKind::stale_first, .command = 8, .sub_index = 2, .skip = 1, .times = 1},
     IDC_REFRESH, false, kReadTimeoutMs + kSlackMs, 0, "", true},
    {"answer_just_before_time_out",
     {.kind = FaultKind::delay, .command = 6, .skip = 1, .times = 1, .value = 800000},
     IDC_READ, false, kReadTimeoutMs + kSlackMs, 800, "", true},
    {"answer_just_after_time_out",
     {.kind = FaultKind::delay, .command = 6, .skip = 1, .times = 1, .value = 1300000},
     IDC_READ, true, kReadTimeoutMs + kSlackMs, kReadTimeoutMs, "", true},
    {"dripping_within_time_out",
     {.kind = FaultKind::drip, .command = 8, .sub_index = 0, .skip = 1, .times = 1, .value = 15000},
     IDC_REFRESH, false, 3 * kReadTimeoutMs + kSlackMs, 500, "", true},
    {"dripping_past_time_out",
     {.kind = FaultKind::drip, .command = 6, .skip = 1, .times = 1, .value = 100000},
     IDC_READ, true, kReadTimeoutMs + kSlackMs, kReadTimeoutMs, "", true},
    {"wrong_acknowledgement",
     {.kind = FaultKind::wrong_ack, .command = 7, .times = 1},
     IDC_SAVE, true, kReadTimeoutMs + kSlackMs, 0, "7", true},
    {"short_acknowledgement",
     {.kind = FaultKind::short_ack, .command = 7, .times = 1},
     IDC_SAVE, true, kReadTimeoutMs + kSlackMs, 0, "7", true},
    {"bad_checksum",
     {.kind = FaultKind::bad_data_crc, .command = 8, .sub_index = 2, .skip = 1, .times = 1},
     IDC_REFRESH, true, kReadTimeoutMs + kSlackMs, 0, "", true},
};
// clang-format on

// Clicks a button and waits for its end; returns the box shown ("" for none) and the time.
std::string press(Session& session, HWND main, int button, DWORD* took_ms) {
    const DWORD start = GetTickCount();
    PendingSend* pending = click(main, button);
    std::string shown;
    wait_until(
        [&] {
            if (auto box = session.message_box_now(main)) {
                if (shown.empty()) *took_ms = GetTickCount() - start;
                shown = box->text;
                session.press_ok(*box);
            }
            return pending->done();
        },
        kJobMs);
    if (shown.empty()) *took_ms = GetTickCount() - start;
    if (!pending->done()) fail("the command did not end", __FILE__, __LINE__);
    return shown;
}

std::string write_commands(const Session& session) {
    std::vector<std::string> found;
    for (const JournalEvent& e : writes(session.journal()))
        found.push_back(std::to_string(e.command));
    return joined(found);
}

}  // namespace

E2E_CASE(fault_matrix) {
    for (const FaultRow& row : kRows) {
        SessionSetup setup = demo_setup();
        setup.with_state_file = true;
        setup.scenario.modules[0].faults = {row.fault};
        Context context(row.name);
        Session session(std::string("fault_") + row.name, setup);
        HWND main = start_to_main_window(session);
        if (!main) continue;
        // A Save needs something to send: the user moves a threshold first.
        if (row.button == IDC_SAVE) move_updown(main, IDC_T1_HIGH_SPIN, 33);

        DWORD took = 0;
        const std::string shown = press(session, main, row.button, &took);
        CHECK_EQ(shown, row.error_box ? kCommunicationError.english : "");
        if (took > row.at_most_ms) fail("took " + std::to_string(took) + " ms", __FILE__, __LINE__);
        if (took < row.at_least_ms)
            fail("took only " + std::to_string(took) + " ms: the fault did not strike", __FILE__,
                 __LINE__);
        CHECK(session.running());
        CHECK_EQ(item_text(main, IDC_TEMP1), "21.5 °C");  // nothing half-read is shown

        // Afterwards: a module still plugged in answers the next Refresh; an unplugged one
        // makes it fail the same way, quickly.
        const std::string next = press(session, main, IDC_REFRESH, &took);
        CHECK_EQ(next, row.module_still_there ? "" : kCommunicationError.english);
        close_cleanly(session, main);
        CHECK_EQ(write_commands(session), row.written);
        // The module never stored a Save cut off by the unplugging.
        if (!row.module_still_there) {
            const auto saved = session.saved_state();
            if (saved) CHECK(saved->modules[0].state == setup.scenario.modules[0].state);
        }
    }
}

// A version answer of only 20 bytes: the communication error, then the end; nothing written.
E2E_CASE(fault_firmware_answer_too_short) {
    SessionSetup setup = demo_setup();
    setup.scenario.modules[0].faults = {
        Fault{.kind = FaultKind::truncated, .command = 1, .value = 20}};
    Session session("fault_firmware_short", setup);
    if (!CHECK(session.start())) return;
    expect_box(session, kAppTitle, kCommunicationError.english, kStartMs);
    ends_without_main_window(session);
    CHECK_EQ(joined(requests(session.journal())), "1");
    const auto journal = session.journal();
    CHECK(!journal.empty() && journal.back().event == "close");
}

}  // namespace e2e
