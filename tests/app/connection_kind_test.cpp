// The way to the module as the user sees it: the driver-missing message when no FTDI COM port
// was found either, and the connection line of the About box.
#include <string>

#include <gtest/gtest.h>

#include "app/about_dialog.h"
#include "resources/ids.h"
#include "tests/support/main_window_fixture.h"
#include "ui/fake_dialog_view.h"
#include "ui/ui_language.h"

namespace zavi::test {
namespace {

class ConnectionKind : public MainWindowTest {
  protected:
    void TearDown() override {
        shell.no_ftdi_com_port_found = false;
        shell.connection = nullptr;
        MainWindowTest::TearDown();
    }
};

TEST_F(ConnectionKind, DriverMissingMessageSaysNoComPortWasFoundEither) {
    struct Case {
        std::string file;
        bool searched;
        const char* text;
    } const cases[] = {
        {std::string("\x00", 1), true,
         "Sterownik USB FTD2XX.dll nie jest zainstalowany.\nNie znaleziono też portu COM FTDI.\n\n"
         "Zainstaluj sterownik USB modułu ZAVI-GSM i uruchom program ponownie."},
        {"\x01", true,
         "The USB driver FTD2XX.dll is not installed.\nNo FTDI COM port was found either.\n\n"
         "Please install the USB driver of the ZAVI-GSM module and start the program again."},
        {"\x02", true,
         "Der USB-Treiber FTD2XX.dll ist nicht installiert.\nEs wurde auch kein "
         "FTDI-COM-Anschluss gefunden.\n\nBitte installieren Sie den USB-Treiber des "
         "ZAVI-GSM-Moduls und starten Sie das Programm erneut."},
        // Not looked for: the message as it always was.
        {"\x01", false,
         "The USB driver FTD2XX.dll is not installed.\n\n"
         "Please install the USB driver of the ZAVI-GSM module and start the program again."},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        shell.no_ftdi_com_port_found = c.searched;
        write_file(settings_path, c.file);
        make_sim(sim::Scenario{});
        open_window(nullptr);
        ASSERT_EQ(view().messages().size(), 1u);
        EXPECT_EQ(view().messages()[0].text, c.text);
        EXPECT_TRUE(view().is_closed());
    }
}

std::string com5() {
    return "COM5";
}
std::string long_path() {
    return "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
}

TEST_F(ConnectionKind, AboutBoxNamesTheConnection) {
    struct Case {
        uint8_t language;
        std::string (*source)();
        const char* body;
    } const cases[] = {
        {0, com5, "\nZAVI\nALARM-GSM\n\nwersja programu: 1.5\npołączenie: COM5"},
        {1, com5, "\nZAVI\nALARM-GSM\n\nprogram version: 1.5\nconnection: COM5"},
        {2, com5, "\nZAVI\nALARM-GSM\n\nprogram version: 1.5\nVerbindung: COM5"},
        {1, nullptr, "\nZAVI\nALARM-GSM\n\nprogram version: 1.5"},
        // A long name is cut to what the box can show.
        {1, long_path,
         "\nZAVI\nALARM-GSM\n\nprogram version: 1.5\nconnection: /dev/serial/by-id/usb-FT"},
    };
    for (const Case& c : cases) {
        ui_language = c.language;
        AboutDialog about(c.source ? c.source() : "");
        FakeDialogView view(IDD_ABOUT, &about);
        view.init();
        EXPECT_EQ(view.text(IDC_ABOUT_TEXT), c.body) << int(c.language);
    }
}

// The window asks the platform once the module is found and shows that in its About box.
TEST_F(ConnectionKind, AboutBoxFromTheWindowNamesThePlatformsConnection) {
    shell.connection = [] { return std::string("COM7"); };
    start_default();
    std::string body;
    view().on_run_dialog([&](int id, DialogLogic& logic) {
        FakeDialogView about(id, &logic);
        about.init();
        body = about.text(IDC_ABOUT_TEXT);
    });
    view().click(IDM_ABOUT);
    EXPECT_EQ(body, "\nZAVI\nALARM-GSM\n\nprogram version: 1.5\nconnection: COM7");
}

}  // namespace
}  // namespace zavi::test
