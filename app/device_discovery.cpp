#include "app/device_discovery.h"

#include <cstdio>

#include "link/connection.h"
#include "link/driver.h"
#include "link/module_choice.h"
#include "ui/messages.h"
#include "ui/ui_language.h"

namespace zavi {

namespace {

// The firmware message of open_device, as a box owned by the main window.
class ViewFirmwareNotice : public FirmwareNotice {
  public:
    explicit ViewFirmwareNotice(DialogView& view) : view_(view) {}
    void firmware_mismatch(std::string_view message_utf8) override {
        show_message(view_, message_utf8);
    }

  private:
    DialogView& view_;
};

}  // namespace

bool discover_device(DialogView& view, bool no_ftdi_com_port) {
    const uint8_t language = ui_language;
    Driver* usb = driver();
    if (!usb) {
        // On Windows the driver library is loaded at run time; without it nothing can work.
        const char* missing =
            pick_text(language, "Sterownik USB FTD2XX.dll nie jest zainstalowany.",
                      "The USB driver FTD2XX.dll is not installed.",
                      "Der USB-Treiber FTD2XX.dll ist nicht installiert.");
        // Where FTDI's COM port driver was looked for as well, the message says it found none.
        const char* no_port = no_ftdi_com_port
                                  ? pick_text(language, "\nNie znaleziono też portu COM FTDI.",
                                              "\nNo FTDI COM port was found either.",
                                              "\nEs wurde auch kein FTDI-COM-Anschluss gefunden.")
                                  : "";
        const char* advice = pick_text(
            language, "Zainstaluj sterownik USB modułu ZAVI-GSM i uruchom program ponownie.",
            "Please install the USB driver of the ZAVI-GSM module and start the program again.",
            "Bitte installieren Sie den USB-Treiber des ZAVI-GSM-Moduls und starten Sie das "
            "Programm erneut.");
        char text[512];
        std::snprintf(text, sizeof text, "%s%s\n\n%s", missing, no_port, advice);
        show_message(view, text, MessageIcon::error);
        return false;
    }

    uint32_t count = 0;
    const DriverStatus counted = usb->count_devices(&count);
    if (counted == kDriverOk && count == 0) {
        show_message(view, pick_text(language, "ZAVI-GSM - brak połączenia",
                                     "ZAVI-GSM is not connected", "ZAVI-GSM - keine Verbindung"));
        return false;
    }
    // A failed count is taken as no module, which still tries index 0.
    if (counted != kDriverOk) count = 0;

    ViewFirmwareNotice notice(view);
    const DeviceChoice choice = open_preferred_device(*usb, count, language, notice);
    device_handle = choice.handle;
    if (device_handle) return true;
    // With one module, the firmware message has already told the user.
    if (count > 1 || choice.last_result != kOpenWrongFirmware)
        show_communication_error(view, language);
    return false;
}

}  // namespace zavi
