// A module's identity from the names systems give its port: what names a serial number, and
// what must never become a folder name.
#include <gtest/gtest.h>

#include "fleet/identity.h"

namespace zavi::fleet {
namespace {

TEST(Identity, FromLinuxPortNames) {
    const struct {
        const char* path;
        const char* serial;
    } cases[] = {
        {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "A50285BI"},
        {"/dev/serial/by-id/usb-FTDI_TTL232R-3V3_FTGNUVK2-if00-port0", "FTGNUVK2"},
        {"usb-FTDI_FT232R_USB_UART_A9XK1-if00", "A9XK1"},
        {"/dev/zavi-gsm-A50285BI", "A50285BI"},
        {"/dev/zavi-gsm-SIM00001", "SIM00001"},
        // No serial number in the name.
        {"/dev/ttyUSB0", ""},
        {"/dev/serial/by-id/usb-FTDI_A-if00-port0", ""},
        {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI", ""},
        {"/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0", ""},
        {"/dev/pts/3", ""},
        // Names that would leave the module's folder or clash with the unknown one.
        {"/dev/zavi-gsm-..", ""},
        {"/dev/zavi-gsm-", ""},
        {"/dev/zavi-gsm-unknown", ""},
        {"/dev/zavi-gsm-a b", ""},
        {"/dev/zavi-gsm-aé", ""},
        {"/dev/serial/by-id/usb-FTDI_X_.hidden-if00-port0", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(identity_from_port_path(c.path), c.serial) << c.path;
}

TEST(Identity, FromWindowsInstanceIds) {
    const struct {
        const char* id;
        const char* serial;
    } cases[] = {
        {"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000", "A50285BI"},
        {"ftdibus\\VID_0403+PID_6015+DN01ABCDA\\0000", "DN01ABCD"},
        {"USB\\VID_0403&PID_6001\\A50285BI", "A50285BI"},
        // Windows' own instance number of a chip without a serial number.
        {"USB\\VID_0403&PID_6001\\5&2C9D3A1&0&2", ""},
        {"FTDIBUS\\VID_0403+PID_6001\\0000", ""},
        {"FTDIBUS\\VID_0403+PID_6001+A\\0000", ""},
        {"ACPI\\PNP0501\\1", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(identity_from_instance_id(c.id), c.serial) << c.id;
}

TEST(Identity, UnknownIsSaidAsUnknown) {
    EXPECT_EQ(identity_or_unknown(""), kUnknownIdentity);
    EXPECT_EQ(identity_or_unknown("../etc"), kUnknownIdentity);
    EXPECT_EQ(identity_or_unknown(std::string(65, 'A')), kUnknownIdentity);
    EXPECT_EQ(identity_or_unknown(std::string(64, 'A')), std::string(64, 'A'));
    EXPECT_EQ(identity_or_unknown("A50285BI"), "A50285BI");
}

}  // namespace
}  // namespace zavi::fleet
