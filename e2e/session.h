// One run of the real program in a fresh working folder: the program (and, unless a case says
// otherwise, the drop-in simulated FTD2XX.dll) copied in, a scenario for the simulated module,
// an optional settings file, then start, find its windows, read its message boxes, close it,
// and read what it left behind (the module's journal, config.db, the module state).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/three_languages.h"
#include "e2e/journal.h"
#include "sim/simulator.h"

namespace e2e {

// Where the driver finds the program and puts its work and screenshots (from the command line).
struct Paths {
    std::wstring program;  // zavi-gsm.exe
    std::wstring library;  // the drop-in FTD2XX.dll
    std::wstring work;     // one sub-folder per case is made here
    std::wstring shots;    // screenshots (PNG)
    // When set, the program runs where it is installed, with this working folder, instead of
    // as a copy in the case folder; the library is put beside it for the session only.
    std::wstring start_in;
};
Paths& paths();

// Time the program gets to show its first window or box, and to end.
constexpr DWORD kStartMs = 15000;
constexpr DWORD kEndMs = 10000;
// A job or Save against a module that does not answer: the read time-out (1 s, 3 s for the
// telephone numbers) for each exchange, plus the program's own work under Wine.
constexpr DWORD kJobMs = 10000;

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string title;
    std::string text;
};

struct SessionSetup {
    zavi::sim::Scenario scenario;         // the demo module unless changed
    bool with_library = true;             // false: no FTD2XX.dll beside the program
    std::optional<std::string> settings;  // bytes of config.db before the start
    bool settings_as_folder = false;      // config.db is a folder: neither readable nor writable
    bool with_state_file = false;         // ZAVI_SIM_STATE in the case folder
    std::wstring arguments;               // added to the program's command line
    std::wstring outside_journal;         // the journal of a module outside this process tree
    // The first module's timeline as scenario JSON ({"repeat_every_s": ..., "events": [...]});
    // the scenario's own timeline is not written to the file.
    std::string timeline_json;
};

SessionSetup demo_setup();

class Session {
  public:
    Session(const std::string& name, const SessionSetup& setup);
    ~Session();  // ends the program if it still runs
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool start();
    DWORD pid() const { return pid_; }

    // The main window once visible, or null after `timeout_ms`.
    HWND wait_main_window(DWORD timeout_ms = kStartMs);
    // A message box of the program (a dialog with a text static and an OK button, owned by
    // `owner` when given).
    std::optional<MessageBoxSeen> wait_message_box(DWORD timeout_ms, HWND owner = nullptr);
    std::optional<MessageBoxSeen> message_box_now(HWND owner = nullptr);
    void press_ok(const MessageBoxSeen& box);
    // A dialog of the program owned by `owner` holding `control_id`.
    HWND wait_dialog(int control_id, HWND owner, DWORD timeout_ms = kJobMs);
    bool main_window_ever_visible() const { return main_seen_; }

    // Asks the main window to close (its close box) and waits for the process to end.
    bool close_and_wait(HWND main, DWORD timeout_ms = kEndMs);
    bool wait_exit(DWORD timeout_ms);
    bool running() const;
    DWORD exit_code() const;

    std::vector<JournalEvent> journal() const;
    // Bytes of config.db, or nullopt when there is none.
    std::optional<std::string> settings() const;
    // The module state the drop-in library saved (with_state_file only).
    std::optional<zavi::sim::Scenario> saved_state() const;
    // Replaces the module state as someone changing the module would; the module takes it
    // before the next request.
    bool change_state(const zavi::sim::Scenario& scenario);
    // Replaces the scenario (modules swapped, unplugged or plugged in); the library takes it
    // at the program's next search for modules.
    bool change_scenario(const zavi::sim::Scenario& scenario);

    // Screenshot of a window into the screenshot folder as NAME.png.
    void screenshot(HWND window, const std::string& name);

    const std::wstring& folder() const { return folder_; }

  private:
    std::wstring folder_;        // the case's own files: scenario, journal, state
    std::wstring run_folder_;    // the program's working folder: config.db
    std::wstring program_;       // the program started
    std::wstring library_copy_;  // the library put beside an installed program, removed at the end
    std::wstring journal_;
    std::wstring state_;
    std::wstring arguments_;
    std::string setup_error_;  // what went wrong preparing the case folder, if anything
    PROCESS_INFORMATION process_{};
    DWORD pid_ = 0;
    bool main_seen_ = false;
};

// Texts as the program shows them in each language.
using Texts3 = zavi::Texts;

}  // namespace e2e
