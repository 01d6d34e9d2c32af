#include "posix/port_module.h"

namespace zavi::posix {

PortTrouble port_trouble(const TtyDriver& driver) {
    const PortFailure& failure = driver.last_failure();
    // A port that hung up was usable: something was there and went away.
    if (failure.problem == PortProblem::hung_up) return {"", failure.message};
    if (failure.problem == PortProblem::none) return {};
    return {failure.message, ""};
}

PortOutcome open_module_on_port(TtyDriver& driver, uint8_t language, FirmwareNotice& notice,
                                std::string* message) {
    const std::string port = driver.paths().empty() ? std::string("(no port)") : driver.paths()[0];
    return open_module_on_named_port(
        driver, port, language, notice, &device_handle, [&driver] { return port_trouble(driver); },
        message);
}

}  // namespace zavi::posix
