// The FTDI filter over hardware IDs as Windows reports them for serial ports of several makers
// (recorded from Device Manager), and over whole ID lists.
#include "link/usb_vendor.h"

#include <string>

#include <gtest/gtest.h>

namespace zavi {
namespace {

TEST(UsbVendor, SingleHardwareIds) {
    struct Case {
        const char* id;
        bool ftdi;
    } const cases[] = {
        {"FTDIBUS\\COMPORT&VID_0403&PID_6001", true},  // the COM port of FTDI's VCP driver
        {"USB\\VID_0403&PID_6001&REV_0600", true},     // the USB device under it
        {"USB\\VID_0403&PID_6015", true},
        {"usb\\vid_0403&pid_6001", true},
        {"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000", true},  // FTDI bus instance path
        {"USB\\VID_067B&PID_2303&REV_0300", false},            // Prolific
        {"USB\\VID_1A86&PID_7523&REV_0264", false},            // WCH CH340
        {"USB\\VID_10C4&PID_EA60&REV_0100", false},            // Silicon Labs CP210x
        {"ACPI\\PNP0501", false},                              // a mainboard port
        {"*PNP0501", false},
        {"USB\\VID_04031&PID_6001", false},
        {"USB\\VID_403&PID_6001", false},
        {"USB\\PID_0403&VID_1234", false},
        {"VID_0403", true},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(hardware_id_is_ftdi(c.id), c.ftdi) << c.id;
}

TEST(UsbVendor, IdLists) {
    using namespace std::string_literals;
    struct Case {
        std::string ids;
        bool ftdi;
    } const cases[] = {
        {"USB\\VID_0403&PID_6001&REV_0600\0USB\\VID_0403&PID_6001\0\0"s, true},
        {"USB\\VID_067B&PID_2303&REV_0300\0USB\\VID_067B&PID_2303\0\0"s, false},
        {"USB\\VID_067B&PID_2303\0USB\\VID_0403&PID_6001\0\0"s, true},   // any entry counts
        {"USB\\VID_067B&PID_2303\0\0USB\\VID_0403&PID_6001\0"s, false},  // after the end
        {"USB\\VID_0403&PID_6001"s, true},                               // end without NULs
        {""s, false},
    };
    for (const Case& c : cases) EXPECT_EQ(any_hardware_id_is_ftdi(c.ids), c.ftdi) << c.ids;
}

}  // namespace
}  // namespace zavi
