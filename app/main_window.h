// The main window (dialog 1000): start-up, device discovery, first read, command routing and
// the orderly end. Lives for the whole run; the process ends when it closes.
#pragma once

#include "app/shell.h"
#include "link/driver.h"
#include "ui/dialog_view.h"

namespace zavi {

// The one module the program talks to; null while none is open.
extern DriverHandle device_handle;

class MainWindow : public DialogLogic {
public:
    // `settings_path` is "config.db" in the program; tests point it into a temporary folder.
    explicit MainWindow(Shell& shell, const char* settings_path = "config.db");

    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;
    void on_close(DialogView& view) override;

private:
    Shell& shell_;
    const char* settings_path_;
};

}  // namespace zavi
