// The differences dialog: only the buttons that act, and the list in the user's language.
#include "app/differences_dialog.h"

#include <gtest/gtest.h>

#include "resources/ids.h"
#include "tests/config/config_sample.h"
#include "ui/fake_dialog_view.h"
#include "ui/language.h"

namespace zavi {
namespace {

TEST(DifferencesDialog, CompareHasOnlyCloseAndRestoreHasRestoreAndCancel) {
    config::Configuration module = config::test::sample_configuration(), file = module;
    file.alarm_settings.t1_high = 35;
    file.accepted_numbers.push_back("48600100300");
    struct Case {
        const char* name;
        bool for_restore;
        uint8_t language;
        const char* ok;
        bool cancel_shown;
        const char* list;
    };
    const Case cases[] = {
        {"compare, German", false, kGerman, "Schließen", false,
         "Thermometer 1, oberer Grenzwert: 30 °C → 35 °C\r\n"
         "Akzeptierte Telefonnummern: +48600100300 hinzugefügt"},
        {"restore, Polish", true, kPolish, "Przywróć...", true,
         "Termometr 1, próg górny: 30 °C → 35 °C\r\nAkceptowane numery: +48600100300 dodany"},
    };
    const uint8_t saved = ui_language;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui_language = c.language;
        DifferencesDialog logic(config::compare(module, file), c.for_restore);
        FakeDialogView view(IDD_DIFFERENCES, &logic);
        view.init();
        EXPECT_EQ(view.text(IDC_DIFF_OK), c.ok);
        EXPECT_EQ(view.visible(IDC_DIFF_CANCEL), c.cancel_shown);
        EXPECT_EQ(view.text(IDC_DIFF_LIST), c.list);
        // A hidden Cancel takes no click; a shown one closes without accepting.
        view.click(IDC_DIFF_CANCEL);
        EXPECT_EQ(view.is_closed(), c.cancel_shown);
        EXPECT_FALSE(logic.accepted());
    }
    ui_language = saved;
}

}  // namespace
}  // namespace zavi
