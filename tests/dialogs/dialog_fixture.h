// A configuration dialog against one simulated module: the record is read first, as the main
// window does before it opens the dialog, then the dialog opens in a FakeDialogView.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/support/sim_fixture.h"
#include "ui/fake_dialog_view.h"
#include "ui/ui_language.h"

namespace zavi::test {

using Bytes = std::vector<uint8_t>;

class DialogTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        saved_language_ = ui_language;
        ui_language = kEnglish;
    }
    void TearDown() override {
        view_.reset();
        ui_language = saved_language_;
        SimTest::TearDown();
    }

    // Runs `read`, which must succeed, then opens `logic` in a view of template `template_id`.
    // The journal starts empty afterwards.
    FakeDialogView& open(int template_id, DialogLogic& logic, LinkResult (*read)(DriverHandle)) {
        EXPECT_EQ(read(device_handle), LinkResult::ok);
        sim().clear_journal();
        view_ = std::make_unique<FakeDialogView>(template_id, &logic);
        view_->init();
        return *view_;
    }

    FakeDialogView& view() { return *view_; }

    // The data of every request with `command` the module received since the dialog opened;
    // each must be a frame the module accepts.
    std::vector<Bytes> sent(uint8_t command) const {
        std::vector<Bytes> out;
        for (const sim::JournalEntry& e : frames(command)) {
            EXPECT_TRUE(e.valid) << "command " << int(command);
            out.push_back(e.data);
        }
        return out;
    }

    // Exactly one box was shown: `text`, the program's title, error icon, OK only.
    void expect_only_error_box(const std::string& text) {
        ASSERT_EQ(view_->messages().size(), 1u);
        const FakeDialogView::Message& m = view_->messages()[0];
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.title, kAppTitle);
        EXPECT_EQ(m.icon, MessageIcon::error);
        EXPECT_EQ(m.buttons, MessageButtons::ok);
    }

    // The items of a list, in order.
    std::vector<std::string> items(int list) const {
        std::vector<std::string> out;
        for (int i = 0; i < view_->item_count(list); ++i) out.push_back(view_->item_text(list, i));
        return out;
    }

  private:
    std::unique_ptr<FakeDialogView> view_;
    uint8_t saved_language_ = kEnglish;
};

}  // namespace zavi::test
