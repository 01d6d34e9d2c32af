#include "posix/port_discovery.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

namespace zavi::posix {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxSysfsLevels = 5;  // ttyUSBn -> interface -> USB device, with room to spare

// The USB vendor of a tty, found by walking up from its sysfs device to the USB device that
// carries idVendor. Empty when there is none (not a USB port).
std::string usb_vendor(const std::string& tty_name, const std::string& sys_root) {
    std::error_code error;
    fs::path dir = fs::canonical(fs::path(sys_root) / "class" / "tty" / tty_name / "device", error);
    if (error) return {};
    for (int level = 0; level < kMaxSysfsLevels && !dir.empty(); ++level) {
        std::ifstream in(dir / "idVendor");
        std::string vendor;
        if (in >> vendor) return vendor;
        if (dir == dir.parent_path()) break;
        dir = dir.parent_path();
    }
    return {};
}

bool starts_with(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::vector<std::string> find_ftdi_ports(const std::string& dev_root, const std::string& sys_root) {
    std::vector<std::string> found;
    std::set<fs::path> seen;  // the devices behind the names already listed
    std::error_code error;

    std::vector<fs::path> by_id;
    for (fs::directory_iterator it(fs::path(dev_root) / "serial" / "by-id", error), end;
         !error && it != end; it.increment(error))
        if (starts_with(it->path().filename().string(), "usb-FTDI_")) by_id.push_back(it->path());
    std::sort(by_id.begin(), by_id.end());
    for (const fs::path& link : by_id) {
        std::error_code e;
        const fs::path target = fs::canonical(link, e);
        if (e || !seen.insert(target).second) continue;  // a dangling link leads nowhere
        found.push_back(link.string());
    }

    std::vector<fs::path> ttys;
    error.clear();
    for (fs::directory_iterator it(fs::path(dev_root), error), end; !error && it != end;
         it.increment(error))
        if (starts_with(it->path().filename().string(), "ttyUSB")) ttys.push_back(it->path());
    std::sort(ttys.begin(), ttys.end());
    for (const fs::path& tty : ttys) {
        std::error_code e;
        const fs::path target = fs::canonical(tty, e);
        if (e || seen.count(target)) continue;
        if (usb_vendor(tty.filename().string(), sys_root) != kFtdiVendorId) continue;
        seen.insert(target);
        found.push_back(tty.string());
    }
    return found;
}

}  // namespace zavi::posix
