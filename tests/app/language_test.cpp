#include "app/language.h"

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
        // The File menu comes first, so Language is the third popup.
        EXPECT_EQ(view.menu_popup(0), c.file_popup);
        EXPECT_EQ(view.menu_popup(2), c.language_popup);
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

// Alt + the File menu's marked letter opens File and nothing else on the menu bar: the other
// entries have no marked letter, so their first letter answers.
TEST(ApplyLanguage, FileAccessKeyIsItsOwnOnTheMenuBar) {
    for (uint8_t language : {0, 1, 2}) {
        FakeDialogView view(IDD_MAIN);
        apply_language(view, language);
        const std::string file = view.menu_popup(0);
        const std::size_t amp = file.find('&');
        ASSERT_NE(amp, std::string::npos) << int(language);
        ASSERT_LT(amp + 1, file.size());
        const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(file[amp + 1])));
        for (const std::string& other :
             {view.menu_popup(1), view.menu_popup(2), view.menu(IDM_ABOUT).text}) {
            EXPECT_EQ(other.find('&'), std::string::npos) << other;
            EXPECT_NE(std::toupper(static_cast<unsigned char>(other[0])), key)
                << int(language) << " " << other;
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
