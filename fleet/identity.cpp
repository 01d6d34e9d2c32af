#include "fleet/identity.h"

#include "common/text_case.h"

#include <cctype>

namespace zavi::fleet {

namespace {

constexpr std::size_t kMaxIdentity = 64;

std::string_view file_name(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string checked(std::string_view serial) {
    return is_identity(serial) ? std::string(serial) : std::string();
}

}  // namespace

bool is_identity(std::string_view serial) {
    if (serial.empty() || serial.size() > kMaxIdentity || serial[0] == '.' || serial[0] == '-')
        return false;
    for (const char c : serial) {
        const bool plain =
            std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-';
        if (!plain) return false;
    }
    return serial != kUnknownIdentity;
}

std::string identity_from_port_path(std::string_view path) {
    const std::string_view name = file_name(path);
    constexpr std::string_view kModuleLink = "zavi-gsm-";
    constexpr std::string_view kById = "usb-FTDI_";
    if (name.starts_with(kModuleLink)) return checked(name.substr(kModuleLink.size()));
    if (!name.starts_with(kById)) return {};
    // usb-FTDI_<product with underscores>_<serial>-if<NN>[-port<N>]
    std::string_view rest = name.substr(kById.size());
    const std::size_t interface = rest.rfind("-if");
    if (interface == std::string_view::npos) return {};
    rest = rest.substr(0, interface);
    const std::size_t underscore = rest.find_last_of('_');
    if (underscore == std::string_view::npos) return {};
    return checked(rest.substr(underscore + 1));
}

std::string identity_from_instance_id(std::string_view id) {
    const std::size_t first = id.find('\\');
    if (first == std::string_view::npos) return {};
    const std::string_view bus = id.substr(0, first);
    std::string_view rest = id.substr(first + 1);
    if (equal_ignoring_case(bus, "FTDIBUS")) {
        // VID_0403+PID_6001+<serial><port letter>\0000
        rest = rest.substr(0, rest.find('\\'));
        const std::size_t plus = rest.find_last_of('+');
        if (plus == std::string_view::npos || rest.find('+') == plus) return {};
        std::string_view serial = rest.substr(plus + 1);
        if (serial.size() < 2) return {};
        return checked(serial.substr(0, serial.size() - 1));
    }
    if (equal_ignoring_case(bus, "USB")) {
        const std::size_t second = rest.find('\\');
        if (second == std::string_view::npos) return {};
        const std::string_view serial = rest.substr(second + 1);
        // Windows' own instance numbers hold '&'; a serial number never does.
        if (serial.find('&') != std::string_view::npos) return {};
        return checked(serial);
    }
    return {};
}

std::string identity_or_unknown(std::string_view serial) {
    return is_identity(serial) ? std::string(serial) : std::string(kUnknownIdentity);
}

}  // namespace zavi::fleet
