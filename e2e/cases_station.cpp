// The setup station under Wine: modules plugged in one after another (the simulated library's
// scenario changes between them), one with other firmware, one unplugged during the writes.
#include <string>

#include "commission/sha256.h"
#include "e2e/history_files.h"
#include "e2e/journal.h"
#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"
#include "sim/demo_scenario.h"

namespace e2e {
namespace {

constexpr int kFileNameCombo = 1148;

std::string narrow(const std::wstring& wide) {
    char out[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, out, sizeof out, nullptr, nullptr);
    return out;
}

bool starts_with(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

// Waits until the station's large text starts with `start`.
bool result_is(HWND station, const std::string& start, DWORD ms = 3 * kJobMs) {
    return wait_until([&] { return starts_with(item_text(station, IDC_ST_RESULT), start); }, ms);
}

// CPU time of the process (user + kernel), in 100 ns units.
unsigned long long cpu_time(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    const auto value = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return value(kernel) + value(user);
}

std::size_t writes_now(const Session& session) {
    return writes(session.journal()).size();
}

// The result folders the station's list names, in its order ("001   PASS   -   C:\...").
std::vector<std::string> listed_folders(HWND station) {
    std::vector<std::string> folders;
    const std::string list = item_text(station, IDC_ST_LIST);
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find("\r\n", start);
        if (end == std::string::npos) end = list.size();
        const std::string line = list.substr(start, end - start);
        const std::size_t at = line.rfind("   ");
        if (at != std::string::npos) folders.push_back(line.substr(at + 3));
        start = end + 2;
    }
    return folders;
}

// The history entries added since `from`, without the Backup the case began with.
std::vector<zavi::fleet::HistoryEntry> station_entries(std::size_t from) {
    std::vector<zavi::fleet::HistoryEntry> all = history_entries(), out;
    for (std::size_t i = from; i < all.size(); ++i)
        if (all[i].operation == "station") out.push_back(all[i]);
    return out;
}

// Saves the module's backup (without SIM codes) as `file` through File -> Back up.
bool back_up(Session& session, HWND main, const std::wstring& file) {
    PendingSend* backup = command(main, IDM_BACKUP);
    HWND question = session.wait_dialog(IDNO, main);
    if (!CHECK(question != nullptr)) return false;
    PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    HWND save = session.wait_dialog(kFileNameCombo, main);
    if (!CHECK(save != nullptr)) return false;
    SendMessageW(GetDlgItem(save, kFileNameCombo), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(file.c_str()));
    PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (auto box = session.wait_message_box(kJobMs, main)) session.press_ok(*box);
    CHECK(backup->wait(kJobMs));
    return true;
}

}  // namespace

E2E_CASE(station_pass_fail_pass_then_unplugged_during_the_writes) {
    SessionSetup setup = demo_setup();
    Session session("station_pass_fail_pass_then_unplugged_during_the_writes", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;

    // The file: a backup of the demo module.
    const std::wstring file = session.folder() + L"\\station.zavi.json";
    if (!back_up(session, main, file)) return;

    zavi::sim::Scenario none = setup.scenario;
    none.modules.clear();
    CHECK(session.change_scenario(none));
    PendingSend* open = command(main, IDM_STATION);
    HWND station = session.wait_dialog(IDC_ST_BEGIN, main);
    if (!CHECK(station != nullptr)) return;
    type_text(station, IDC_ST_FILE, narrow(file));
    type_text(station, IDC_ST_FOLDER, narrow(session.folder() + L"\\results"));
    click(station, IDC_ST_BEGIN);
    CHECK(result_is(station, "Waiting for a module"));
    session.screenshot(station, "station_waiting_en");

    // Waiting costs less than 1 % of a core: the program's CPU time over 5 s of waiting.
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, session.pid());
    if (CHECK(process != nullptr)) {
        const unsigned long long c0 = cpu_time(process);
        const ULONGLONG t0 = GetTickCount64();
        Sleep(5000);
        const double used = static_cast<double>(cpu_time(process) - c0) / 1e4;  // ms
        const double percent = 100.0 * used / static_cast<double>(GetTickCount64() - t0);
        note("CPU while waiting: " + std::to_string(percent) + " % of a core; " +
             std::to_string(c0 / 10000) + " ms used before");
        // A process that has started and read a module has used CPU time: zero would mean the
        // times cannot be read, and the measure says nothing.
        CHECK(c0 > 0);
        CHECK(percent < 1.0);
        CloseHandle(process);
    }

    // Each module has its own USB serial number, which names its history.
    const std::size_t history_before = history_entries().size();
    zavi::sim::Scenario differs = setup.scenario;
    differs.modules[0].state.auto_reset = 4;
    differs.modules[0].serial = "STA00001";
    zavi::sim::Scenario wrong = setup.scenario;
    wrong.modules[0].state.firmware = "ZAVI-GSM v1.6";
    wrong.modules[0].serial = "STA00002";
    zavi::sim::Scenario third = differs;
    third.modules[0].serial = "STA00003";
    const struct {
        const char* what;
        const zavi::sim::Scenario* module;
        const char* result;
        const char* shot;
    } rows[] = {{"first", &differs, "PASS", "station_pass_en"},
                {"wrong firmware", &wrong, "FAIL", "station_fail_firmware_en"},
                {"third", &third, "PASS", nullptr}};
    for (const auto& row : rows) {
        Context context(row.what);
        const std::size_t before = writes_now(session);
        CHECK(session.change_scenario(*row.module));
        CHECK(result_is(station, row.result));
        if (row.shot) session.screenshot(station, row.shot);
        if (row.module == &wrong)
            CHECK_EQ(static_cast<long long>(writes_now(session)), static_cast<long long>(before));
        else
            CHECK(writes_now(session) > before);
        CHECK(session.change_scenario(none));
        CHECK(result_is(station, "Waiting for a module"));
    }
    CHECK_EQ(item_text(station, IDC_ST_COUNTER), "Done: 2      Failed: 1");

    // PASS, FAIL, PASS: each pass kept its copy under its module's serial number, the refused
    // module none; each pass folder holds the report that names the configuration beside it.
    const std::vector<zavi::fleet::HistoryEntry> kept = station_entries(history_before);
    if (CHECK_EQ(kept.size(), static_cast<std::size_t>(2))) {
        const char* serials[] = {"STA00001", "STA00003"};
        for (std::size_t i = 0; i < 2; ++i) {
            CHECK_EQ(kept[i].identity, std::string(serials[i]));
            CHECK_EQ(kept[i].result, std::string("verified"));
            CHECK_EQ(kept[i].site, std::string());
            CHECK(!file_bytes(history_folder() + "\\" + kept[i].file).empty());
        }
    }
    const std::vector<std::string> folders = listed_folders(station);
    if (CHECK_EQ(folders.size(), static_cast<std::size_t>(3))) {
        for (std::size_t i : {0u, 2u}) {
            Context folder(folders[i]);
            const std::string after = file_bytes(folders[i] + "\\after.zavi.json");
            const std::string report = file_bytes(folders[i] + "\\report.html");
            CHECK(!after.empty());
            CHECK(report.find(zavi::commission::sha256_hex(after)) != std::string::npos);
            CHECK(report.find("after.zavi.json") != std::string::npos);
        }
        CHECK(file_bytes(folders[1] + "\\before.zavi.json").empty());
        CHECK(file_bytes(folders[1] + "\\report.html").empty());
        CHECK(!file_bytes(folders[1] + "\\result.txt").empty());
    }

    // Unplugged during the writes: FAIL with the backup's path, and the station waits on.
    zavi::sim::Scenario pulled = differs;
    zavi::sim::Fault unplug;
    unplug.kind = zavi::sim::FaultKind::unplug;
    unplug.command = 21;  // the auto reset write
    pulled.modules[0].faults = {unplug};
    CHECK(session.change_scenario(pulled));
    CHECK(result_is(station, "FAIL"));
    // Read at once: the station looks again within a second, finds the module gone and waits
    // for the next one.
    const std::string reason = item_text(station, IDC_ST_REASON);
    session.screenshot(station, "station_fail_unplugged_en");
    CHECK(reason.find("before.zavi.json") != std::string::npos);
    CHECK(session.change_scenario(none));
    CHECK(result_is(station, "Waiting for a module"));
    CHECK_EQ(item_text(station, IDC_ST_COUNTER), "Done: 2      Failed: 2");
    // The cut-off module's copy is what was sent, and says so.
    const std::vector<zavi::fleet::HistoryEntry> now = station_entries(history_before);
    if (CHECK_EQ(now.size(), static_cast<std::size_t>(3))) {
        CHECK_EQ(now[2].identity, std::string("STA00001"));
        CHECK_EQ(now[2].result, std::string("write-failed"));
    }

    click(station, IDC_ST_CLOSE);
    CHECK(open->wait(kJobMs));
    close_cleanly(session, main);
}

// The station's window in Polish and German: waiting, a PASS and a FAIL (other firmware).
E2E_CASE(station_in_polish_and_german) {
    SessionSetup setup = demo_setup();
    Session session("station_in_polish_and_german", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    const std::wstring file = session.folder() + L"\\station.zavi.json";
    if (!back_up(session, main, file)) return;
    zavi::sim::Scenario none = setup.scenario;
    none.modules.clear();
    zavi::sim::Scenario differs = setup.scenario;
    differs.modules[0].state.auto_reset = 4;
    zavi::sim::Scenario wrong = setup.scenario;
    wrong.modules[0].state.firmware = "ZAVI-GSM v1.6";
    const struct {
        int item;
        const char* suffix;
        const char* waiting;
    } languages[] = {{IDM_POLISH, "pl", "Czekam na modu\xC5\x82"},
                     {IDM_GERMAN, "de", "Warte auf ein Modul"}};
    for (const auto& l : languages) {
        Context row(l.suffix);
        const std::string suffix = l.suffix;
        CHECK(command(main, l.item)->wait(kJobMs));
        CHECK(session.change_scenario(none));
        PendingSend* open = command(main, IDM_STATION);
        HWND station = session.wait_dialog(IDC_ST_BEGIN, main);
        if (!CHECK(station != nullptr)) return;
        type_text(station, IDC_ST_FILE, narrow(file));
        type_text(station, IDC_ST_FOLDER, narrow(session.folder() + L"\\results") + "-" + suffix);
        click(station, IDC_ST_BEGIN);
        CHECK(result_is(station, l.waiting));
        session.screenshot(station, "station_waiting_" + suffix);
        CHECK(session.change_scenario(differs));
        CHECK(result_is(station, "PASS"));
        session.screenshot(station, "station_pass_" + suffix);
        CHECK(session.change_scenario(none));
        CHECK(result_is(station, l.waiting));
        CHECK(session.change_scenario(wrong));
        CHECK(result_is(station, "FAIL"));
        session.screenshot(station, "station_fail_" + suffix);
        CHECK(session.change_scenario(none));
        CHECK(result_is(station, l.waiting));
        click(station, IDC_ST_CLOSE);
        CHECK(open->wait(kJobMs));
    }
    close_cleanly(session, main);
}

}  // namespace e2e
