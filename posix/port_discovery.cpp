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

// The entries of `dir` whose names start with `prefix`, sorted.
std::vector<fs::path> entries_named(const fs::path& dir, const char* prefix) {
    std::vector<fs::path> paths;
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error))
        if (it->path().filename().string().starts_with(prefix)) paths.push_back(it->path());
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace

std::vector<std::string> find_ftdi_ports(const std::string& dev_root, const std::string& sys_root) {
    std::vector<std::string> found;
    std::set<fs::path> seen;  // the devices behind the names already listed
    // A name that leads nowhere, or to a device already listed, is left out.
    auto add = [&](const fs::path& name) {
        std::error_code e;
        const fs::path target = fs::canonical(name, e);
        if (e || !seen.insert(target).second) return;
        found.push_back(name.string());
    };

    // Only symbolic links count here: the rule makes nothing else under this name.
    for (const fs::path& link : entries_named(dev_root, kModuleLinkPrefix)) {
        std::error_code e;
        if (fs::is_symlink(link, e)) add(link);
    }
    for (const fs::path& link : entries_named(fs::path(dev_root) / "serial" / "by-id", "usb-FTDI_"))
        add(link);

    for (const fs::path& tty : entries_named(dev_root, "ttyUSB"))
        if (usb_vendor(tty.filename().string(), sys_root) == kFtdiVendorId) add(tty);
    return found;
}

}  // namespace zavi::posix
