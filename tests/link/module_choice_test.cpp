// Which way leads to the module and which of several modules is used: the rules the program and
// zavi-gsm-cli share on every platform.
#include "link/module_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/three_languages.h"
#include "sim/demo_scenario.h"
#include "sim/simulator.h"

namespace zavi {
namespace {

TEST(ChooseRoute, ANamedPortStandsAloneThenTheLibraryThenTheVendorPorts) {
    struct Case {
        bool named, library, vendor;
        ModuleRoute route;
        std::string asked;  // l: the library was tried, v: the vendor ports were listed
    };
    const Case cases[] = {
        {true, true, true, ModuleRoute::named_port, ""},
        {false, true, true, ModuleRoute::usb_library, "l"},
        {false, false, true, ModuleRoute::vendor_ports, "lv"},
        {false, false, false, ModuleRoute::none, "lv"},
    };
    for (const Case& c : cases) {
        std::string asked;
        const ModuleRoute route = choose_route(
            c.named,
            [&] {
                asked += "l";
                return c.library;
            },
            [&] {
                asked += "v";
                return c.vendor;
            });
        EXPECT_EQ(route, c.route) << c.named << c.library << c.vendor;
        EXPECT_EQ(asked, c.asked) << c.named << c.library << c.vendor;
    }
    // A platform without the library (Linux) leaves its question out.
    EXPECT_EQ(choose_route(false, nullptr, [] { return true; }), ModuleRoute::vendor_ports);
    EXPECT_EQ(choose_route(false, nullptr, nullptr), ModuleRoute::none);
}

// Modules as the scenario gives them: "ok", "fails" (cannot be opened), "old" (other firmware).
sim::Scenario modules(const std::vector<std::string>& kinds) {
    sim::Scenario s = sim::demo_scenario();
    const sim::Module demo = s.modules[0];
    s.modules.clear();
    for (const std::string& kind : kinds) {
        sim::Module m = demo;
        m.open_fails = kind == "fails";
        if (kind == "old") m.state.firmware = "ZAVI-GSM v1.6";
        s.modules.push_back(m);
    }
    return s;
}

class CountingNotice : public FirmwareNotice {
  public:
    void firmware_mismatch(std::string_view) override { ++count; }
    int count = 0;
};

TEST(OpenPreferredDevice, TheHighestIndexThatOpensWithTheRightFirmwareWins) {
    struct Case {
        std::vector<std::string> kinds;
        uint32_t count;  // as the count reported it (0: the count failed)
        int index;       // -1: nothing opened
        std::vector<int> not_opened;
        int notices;
    };
    const Case cases[] = {
        {{"ok"}, 1, 0, {}, 0},
        {{"ok", "ok", "ok"}, 3, 2, {}, 0},
        {{"ok", "ok", "fails"}, 3, 1, {2}, 0},
        {{"ok", "old"}, 2, 0, {1}, 1},
        {{"old", "fails"}, 2, -1, {0, 1}, 1},
        {{"old"}, 1, -1, {0}, 1},
        // A failed count still tries index 0, and only it.
        {{"ok", "ok"}, 0, 0, {}, 0},
    };
    for (const Case& c : cases) {
        sim::SimDriver driver(modules(c.kinds));
        set_driver(&driver);
        CountingNotice notice;
        std::vector<int> failed;
        const DeviceChoice choice = open_preferred_device(driver, c.count, kEnglish, notice,
                                                          [&](int i) { failed.push_back(i); });
        const std::string name = ::testing::PrintToString(c.kinds);
        EXPECT_EQ(choice.handle != nullptr, c.index >= 0) << name;
        if (c.index >= 0) {
            EXPECT_EQ(choice.index, c.index) << name;
        }
        EXPECT_EQ(failed, c.not_opened) << name;
        EXPECT_EQ(notice.count, c.notices) << name;
        // No module the choice replaced stays open.
        EXPECT_EQ(driver.open_handles(), c.index >= 0 ? 1 : 0) << name;
        if (choice.handle) driver.close(choice.handle);
        set_driver(nullptr);
    }
}

TEST(OpenPreferredDevice, TellsTheFirmwareOfASingleModule) {
    sim::SimDriver driver(modules({"old"}));
    set_driver(&driver);
    FirmwareNoticeText notice;
    const DeviceChoice choice = open_preferred_device(driver, 1, kEnglish, notice);
    EXPECT_EQ(choice.last_result, kOpenWrongFirmware);
    EXPECT_NE(notice.text.find("1.6"), std::string::npos) << notice.text;
    set_driver(nullptr);
}

// The sorting of a failed --port open, the same on every platform: the driver's word on the port
// decides between a port that cannot be used and a silent one.
TEST(OpenModuleOnNamedPort, SortsTheFailureByWhatTheDriverKnows) {
    struct Case {
        const char* kind;
        PortTrouble trouble;
        PortOutcome outcome;
        const char* says;
    };
    const Case cases[] = {
        {"ok", {"cannot open COM9: busy", ""}, PortOutcome::ok, ""},
        {"old",
         {"cannot open COM9: busy", ""},
         PortOutcome::wrong_firmware,
         "The module on COM9 runs other firmware."},
        {"fails",
         {"cannot open COM9: busy", "hung up"},
         PortOutcome::unusable,
         "cannot open COM9: busy"},
        {"fails", {"", "COM9 hung up"}, PortOutcome::silent, "COM9 hung up"},
        {"fails", {}, PortOutcome::silent, "No ZAVI-GSM module answered on COM9."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.says);
        sim::SimDriver driver(modules({c.kind}));
        CountingNotice notice;
        DriverHandle handle = reinterpret_cast<DriverHandle>(1);
        std::string message = "left over";
        const PortOutcome outcome = open_module_on_named_port(
            driver, "COM9", kEnglish, notice, &handle, [&] { return c.trouble; }, &message);
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(message, c.says);
        EXPECT_EQ(handle != nullptr, c.outcome == PortOutcome::ok);
        EXPECT_EQ(driver.open_handles(), c.outcome == PortOutcome::ok ? 1 : 0);
        if (handle) driver.close(handle);
        set_driver(nullptr);
    }
}

}  // namespace
}  // namespace zavi
