// The link over the tty driver with the simulated module on the other side of a
// pseudo-terminal: a normal start and status read, and a module that drips, babbles, keeps
// silent or goes away mid-answer. A fault ends in a failure within the read time-out's bound,
// with nothing sent after it.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "link/connection.h"
#include "link/records.h"
#include "link/status_commands.h"
#include "posix/port_module.h"
#include "posix/tty_driver.h"
#include "sim/simulator.h"
#include "tests/posix/pty_partner.h"

namespace zavi::posix {
namespace {

using test::elapsed_ms;
using test::PtyPartner;
using Clock = std::chrono::steady_clock;

class Notice : public FirmwareNotice {
  public:
    void firmware_mismatch(std::string_view message) override { shown = message; }
    std::string shown;
};

sim::Scenario served(std::vector<sim::Fault> faults = {}) {
    sim::Scenario s;
    s.virtual_time = false;
    s.modules[0].faults = std::move(faults);
    return s;
}

int valid_requests(const sim::SimDriver& module) {
    int n = 0;
    for (const sim::JournalEntry& e : module.journal()) n += e.valid ? 1 : 0;
    return n;
}

class TtyLink : public ::testing::Test {
  protected:
    // Each test's driver is gone by now and has closed its ports with it.
    void TearDown() override {
        device_handle = nullptr;
        set_driver(nullptr);
    }
    uint8_t open_on(TtyDriver& driver) {
        set_driver(&driver);
        reset_all_records();
        return open_device(0, &device_handle, 1, notice);
    }
    Notice notice;
};

TEST_F(TtyLink, StartsAndReadsTheStatusThroughThePort) {
    sim::SimDriver module(served());
    PtyPartner pty;  // stops serving before the module goes
    ASSERT_TRUE(pty.ok());
    module.state().operator_name = "Orange";
    pty.serve(module);
    TtyDriver driver({pty.path()});
    ASSERT_EQ(open_on(driver), kOpenOk) << driver.last_failure().message;
    for (uint8_t part = 0; part < 3; ++part) EXPECT_EQ(read_status(device_handle, part), kOk);
    EXPECT_STREQ(device_status.operator_name, "Orange");
    EXPECT_EQ(device_status.temp1_whole, module.state().temp1_whole);
    pty.stop();
    EXPECT_EQ(valid_requests(module), 4);
}

TEST_F(TtyLink, AMisbehavingModuleFailsWithinTheTimeOutAndNothingFollows) {
    struct Case {
        const char* name;
        sim::Fault fault;
        uint64_t min_ms, max_ms;  // the receive ends within twice the 1000 ms read time-out
    } const cases[] = {
        {"silence", {sim::FaultKind::no_answer}, 900, 1500},
        {"garbage", {sim::FaultKind::garbage, -1, -1, 0, -1, 40}, 0, 500},  // the read fills up
        {"a little garbage", {sim::FaultKind::garbage, -1, -1, 0, -1, 12}, 900, 1500},
        {"drip", {sim::FaultKind::drip, -1, -1, 0, -1, 150'000}, 900, 2300},
        {"half an answer", {sim::FaultKind::truncated, -1, -1, 0, -1, 10}, 900, 1500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimDriver module(served({c.fault}));
        PtyPartner pty;  // stops serving before the module goes
        ASSERT_TRUE(pty.ok());
        pty.serve(module);
        TtyDriver driver({pty.path()});
        const auto start = Clock::now();
        EXPECT_EQ(open_on(driver), kOpenFailed);
        const uint64_t took = elapsed_ms(start);
        EXPECT_GE(took, c.min_ms);
        EXPECT_LE(took, c.max_ms);
        EXPECT_EQ(device_handle, nullptr);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        pty.stop();
        EXPECT_EQ(module.journal().size(), 1u);  // the version request, and nothing after it
        // The port was given back: it can be opened again at once.
        EXPECT_EQ(check_port(pty.path()).problem, PortProblem::none);
    }
}

TEST_F(TtyLink, TheModuleGoingAwayMidAnswerIsAHangUp) {
    sim::SimDriver module(served());
    PtyPartner pty;  // stops serving before the module goes
    ASSERT_TRUE(pty.ok());
    pty.serve(module);
    TtyDriver driver({pty.path()});
    ASSERT_EQ(open_on(driver), kOpenOk);
    pty.stop();  // from here the test plays the module by hand
    std::thread away([&] {
        EXPECT_FALSE(pty.take(6, 500).empty());  // the status request
        pty.put({'S', 8, 20, 0});                // the start of an answer, then the cable goes
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pty.hang_up();
    });
    const auto start = Clock::now();
    EXPECT_EQ(read_status(device_handle, 0), kReadFailed);
    away.join();
    EXPECT_LT(elapsed_ms(start), 900u);  // noticed at once, not at the time-out
    EXPECT_EQ(driver.last_failure().problem, PortProblem::hung_up);
    EXPECT_NE(driver.last_failure().message.find(pty.path()), std::string::npos);
    EXPECT_NE(driver.last_failure().message.find("hung up"), std::string::npos)
        << driver.last_failure().message;
    // Nothing more goes out on a port that failed.
    uint32_t written = 7;
    const uint8_t request[] = {'M', 8, 2, 0};
    EXPECT_EQ(driver.write(device_handle, request, sizeof request, &written), kDriverIoError);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(read_status(device_handle, 1), kFailed);
}

// The outcomes the command-line tool tells apart (exit 3 for a port it cannot use, 4 when
// nothing answers).
TEST_F(TtyLink, OpeningTheModuleOnANamedPortSortsTheOutcome) {
    struct Case {
        const char* name;
        bool port_exists;
        std::vector<sim::Fault> faults;
        const char* firmware;
        PortOutcome expected;
        const char* says;
    } const cases[] = {
        {"answers", true, {}, "ZAVI-GSM v1.7", PortOutcome::ok, ""},
        {"no such port", false, {}, "ZAVI-GSM v1.7", PortOutcome::unusable, "does not exist"},
        {"silent",
         true,
         {{sim::FaultKind::no_answer}},
         "ZAVI-GSM v1.7",
         PortOutcome::silent,
         "No ZAVI-GSM module answered on "},
        {"other firmware",
         true,
         {},
         "ZAVI-GSM v1.5",
         PortOutcome::wrong_firmware,
         "other firmware"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimDriver module(served(c.faults));
        PtyPartner pty;  // stops serving before the module goes
        ASSERT_TRUE(pty.ok());
        module.state().firmware = c.firmware;
        pty.serve(module);
        TtyDriver driver({c.port_exists ? pty.path() : pty.path() + "-gone"});
        std::string message;
        EXPECT_EQ(open_module_on_port(driver, 1, notice, &message), c.expected);
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_EQ(device_handle != nullptr, c.expected == PortOutcome::ok);
        if (device_handle) driver.close(device_handle);
        device_handle = nullptr;
        pty.stop();
    }
}

}  // namespace
}  // namespace zavi::posix
