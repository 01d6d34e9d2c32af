#include "win32/worker_shell.h"

#include "app/language.h"
#include "app/worker_job.h"
#include "link/connection.h"
#include "resources/ids.h"
#include "win32/wide_text.h"

namespace zavi {

namespace {

// Stored by the progress dialog on every message so that the worker addresses the current one.
HWND progress_dialog = nullptr;
// Set when the worker has reported. Until then the dialog refuses to close: the main window
// must not go on while the worker still uses the module and the device records.
bool worker_done = false;

DWORD WINAPI worker_thread(LPVOID) {
    worker_result = run_job_operations(worker_job, device_handle);
    // Synchronous: worker_result is written before the user-interface thread reads it.
    SendMessageW(progress_dialog, WM_WORKER_DONE, 1, 0);
    return 0;
}

INT_PTR CALLBACK progress_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    progress_dialog = dialog;
    switch (message) {
        case WM_INITDIALOG: {
            SetDlgItemTextW(dialog, IDC_PROGRESS_TEXT, to_wide(progress_text(ui_language)).c_str());
            DWORD thread_id = 0;
            HANDLE thread = CreateThread(nullptr, 0, worker_thread, nullptr, 0, &thread_id);
            if (thread) {
                CloseHandle(thread);  // nothing waits on it; it ends after reporting
            } else {
                // No thread, no report: fail the job instead of waiting for ever.
                worker_result = kFailed;
                worker_job = JOB_NONE;
                worker_done = true;
                EndDialog(dialog, 0);
            }
            return TRUE;
        }
        case WM_WORKER_DONE:
            if (LOWORD(wparam) == 1) {
                worker_job = JOB_NONE;
                worker_done = true;
                SendMessageW(dialog, WM_CLOSE, 0, 0);
            }
            return TRUE;
        case WM_CLOSE:
            if (worker_done) EndDialog(dialog, 0);  // Alt+F4 while the job runs is ignored
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

uint8_t Win32Shell::run_worker_job(WorkerJob job) {
    worker_job = job;
    worker_done = false;
    const INT_PTR shown =
        DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_PROGRESS), owner_, progress_dialog_proc, 0);
    if (shown == -1) {  // the dialog could not be created, so the job never ran
        worker_job = JOB_NONE;
        return kFailed;
    }
    return worker_result;
}

}  // namespace zavi
