#include "win32/worker_shell.h"

#include <commdlg.h>

#include <atomic>
#include <ctime>
#include <iterator>
#include <string>

#include "app/live_status.h"
#include "app/worker_job.h"
#include "link/connection.h"
#include "resources/ids.h"
#include "ui/suggested_file_name.h"
#include "ui/ui_language.h"
#include "win32/com_driver.h"
#include "win32/wide_text.h"

namespace zavi {

// One job behind the progress dialog, on the stack of run_worker_job; the dialog and the worker
// thread get it as their parameter.
struct WorkerRun {
    WorkerJob job;
    const WorkerTask& task;
    LinkResult result = LinkResult::failed;
    // Set when the worker has reported. Until then the dialog refuses to close: the main window
    // must not go on while the worker still uses the module and the device records.
    bool done = false;
    HWND dialog = nullptr;
    HANDLE thread = nullptr;  // kept until it has ended
};

namespace {

DWORD WINAPI worker_thread(LPVOID parameter) {
    WorkerRun& run = *static_cast<WorkerRun*>(parameter);
    const HWND dialog = run.dialog;
    // The worker tells its steps; the text is set by a message sent to the dialog's thread,
    // which the dialog's loop (or wait_for_job) takes while the worker waits.
    run.result =
        run_job_operations(run.job, device_handle, run.task, [dialog](const std::string& text) {
            SetDlgItemTextW(dialog, IDC_PROGRESS_TEXT, to_wide(text).c_str());
        });
    // Synchronous: the result is written before the user-interface thread reads it.
    SendMessageW(dialog, WM_WORKER_DONE, 1, 0);
    return 0;
}

INT_PTR CALLBACK progress_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    WorkerRun* run = reinterpret_cast<WorkerRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!run) return FALSE;  // the messages before WM_INITDIALOG
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextW(dialog, IDC_PROGRESS_TEXT, to_wide(progress_text(ui_language)).c_str());
            run->dialog = dialog;
            run->thread = CreateThread(nullptr, 0, worker_thread, run, 0, nullptr);
            if (!run->thread) {
                // No thread, no report: fail the job instead of waiting for ever.
                run->result = LinkResult::failed;
                run->done = true;
                EndDialog(dialog, 0);
            }
            return TRUE;
        case WM_WORKER_DONE:
            if (LOWORD(wparam) == 1) {
                run->done = true;
                SendMessageW(dialog, WM_CLOSE, 0, 0);
            }
            return TRUE;
        case WM_CLOSE:
            if (run->done) EndDialog(dialog, 0);  // Alt+F4 while the job runs is ignored
            return TRUE;
        default:
            return FALSE;
    }
}

// The live-status worker, its stop flag, its interval and the window it reports to.
HANDLE live_worker = nullptr;
std::atomic<bool> live_stop{false};
uint64_t live_interval_us = 0;
LiveParts live_parts = LiveParts::all;
LiveCycle* live_cycle = nullptr;  // the window's
HWND live_window = nullptr;

DWORD WINAPI live_thread(LPVOID) {
    // Synchronous: the window reads device_status while this thread waits.
    const auto deliver = [] {
        SendMessageW(live_window, WM_COMMAND, MAKEWPARAM(IDC_LIVE_CYCLE, 0), 0);
    };
    if (live_parts == LiveParts::signal)
        run_signal_samples(device_handle, live_stop, *live_cycle, deliver);
    else
        run_live_status(device_handle, live_interval_us, live_stop, commission::real_pace(),
                        *live_cycle, deliver);
    return 0;
}

// Waits for `thread` while taking the messages it sends, so that it can finish its cycle.
void wait_taking_sent_messages(HANDLE thread) {
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) !=
           WAIT_OBJECT_0) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
}

}  // namespace

