// The tty driver on a real pseudo-terminal: raw bytes both ways, read time-outs, purge, the
// exclusive claim, and every reason a port cannot be opened, each named in the message.
#include "posix/tty_driver.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "tests/posix/pty_partner.h"
#include "tests/support/temp_dir.h"

namespace zavi::posix {
namespace {

using test::elapsed_ms;
using test::PtyBytes;
using test::PtyPartner;
using Clock = std::chrono::steady_clock;

// Puts the slave back into the cooked mode a fresh terminal has, so that the driver has to
// undo all of it.
void make_cooked(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(fd, &t), 0);
    t.c_iflag |= ICRNL | IXON | IXOFF | INLCR;
    t.c_oflag |= OPOST | ONLCR;
    t.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    t.c_cflag |= PARENB;
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &t), 0);
    ::close(fd);
}

struct Opened {
    TtyDriver driver;
    DriverHandle handle = nullptr;
    explicit Opened(const std::string& path, uint32_t read_ms = 200) : driver({path}) {
        EXPECT_EQ(driver.open_by_index(0, &handle), kDriverOk) << driver.last_failure().message;
        driver.set_timeouts(handle, read_ms, 0);
    }
};

TEST(TtyDriver, ControlBytesPassUnchangedBothWays) {
    PtyPartner pty;
    ASSERT_TRUE(pty.ok());
    make_cooked(pty.path());
    Opened port(pty.path());
    // XON, XOFF, CR, LF, SYN (quoted insert), DEL (erase), Ctrl-C/Ctrl-\ (signals), EOF, NUL, 0xFF.
    const PtyBytes bytes = {0x11, 0x13, 0x0D, 0x0A, 0x16, 0x7F, 0x03, 0x1C, 0x04, 0x00, 0xFF, 0x0D};
    struct Case {
        const char* way;
        bool to_module;
    } const cases[] = {{"program to module", true}, {"module to program", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        PtyBytes arrived;
        if (c.to_module) {
            uint32_t written = 0;
            ASSERT_EQ(port.driver.write(port.handle, bytes.data(), bytes.size(), &written),
                      kDriverOk);
            EXPECT_EQ(written, bytes.size());
            arrived = pty.take(bytes.size() + 8, 300);  // room to see extra bytes
        } else {
            pty.put(bytes);
            arrived.resize(bytes.size() + 8);
            uint32_t got = 0;
            ASSERT_EQ(port.driver.read(port.handle, arrived.data(), arrived.size(), &got),
                      kDriverOk);
            arrived.resize(got);
        }
        EXPECT_EQ(arrived, bytes);
    }
    // Nothing written to the program came back to the module as an echo.
    EXPECT_TRUE(pty.take(1, 100).empty());
}

TEST(TtyDriver, ReadReturnsWhatArrivedWithinTheTimeOut) {
    PtyPartner pty;
    ASSERT_TRUE(pty.ok());
    struct Case {
        uint32_t read_ms;
        PtyBytes sent;
        uint32_t ask;
        uint32_t expect_got;
        uint64_t min_ms, max_ms;
    } const cases[] = {
        {150, {}, 5, 0, 140, 400},                 // silence: empty, after the time-out
        {150, {1, 2, 3}, 10, 3, 140, 400},         // short read is success
        {1000, {1, 2, 3, 4, 5}, 5, 5, 0, 200},     // all there: no waiting out the time-out
        {1000, {9, 8, 7, 6, 5, 4}, 2, 2, 0, 200},  // the rest stays for the next read
    };
    Opened port(pty.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.read_ms);
        port.driver.purge(port.handle, kPurgeRxTx);
        port.driver.set_timeouts(port.handle, c.read_ms, 0);
        if (!c.sent.empty()) pty.put(c.sent);
        uint8_t buffer[32] = {};
        uint32_t got = 99;
        const auto start = Clock::now();
        EXPECT_EQ(port.driver.read(port.handle, buffer, c.ask, &got), kDriverOk);
        const uint64_t took = elapsed_ms(start);
        EXPECT_EQ(got, c.expect_got);
        EXPECT_GE(took, c.min_ms);
        EXPECT_LE(took, c.max_ms);
        EXPECT_EQ(PtyBytes(buffer, buffer + got), PtyBytes(c.sent.begin(), c.sent.begin() + got));
    }
}

TEST(TtyDriver, PurgeDropsWhatWaitsForTheProgram) {
    PtyPartner pty;
    ASSERT_TRUE(pty.ok());
    Opened port(pty.path(), 100);
    pty.put({'M', 1, 2, 3, 0x16});
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ASSERT_EQ(port.driver.purge(port.handle, kPurgeRxTx), kDriverOk);
    uint8_t buffer[8];
    uint32_t got = 0;
    EXPECT_EQ(port.driver.read(port.handle, buffer, sizeof buffer, &got), kDriverOk);
    EXPECT_EQ(got, 0u);
    pty.put({7});  // what comes after the purge is kept
    EXPECT_EQ(port.driver.read(port.handle, buffer, 1, &got), kDriverOk);
    EXPECT_EQ(got, 1u);
}

