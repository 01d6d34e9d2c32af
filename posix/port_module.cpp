#include "posix/port_module.h"

namespace zavi::posix {

PortOpen open_module_on_port(TtyDriver& driver, uint8_t language, FirmwareNotice& notice,
                             std::string* message) {
    message->clear();
    set_driver(&driver);
    device_handle = nullptr;
    const std::string port = driver.paths().empty() ? std::string("(no port)") : driver.paths()[0];
    const uint8_t result = open_device(0, &device_handle, language, notice);
    if (result == kOpenOk) return PortOpen::ok;
    if (result == kOpenWrongFirmware) {
        *message = "The module on " + port + " runs other firmware.";
        return PortOpen::wrong_firmware;
    }
    // open_device gives up the same way for a refused open and for a silent module; the
    // driver knows which.
    const PortFailure& failure = driver.last_failure();
    if (failure.problem != PortProblem::none && failure.problem != PortProblem::hung_up) {
        *message = failure.message;
        return PortOpen::unusable;
    }
    *message = failure.problem == PortProblem::hung_up
                   ? failure.message
                   : "No ZAVI-GSM module answered on " + port + ".";
    return PortOpen::silent;
}

}  // namespace zavi::posix
