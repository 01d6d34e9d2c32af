#include "app/window_captions.h"

#include <cctype>
#include <string>

#include <gtest/gtest.h>

#include "resources/ids.h"
#include "ui/fake_dialog_view.h"

namespace zavi {
namespace {

constexpr int kLanguageItems[] = {IDM_POLISH, IDM_ENGLISH, IDM_GERMAN};

int checked_items(const FakeDialogView& view) {
    int n = 0;
    for (int id : kLanguageItems) n += view.menu(id).checked ? 1 : 0;
    return n;
}

TEST(ApplyLanguage, CaptionsMenuAndCheckMarkPerLanguage) {
    struct Case {
        uint8_t language;
        int checked;
        const char* refresh;
        const char* thermometer1;
        const char* battery_threshold;
        const char* language_popup;
        const char* polish_item;
        const char* about;
        const char* file_popup;
        const char* connect_again;
    };
    const Case cases[] = {
        {0, IDM_POLISH, "Aktualizuj", "Termometr 1     (°C)", "Stan baterii (%)", "Język", "Polski",
         "O programie", "&Plik", "Połącz ponownie"},
        {1, IDM_ENGLISH, "Refresh", "Thermometer 1     (°C)", "Battery level  (%)", "Language",
         "Polish", "About", "&File", "Connect again"},
        {2, IDM_GERMAN, "Aktualisieren", "Thermometer 1     (°C)", "Akkuzustand (%)", "Sprache",
         "Polnish", "Über", "&Datei", "Erneut verbinden"},
        // A value from outside the program shows German, with the German item checked.
        {7, IDM_GERMAN, "Aktualisieren", "Thermometer 1     (°C)", "Akkuzustand (%)", "Sprache",
         "Polnish", "Über", "&Datei", "Erneut verbinden"},
    };
    for (const Case& c : cases) {
        FakeDialogView view(IDD_MAIN);
        view.set_title(kAppTitle);
        view.set_menu_text(IDM_RESET, "Reset");
        view.set_text(IDC_LABEL_TEMP1, "Temp. 1");
        apply_language(view, c.language);
        SCOPED_TRACE(int(c.language));
        EXPECT_EQ(checked_items(view), 1);
        EXPECT_TRUE(view.menu(c.checked).checked);
        EXPECT_EQ(view.text(IDC_REFRESH), c.refresh);
        EXPECT_EQ(view.text(IDC_THERMO1_LABEL), c.thermometer1);
        EXPECT_EQ(view.text(IDC_BATTERY_THRESHOLD_LABEL), c.battery_threshold);
        EXPECT_EQ(view.text(IDC_T1_HIGH_LABEL), "Temp. high");
        // File, Options and Test come first, so Language is the fourth popup.
        EXPECT_EQ(view.menu_popup(0), c.file_popup);
        EXPECT_EQ(view.menu_popup(3), c.language_popup);
        EXPECT_EQ(view.menu_popup(2), pick_text(c.language, "&Testy", "&Test", "&Prüfung"));
        EXPECT_EQ(view.menu(IDM_CONNECT_AGAIN).text, c.connect_again);
        EXPECT_EQ(view.menu(IDM_POLISH).text, c.polish_item);
        EXPECT_EQ(view.menu(IDM_ABOUT).text, c.about);
        // Never relabelled: the window caption, the Reset entry and the row labels.
        EXPECT_EQ(view.title(), kAppTitle);
        EXPECT_EQ(view.menu(IDM_RESET).text, "Reset");
        EXPECT_EQ(view.text(IDC_LABEL_TEMP1), "Temp. 1");
        EXPECT_EQ(view.menu_redraws(), 1);
    }
}

// Alt + the marked letter of File and of Test opens that menu and nothing else on the menu bar:
// the original entries have no marked letter, so their first letter answers.
TEST(ApplyLanguage, FileAndTestAccessKeysAreTheirOwnOnTheMenuBar) {
    const auto key_of = [](const std::string& text) {
        const std::size_t amp = text.find('&');
        const std::size_t at = amp == std::string::npos ? 0 : amp + 1;
        return at < text.size() ? std::toupper(static_cast<unsigned char>(text[at])) : 0;
    };
    for (uint8_t language : {0, 1, 2}) {
        FakeDialogView view(IDD_MAIN);
        apply_language(view, language);
        const std::string bar[] = {view.menu_popup(0), view.menu_popup(1), view.menu_popup(2),
                                   view.menu_popup(3), view.menu(IDM_ABOUT).text};
        for (int marked : {0, 2}) {
            ASSERT_NE(bar[marked].find('&'), std::string::npos) << bar[marked];
            for (int i = 0; i < 5; ++i) {
                if (i == marked) continue;
                if (i != 0 && i != 2) {
                    EXPECT_EQ(bar[i].find('&'), std::string::npos) << bar[i];
                }
                EXPECT_NE(key_of(bar[i]), key_of(bar[marked]))
                    << int(language) << " " << bar[marked] << " / " << bar[i];
            }
        }
    }
}

TEST(ApplyLanguage, SwitchingBackAndForthKeepsExactlyOneCheck) {
    FakeDialogView view(IDD_MAIN);
    const uint8_t sequence[] = {1, 0, 2, 0, 1, 2, 2, 7, 0};
    for (uint8_t language : sequence) {
        apply_language(view, language);
        EXPECT_EQ(checked_items(view), 1) << int(language);
    }
    EXPECT_TRUE(view.menu(IDM_POLISH).checked);
}

}  // namespace
}  // namespace zavi
