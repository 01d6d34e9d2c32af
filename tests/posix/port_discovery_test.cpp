// The search for FTDI serial ports over a made-up /dev and /sys: the module links of the udev
// rule, stable names and ttyUSB* devices of vendor 0403 count, each port once; other vendors,
// dangling links and ports outside USB do not.
#include "posix/port_discovery.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace zavi::posix {
namespace {

namespace fs = std::filesystem;

class PortDiscovery : public ::testing::Test {
  protected:
    fs::path dev() const { return dir.path() / "dev"; }
    fs::path sys() const { return dir.path() / "sys"; }

    // A ttyUSB device in /dev and its sysfs chain: USB device (idVendor) / interface / port.
    void usb_tty(const std::string& name, const char* vendor) {
        fs::create_directories(dev());
        test::write_file((dev() / name).string(), "");
        const fs::path usb = sys() / "devices/usb1" / ("1-" + name);
        const fs::path port = usb / "1-1:1.0" / name;
        fs::create_directories(port);
        if (vendor) test::write_file((usb / "idVendor").string(), std::string(vendor) + "\n");
        fs::create_directories(sys() / "class/tty" / name);
        fs::create_symlink(port, sys() / "class/tty" / name / "device");
    }
    void by_id(const std::string& name, const std::string& target) {
        fs::create_directories(dev() / "serial/by-id");
        fs::create_symlink(dev() / target, dev() / "serial/by-id" / name);
    }
    void module_link(const std::string& name, const std::string& target) {
        fs::create_directories(dev());
        fs::create_symlink(dev() / target, dev() / name);
    }
    std::vector<std::string> found() { return find_ftdi_ports(dev().string(), sys().string()); }
    std::string at(const std::string& relative) { return (dev() / relative).string(); }

    test::TempDir dir;
};

TEST_F(PortDiscovery, FindsFtdiPortsOnceEach) {
    usb_tty("ttyUSB0", "0403");   // the module, also under its stable name
    usb_tty("ttyUSB1", "067b");   // another maker's adapter
    usb_tty("ttyUSB2", "0403");   // a second FTDI port without a stable name
    usb_tty("ttyUSB3", nullptr);  // no USB device above it
    by_id("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB0");
    by_id("usb-Prolific_PL2303-if00-port0", "ttyUSB1");
    by_id("usb-FTDI_gone-if00-port0", "ttyUSB7");  // dangling
    fs::create_directories(dev() / "ttyS0");
    EXPECT_EQ(found(),
              (std::vector<std::string>{
                  at("serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"), at("ttyUSB2")}));
}

TEST_F(PortDiscovery, ModuleLinksComeFirstAndHideTheOtherNames) {
    usb_tty("ttyUSB0", "0403");
    usb_tty("ttyUSB1", "0403");
    usb_tty("ttyUSB2", "0403");
    by_id("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB0");
    by_id("usb-FTDI_FT232R_USB_UART_B7-if00-port0", "ttyUSB2");
    module_link("zavi-gsm-B7", "ttyUSB2");
    module_link("zavi-gsm-A50285BI", "ttyUSB0");
    module_link("zavi-gsm-gone", "ttyUSB9");                    // dangling: unplugged
    test::write_file((dev() / "zavi-gsm-notes").string(), "");  // not a link
    module_link("zavi-gsm-twice", "ttyUSB0");                   // a second link to a listed port
    EXPECT_EQ(found(), (std::vector<std::string>{at("zavi-gsm-A50285BI"), at("zavi-gsm-B7"),
                                                 at("ttyUSB1")}));
}

TEST_F(PortDiscovery, NothingThereIsAnEmptyList) {
    EXPECT_TRUE(found().empty());  // neither folder exists
    usb_tty("ttyUSB0", "1a86");
    EXPECT_TRUE(found().empty());
}

}  // namespace
}  // namespace zavi::posix
