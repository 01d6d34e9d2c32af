// How a module is reached, the same for the program and zavi-gsm-cli on every platform. The
// platforms only list their ports and open them; which way is taken, and which of several
// modules is used, is decided here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "link/connection.h"
#include "link/driver.h"

namespace zavi {

// The ways to a module, in the order they are tried:
//   named_port    a port the user named (--port): that port alone, nothing else tried;
//   usb_library   the maker's D2XX library, when it loads (Windows), devices opened by index;
//   vendor_ports  else every serial port whose USB vendor is the chip maker's (FTDI COM ports,
//                 /dev/serial/by-id/usb-FTDI_*, ttyUSB with vendor 0403), listed again at each
//                 count so that a module plugged in later is found;
//   none          none of these: no driver.
enum class ModuleRoute { named_port, usb_library, vendor_ports, none };

// Each question is asked only when the ways before it are out; a null one is "no".
ModuleRoute choose_route(bool port_named, const std::function<bool()>& library_loads,
                         const std::function<bool()>& vendor_ports_found);

// How opening the module on one named port (--port) went.
enum class PortOutcome : uint8_t {
    ok,        // open, answered, right firmware
    unusable,  // the port cannot be opened or set up (missing, no such name, busy, no permission)
    silent,    // the port is fine but no module answered properly
    wrong_firmware,  // a module with other firmware; the text went to the notice
};

// What a port's driver knows after a failed open, in English naming the port: why the port
// cannot be used at all, or why a usable line failed (it hung up). Both "" when it knows nothing.
struct PortTrouble {
    std::string unusable;
    std::string silent;
};

// Opens the module on `port`, the one port of `driver` (made the calling thread's driver), into
// *handle (null unless ok) and sorts a failure; `message` gets an English sentence naming the
// port for anything but ok. `trouble` is asked right after a failed open.
PortOutcome open_module_on_named_port(Driver& driver, const std::string& port, uint8_t language,
                                      FirmwareNotice& notice, DriverHandle* handle,
                                      const std::function<PortTrouble()>& trouble,
                                      std::string* message);

// Keeps open_device's firmware message as text, for a caller that tells it later.
class FirmwareNoticeText : public FirmwareNotice {
  public:
    void firmware_mismatch(std::string_view message) override { text.assign(message); }
    std::string text;
};

struct DeviceChoice {
    DriverHandle handle = nullptr;      // null when no device opened
    int index = 0;                      // the device `handle` is open on
    uint8_t last_result = kOpenFailed;  // open_device's result for the last index tried
};

// Opens the module to use among the `count` devices of `driver` (the calling thread's driver):
// with one device or none (a failed count is passed as 0) index 0; with several, the highest
// index that opens and passes the firmware check wins, and a handle it replaces is closed at
// once so that no module stays open unused. `not_opened` hears of every index that failed,
// right after its open (while the driver still knows why).
DeviceChoice open_preferred_device(Driver& driver, uint32_t count, uint8_t language,
                                   FirmwareNotice& notice,
                                   const std::function<void(int index)>& not_opened = {});

}  // namespace zavi
