#include "link/usb_vendor.h"

#include "common/text_case.h"

namespace zavi {

bool hardware_id_is_ftdi(std::string_view id) {
    // Fields are separated by a backslash (bus, then the rest) and "&"; FTDI's bus driver uses "+".
    std::size_t start = 0;
    while (start <= id.size()) {
        std::size_t end = id.find_first_of("\\&+", start);
        if (end == std::string_view::npos) end = id.size();
        if (equal_ignoring_case(id.substr(start, end - start), "VID_0403")) return true;
        start = end + 1;
    }
    return false;
}

bool any_hardware_id_is_ftdi(std::string_view ids) {
    std::size_t start = 0;
    while (start < ids.size()) {
        std::size_t end = ids.find('\0', start);
        if (end == std::string_view::npos) end = ids.size();
        if (end == start) break;  // the empty ID that ends the list
        if (hardware_id_is_ftdi(ids.substr(start, end - start))) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace zavi
