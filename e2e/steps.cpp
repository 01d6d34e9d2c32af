#include "e2e/steps.h"

#include "e2e/window_control.h"

namespace e2e {

const Texts3 kCommunicationError{"Błąd komunikacji - spróbuj ponownie",
                                 "Communication error - try again",
                                 "Verbindungsfehler - versuche nochmal"};
const Texts3 kNotConnected{"ZAVI-GSM - brak połączenia", "ZAVI-GSM is not connected",
                           "ZAVI-GSM - keine Verbindung"};

HWND start_to_main_window(Session& session) {
    if (!CHECK(session.start())) return nullptr;
    return await_main_window(session);
}

HWND await_main_window(Session& session) {
    HWND main = session.wait_main_window();
    if (!main) {
        fail("the main window did not appear", __FILE__, __LINE__);
        if (auto box = session.message_box_now())
            note("a box is shown instead: " + printable(box->title) + " " + printable(box->text));
        return nullptr;
    }
    // The window becomes visible before the first read has ended; the read is over when the
    // window answers messages again.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kJobMs, &ignored);
    if (auto box = session.message_box_now())
        fail("unexpected box after the start: " + printable(box->text), __FILE__, __LINE__);
    return main;
}

void close_cleanly(Session& session, HWND main) {
    if (!main) return;
    if (!CHECK(session.close_and_wait(main))) return;
    CHECK_EQ(static_cast<long long>(session.exit_code()), 0LL);
}

void ends_without_main_window(Session& session) {
    if (!CHECK(session.wait_exit(kEndMs))) return;
    CHECK_EQ(static_cast<long long>(session.exit_code()), 0LL);
    CHECK(!session.main_window_ever_visible());
}

void expect_box(Session& session, const std::string& title, const std::string& text,
                DWORD timeout_ms, HWND owner) {
    const auto box = session.wait_message_box(timeout_ms, owner);
    if (!box) {
        fail("no message box " + printable(text), __FILE__, __LINE__);
        return;
    }
    CHECK_EQ(box->title, title);
    CHECK_EQ(box->text, text);
    session.press_ok(*box);
}

void expect_no_writes(const Session& session) {
    const auto written = writes(session.journal());
    for (const JournalEvent& e : written)
        fail("the module received write command " + std::to_string(e.command) + " with " +
                 hex(e.data),
             __FILE__, __LINE__);
}

}  // namespace e2e
