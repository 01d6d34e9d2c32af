#include "tests/support/main_window_fixture.h"

#include "link/connection.h"
#include "link/driver.h"
#include "link/records.h"
#include "resources/ids.h"
#include "ui/ui_language.h"

namespace zavi::test {

void MainWindowTest::SetUp() {
    reset_all_records();
    device_handle = nullptr;
    ui_language = 0x55;
}

void MainWindowTest::TearDown() {
    view_.reset();
    window_.reset();
    set_driver(nullptr);
    sim_.reset();
    device_handle = nullptr;
    reset_all_records();
    ui_language = 1;
}

void MainWindowTest::make_sim(sim::Scenario scenario) {
    sim_ = std::make_unique<sim::SimDriver>(std::move(scenario));
}

void MainWindowTest::open_window(Driver* usb) {
    set_driver(usb);
    window_ = std::make_unique<MainWindow>(
        shell,
        [this](int template_id, FileChooser* files) -> std::unique_ptr<DialogLogic> {
            factory_calls.push_back(template_id);
            if (factory_returns_null) return nullptr;
            if (dialog_factory) return dialog_factory(template_id, files);
            return std::make_unique<RecordingDialog>(opened, template_id);
        },
        settings_path.c_str());
    window_->set_backup_folder(backup_folder);
    view_ = std::make_unique<FakeDialogView>(IDD_MAIN, window_.get());
    shell.deliver_live = [this] { view_->command(IDC_LIVE_CYCLE, 0); };
    if (sim_)
        shell.live_pace = {[this] { return sim_->now_us(); },
                           [this](uint64_t us) { sim_->pass_time(us); }};
    view_->init();
}

void MainWindowTest::expect_only_box(const std::string& text, MessageIcon icon, const char* title) {
    ASSERT_EQ(view_->messages().size(), 1u);
    const FakeDialogView::Message& m = view_->messages()[0];
    EXPECT_EQ(m.text, text);
    EXPECT_EQ(m.title, title);
    EXPECT_EQ(m.icon, icon);
    EXPECT_EQ(m.buttons, MessageButtons::ok);
}

std::vector<int> MainWindowTest::commands() const {
    std::vector<int> out;
    for (const sim::JournalEntry& e : sim_->journal()) out.push_back(e.command);
    return out;
}

std::vector<sim::JournalEntry> MainWindowTest::requests(int command) const {
    std::vector<sim::JournalEntry> out;
    for (const sim::JournalEntry& e : sim_->journal()) {
        if (e.command == command) out.push_back(e);
    }
    return out;
}

}  // namespace zavi::test
