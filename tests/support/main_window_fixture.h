// Runs the main window against simulated modules, a fake progress-dialog shell and a settings
// file in a fresh temporary folder. Unlike SimTest nothing is opened beforehand: the main window
// counts and opens the modules itself.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "sim/simulator.h"
#include "tests/support/fake_shell.h"
#include "tests/support/temp_dir.h"
#include "ui/fake_dialog_view.h"

namespace zavi::test {

// A dialog logic that only records that it was opened.
class RecordingDialog : public DialogLogic {
  public:
    explicit RecordingDialog(std::vector<int>& opened, int id) : opened_(opened), id_(id) {}
    void on_init(DialogView&) override { opened_.push_back(id_); }
    void on_command(DialogView&, int, int) override {}

  private:
    std::vector<int>& opened_;
    int id_;
};

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the simulated modules of `scenario`, then opens the main window with `usb` as the
    // process's driver (null: no driver library).
    void make_sim(sim::Scenario scenario);
    void open_window(Driver* usb);
    // Both in one, with the simulated modules as the driver.
    void start(sim::Scenario scenario) {
        make_sim(std::move(scenario));
        open_window(sim_.get());
    }
    void start_default() { start(sim::Scenario{}); }

    sim::SimDriver& sim() { return *sim_; }
    FakeDialogView& view() { return *view_; }
    // Command codes the modules received, in order.
    std::vector<int> commands() const;
    // Requests of `command` that the modules received.
    std::vector<sim::JournalEntry> requests(int command) const;
    std::string settings_bytes() const { return read_file(settings_path); }
    // Exactly one message box was shown, with this text and icon, OK only.
    void expect_only_box(const std::string& text, MessageIcon icon, const char* title = kAppTitle);

    TempDir dir;
    std::string settings_path = dir.file("config.db");
    std::string backup_folder = dir.file("backups");  // of the automatic backup of a restore
    FakeShell shell;
    std::vector<int> factory_calls;  // templates the factory was asked for
    std::vector<int> opened;         // dialogs whose logic was initialised
    bool factory_returns_null = false;
    // When set, the main window gets its dialogs from here instead of RecordingDialog.
    OptionsDialogFactory dialog_factory;

  private:
    std::unique_ptr<sim::SimDriver> sim_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<FakeDialogView> view_;
};

}  // namespace zavi::test
