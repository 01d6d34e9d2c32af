#include "link/module_choice.h"

namespace zavi {

ModuleRoute choose_route(bool port_named, const std::function<bool()>& library_loads,
                         const std::function<bool()>& vendor_ports_found) {
    if (port_named) return ModuleRoute::named_port;
    if (library_loads && library_loads()) return ModuleRoute::usb_library;
    if (vendor_ports_found && vendor_ports_found()) return ModuleRoute::vendor_ports;
    return ModuleRoute::none;
}

PortOutcome open_module_on_named_port(Driver& driver, const std::string& port, uint8_t language,
                                      FirmwareNotice& notice, DriverHandle* handle,
                                      const std::function<PortTrouble()>& trouble,
                                      std::string* message) {
    message->clear();
    set_driver(&driver);
    *handle = nullptr;
    const uint8_t result = open_device(0, handle, language, notice);
    if (result == kOpenOk && *handle) return PortOutcome::ok;
    *handle = nullptr;
    if (result == kOpenWrongFirmware) {
        *message = "The module on " + port + " runs other firmware.";
        return PortOutcome::wrong_firmware;
    }
    // open_device gives up the same way for a refused open and for a silent module; the
    // driver knows which.
    const PortTrouble known = trouble ? trouble() : PortTrouble{};
    if (!known.unusable.empty()) {
        *message = known.unusable;
        return PortOutcome::unusable;
    }
    *message = known.silent.empty() ? "No ZAVI-GSM module answered on " + port + "." : known.silent;
    return PortOutcome::silent;
}

DeviceChoice open_preferred_device(Driver& driver, uint32_t count, uint8_t language,
                                   FirmwareNotice& notice,
                                   const std::function<void(int index)>& not_opened) {
    DeviceChoice choice;
    const uint32_t tries = count <= 1 ? 1 : count;
    for (uint32_t i = 0; i < tries; ++i) {
        const int index = static_cast<int>(i);
        DriverHandle handle = nullptr;
        choice.last_result = open_device(index, &handle, language, notice);
        if (!handle) {
            if (not_opened) not_opened(index);
            continue;
        }
        if (choice.handle) driver.close(choice.handle);
        choice.handle = handle;
        choice.index = index;
    }
    return choice;
}

}  // namespace zavi