bool Win32Shell::start_live(uint64_t interval_us, LiveParts parts, LiveCycle* cycle) {
    stop_live();
    live_stop = false;
    live_interval_us = interval_us;
    live_parts = parts;
    live_cycle = cycle;
    live_window = owner_;
    live_worker = CreateThread(nullptr, 0, live_thread, nullptr, 0, nullptr);
    return live_worker != nullptr;
}

void Win32Shell::stop_live() {
    if (!live_worker) return;
    live_stop = true;
    wait_taking_sent_messages(live_worker);
    CloseHandle(live_worker);
    live_worker = nullptr;
}

LinkResult Win32Shell::run_worker_job(WorkerJob job, const WorkerTask& task) {
    WorkerRun run{job, task};
    running_ = &run;
    const INT_PTR shown = DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_PROGRESS), owner_,
                                          progress_dialog_proc, reinterpret_cast<LPARAM>(&run));
    if (run.thread) {  // it has reported and only has to return
        WaitForSingleObject(run.thread, INFINITE);
        CloseHandle(run.thread);
    }
    running_ = nullptr;
    // A dialog that could not be created ran no job.
    return shown == -1 ? LinkResult::failed : run.result;
}

bool Win32Shell::choose_file(FileKind kind, bool save, std::string* path) {
    wchar_t name[MAX_PATH * 2] = L"";
    if (save) {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        if (localtime_s(&local, &now) == 0)
            to_wide(suggested_file_name(kind, local)).copy(name, std::size(name) - 1);
    }
    // Pairs of description and pattern, each ended by a NUL, and an empty pair at the end; the
    // descriptions in the user's language.
    const uint8_t l = ui_language;
    std::wstring filter;
    const auto add = [&filter](const char* description, const wchar_t* pattern) {
        filter += to_wide(description) + L" (" + pattern + L")";
        filter.push_back(L'\0');
        filter += pattern;
        filter.push_back(L'\0');
    };
    if (kind == FileKind::configuration)
        add(pick_text(l, "Konfiguracja ZAVI-GSM", "ZAVI-GSM configuration",
                      "ZAVI-GSM-Konfiguration"),
            L"*.zavi.json");
    else if (kind == FileKind::survey_csv)
        add(pick_text(l, "Pomiar sygnału CSV", "Signal survey CSV", "Signalmessung CSV"), L"*.csv");
    else if (kind == FileKind::report_html)
        add(pick_text(l, "Protokół HTML", "HTML report", "HTML-Protokoll"), L"*.html");
    else
        add(pick_text(l, "Lista numerów CSV", "CSV list of numbers", "CSV-Nummernliste"), L"*.csv");
    add(pick_text(l, "Wszystkie pliki", "All files", "Alle Dateien"), L"*.*");
    filter.push_back(L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    // Owned by the window in front (a dialog of the main window, say), so that it stays modal.
    HWND active = GetActiveWindow();
    ofn.hwndOwner = active ? active : owner_;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = name;
    ofn.nMaxFile = static_cast<DWORD>(std::size(name));
    ofn.lpstrDefExt = kind == FileKind::configuration ? L"zavi.json"
                      : kind == FileKind::report_html ? L"html"
                                                      : L"csv";
    ofn.Flags = OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn))) return false;
    *path = from_wide(name);
    return true;
}

std::string Win32Shell::connection_kind() const {
    if (module_driver_.route == ModuleRoute::usb_library) return "D2XX";
    // Through COM ports: the port of the module that discovery settled on.
    const ComDriver* com = module_driver_.com;
    return com && device_handle ? com->port_of(device_handle) : std::string();
}

ModuleIdentity Win32Shell::module_identity(DriverHandle handle) const {
    return identify_module(module_driver_, handle);
}

bool Win32Shell::no_ftdi_com_port() const {
    return module_driver_.route == ModuleRoute::none && !module_driver_.bad_option;
}

void Win32Shell::wait_for_job() {
    // The worker reports by a sent message, so sent messages are taken while waiting.
    if (running_ && running_->thread) wait_taking_sent_messages(running_->thread);
}

}  // namespace zavi