TEST(TtyDriver, APortIsClaimedByOneProgramAtATime) {
    PtyPartner pty;
    ASSERT_TRUE(pty.ok());
    Opened first(pty.path());
    TtyDriver second({pty.path()});
    DriverHandle h = reinterpret_cast<DriverHandle>(1);
    EXPECT_EQ(second.open_by_index(0, &h), kDriverNotOpened);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(second.last_failure().problem, PortProblem::busy);
    EXPECT_NE(second.last_failure().message.find(pty.path()), std::string::npos);
    EXPECT_NE(second.last_failure().message.find("in use by another program"), std::string::npos)
        << second.last_failure().message;
    EXPECT_EQ(check_port(pty.path()).problem, PortProblem::busy);

    ASSERT_EQ(first.driver.close(first.handle), kDriverOk);
    EXPECT_EQ(second.open_by_index(0, &h), kDriverOk) << second.last_failure().message;
    EXPECT_EQ(second.close(h), kDriverOk);
    EXPECT_EQ(second.close(h), kDriverInvalidHandle);  // a handle is good for one close
}

TEST(TtyDriver, APortThatCannotBeOpenedIsNamedWithTheReason) {
    test::TempDir dir;
    const std::string file = dir.file("not-a-port");
    test::write_file(file, "text");
    struct Case {
        std::string path;
        PortProblem problem;
        DriverStatus status;
        const char* says;
    } const cases[] = {
        {dir.file("ttyUSB9"), PortProblem::missing, kDriverNotFound, "does not exist"},
        {"/dev/null", PortProblem::not_a_tty, kDriverNotOpened, "is not a serial port"},
        {file, PortProblem::not_a_tty, kDriverNotOpened, "is not a serial port"},
        {dir.path().string(), PortProblem::failed, kDriverNotOpened, "(Is a directory)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TtyDriver driver({c.path});
        DriverHandle h = nullptr;
        EXPECT_EQ(driver.open_by_index(0, &h), c.status);
        EXPECT_EQ(driver.last_failure().problem, c.problem);
        const std::string& message = driver.last_failure().message;
        EXPECT_NE(message.find(c.path), std::string::npos) << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_EQ(check_port(c.path).message, message);
    }
    EXPECT_EQ(test::read_file(file), "text");  // nothing was written to the file
}

// An adapter that accepts the settings but keeps another speed must not pass as a 9600 port.
TEST(TtyDriver, ASpeedOtherThan9600IsNamed) {
    struct Case {
        speed_t in, out;
        const char* problem;
    } const cases[] = {
        {B9600, B9600, ""},
        {B19200, B19200, "sends at 19200 baud instead of 9600"},
        {B9600, B115200, "sends at 115200 baud instead of 9600"},
        {B4800, B9600, "receives at 4800 baud instead of 9600"},
        {B0, B9600, "receives at 0 baud instead of 9600"},
        {B9600, B500000, "sends at an unknown speed instead of 9600"},
    };
    // Every other case here opens a pseudo-terminal, which reads back 9600 both ways.
    for (const Case& c : cases) EXPECT_EQ(speed_problem(c.in, c.out), c.problem);
}

// The message for a port the user may not open, as an ordinary user sees it: as root the test
// drops to nobody in a child process, otherwise an unreadable file stands in for the port.
TEST(TtyDriver, NoPermissionNamesTheDialoutGroup) {
    PtyPartner pty;
    ASSERT_TRUE(pty.ok());
    test::TempDir dir;
    std::string path = pty.path();
    if (geteuid() != 0) {
        path = dir.file("locked");
        test::write_file(path, "");
        ASSERT_EQ(chmod(path.c_str(), 0), 0);
    } else {
        ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    }
    int pipe_fds[2];
    ASSERT_EQ(pipe(pipe_fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipe_fds[0]);
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
        const PortFailure f = check_port(path);
        const std::string line = std::to_string(static_cast<int>(f.problem)) + " " + f.message;
        (void)!::write(pipe_fds[1], line.data(), line.size());
        _exit(0);
    }
    ::close(pipe_fds[1]);
    std::string report;
    char b[512];
    for (ssize_t n; (n = ::read(pipe_fds[0], b, sizeof b)) > 0;) report.append(b, n);
    ::close(pipe_fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(report.substr(0, 2), std::to_string(static_cast<int>(PortProblem::permission)) + " ");
    EXPECT_NE(report.find(path), std::string::npos) << report;
    EXPECT_NE(report.find("dialout group"), std::string::npos) << report;
    EXPECT_NE(report.find("Permission denied"), std::string::npos) << report;
}

TEST(TtyDriver, LatencyTimerIsLoweredWhereSysfsOffersIt) {
    test::TempDir dir;
    const std::string sys = dir.file("sys");
    const auto port_dir = dir.path() / "sys/bus/usb-serial/devices/ttyUSB3";
    std::filesystem::create_directories(port_dir);
    test::write_file((port_dir / "latency_timer").string(), "16\n");
    test::write_file(dir.file("ttyUSB3"), "");
    test::write_file(dir.file("ttyUSB4"), "");
    struct Case {
        std::string device;
        bool lowered;
    } const cases[] = {{dir.file("ttyUSB3"), true},
                       {dir.file("ttyUSB4"), false},   // no such port in sysfs
                       {dir.file("ttyUSB5"), false}};  // no such device
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        EXPECT_EQ(lower_sysfs_latency(c.device, sys), c.lowered);
    }
    EXPECT_EQ(test::read_file((port_dir / "latency_timer").string()), "1\n");
}

}  // namespace
}  // namespace zavi::posix
