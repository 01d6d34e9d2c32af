// The fake view knows the controls of its template: an ID from another dialog, or an operation
// meant for another kind of control, fails at once and says which ID and which template.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "resources/ids.h"
#include "ui/fake_dialog_view.h"

namespace zavi {
namespace {

TEST(FakeDialogView, RefusesWhatTheTemplateDoesNotHave) {
    const struct {
        int template_id;
        std::function<void(FakeDialogView&)> use;
        const char* message;  // empty: allowed
    } cases[] = {
        // 40001 is Save here, Cancel in Answer for Call and Auto-Reset, a name edit elsewhere.
        {IDD_ACTIONS, [](FakeDialogView& v) { v.set_text(40001, "Save"); }, ""},
        {IDD_PIN_PUK, [](FakeDialogView& v) { v.set_text(40001, "Save"); },
         "IDD_PIN_PUK has no control 40001"},
        {IDD_CALL_ANSWER, [](FakeDialogView& v) { v.select_item(IDC_CALL_OUT1, 0); }, ""},
        {IDD_CALL_ANSWER, [](FakeDialogView& v) { v.checked(IDC_CALL_OUT1); },
         "IDD_CALL_ANSWER: control 40002 is of kind list"},
        {IDD_CALL_ANSWER, [](FakeDialogView& v) { v.toggle(IDC_CALL_SMS); }, ""},
        {IDD_AUTO_STATUS, [](FakeDialogView& v) { v.choose(IDC_AUTO_STATUS_SMS, 1); },
         "IDD_AUTO_STATUS: control 40006 is of kind check box"},
        {IDD_ADD_NUMBER, [](FakeDialogView& v) { v.type(IDC_ADD_LABEL, "1"); },
         "IDD_ADD_NUMBER: control 40103 is of kind static text"},
        {IDD_MAIN, [](FakeDialogView& v) { v.set_updown_position(IDC_T1_HIGH_EDIT, 3); },
         "IDD_MAIN: control 1021 is of kind edit"},
        {IDD_MAIN, [](FakeDialogView& v) { v.set_progress_position(IDC_BATTERY_BAR, 3); }, ""},
        // 40003 is an up-down and a menu entry of the main window: a click is the menu's.
        {IDD_MAIN, [](FakeDialogView& v) { v.click(IDM_CALL_ANSWER); }, ""},
        {IDD_MAIN, [](FakeDialogView& v) { v.set_menu_checked(IDM_ENGLISH, true); }, ""},
        {IDD_ABOUT, [](FakeDialogView& v) { v.set_menu_checked(IDM_ENGLISH, true); },
         "IDD_ABOUT has no menu command 40029"},
        {IDD_ABOUT, [](FakeDialogView& v) { v.click(IDC_ABOUT_TEXT); },
         "IDD_ABOUT: control 1103 is of kind static text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        FakeDialogView view(c.template_id);
        try {
            c.use(view);
            EXPECT_STREQ(c.message, "");
        } catch (const std::logic_error& e) {
            EXPECT_NE(c.message[0], '\0') << e.what();
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
}

TEST(FakeDialogView, OnlyTemplatesOfTheProgram) {
    EXPECT_THROW(FakeDialogView(4242), std::logic_error);
}

}  // namespace
}  // namespace zavi
