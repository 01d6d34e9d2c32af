#include "app/about_dialog.h"

#include <gtest/gtest.h>

#include "resources/ids.h"
#include "ui/fake_dialog_view.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

TEST(AboutDialog, TextsByLanguage) {
    struct Case {
        uint8_t language;
        const char* title;
        const char* body;
        const char* button;
    };
    const char* polish = "\nZAVI\nALARM-GSM\n\nwersja programu: 1.5";
    const char* english = "\nZAVI\nALARM-GSM\n\nprogram version: 1.5";
    const Case cases[] = {
        {0, "O programie", polish, "Anuluj"},
        {1, "About", english, "Cancel"},
        {2, "Über", english, "Abbrechen"},  // German keeps the English body
        {7, "Über", english, "Abbrechen"},
    };
    for (const Case& c : cases) {
        ui_language = c.language;
        AboutDialog about;
        FakeDialogView view(IDD_ABOUT, &about);
        view.set_text(IDC_ABOUT_NOTICE, "notice");
        view.init();
        EXPECT_EQ(view.title(), c.title) << int(c.language);
        EXPECT_EQ(view.text(IDC_ABOUT_TEXT), c.body) << int(c.language);
        EXPECT_EQ(view.text(IDC_ABOUT_CLOSE), c.button) << int(c.language);
        EXPECT_EQ(view.text(IDC_ABOUT_NOTICE), "notice");
    }
}

TEST(AboutDialog, OnlyTheButtonAndTheCloseBoxClose) {
    ui_language = 1;
    AboutDialog about;
    FakeDialogView view(IDD_ABOUT, &about);
    view.init();
    view.press_escape();
    view.command(IDC_ABOUT_NOTICE, 0);  // statics: only a raw command can carry their IDs
    view.command(IDC_ABOUT_TEXT, 0);
    EXPECT_FALSE(view.is_closed());
    view.click(IDC_ABOUT_CLOSE);
    EXPECT_TRUE(view.is_closed());

    FakeDialogView second(IDD_ABOUT, &about);
    second.init();
    second.press_close_box();
    EXPECT_TRUE(second.is_closed());
}

}  // namespace
}  // namespace zavi
