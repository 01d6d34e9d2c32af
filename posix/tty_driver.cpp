#include "posix/tty_driver.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/serial.h>
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace zavi::posix {

struct TtyDriver::Port {
    int fd = -1;
    std::string path;
    uint32_t read_ms = 0;   // 0: no time-out
    uint32_t write_ms = 0;  // 0: no time-out
    bool broken = false;    // a read or write failed for good: nothing more goes out
};

namespace {

uint64_t steady_us() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// poll() for `events` until `deadline` when `limited` (for ever otherwise): its result, or 0
// once the deadline has passed.
int poll_until(int fd, short events, bool limited, uint64_t deadline, short* revents) {
    int wait = -1;
    if (limited) {
        const uint64_t now = steady_us();
        if (now >= deadline) return 0;
        wait = static_cast<int>((deadline - now + 999) / 1000);
    }
    pollfd p{fd, events, 0};
    const int ready = poll(&p, 1, wait);
    *revents = p.revents;
    return ready;
}

PortProblem problem_of_open_error(int os_error) {
    switch (os_error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
            return PortProblem::missing;
        case EACCES:
        case EPERM:
            return PortProblem::permission;
        case EBUSY:
        case EWOULDBLOCK:
            return PortProblem::busy;
        case ENOTTY:
            return PortProblem::not_a_tty;
        case EIO:
            return PortProblem::hung_up;
        default:
            return PortProblem::failed;
    }
}

std::string message_for(PortProblem problem, const std::string& path, int os_error,
                        const char* what) {
    const std::string why =
        std::string(" (") + (os_error == 0 ? "no reason given" : std::strerror(os_error)) + ")";
    switch (problem) {
        case PortProblem::missing:
            return "The port " + path + " does not exist" + why +
                   ". Is the module plugged in and the name right?";
        case PortProblem::not_a_tty:
            return path + " is not a serial port" + why + ".";
        case PortProblem::busy:
            return "The port " + path + " is in use by another program" + why +
                   ". Close the other program and try again.";
        case PortProblem::permission:
            return "No permission to open the port " + path + why +
                   ". Add the user to the dialout group (sudo usermod -aG dialout $USER) and "
                   "log in again.";
        case PortProblem::hung_up:
            return "The port " + path + " hung up while " + what + why +
                   ": the module or its cable went away.";
        case PortProblem::failed:
        case PortProblem::none:
            break;
    }
    return "The port " + path + " failed while " + what + why + ".";
}

PortFailure failure(PortProblem problem, const std::string& path, int os_error, const char* what) {
    return {{os_error, message_for(problem, path, os_error, what)}, problem};
}

// 9600 baud, 8 data bits, no parity, one stop bit, no flow control of any kind, no character
// translated or taken as a signal, read returns as soon as one byte is there.
bool make_raw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    t.c_iflag &= ~(IXON | IXOFF | IXANY | ISTRIP | INPCK | IGNBRK | BRKINT | PARMRK);
    t.c_iflag |= IGNPAR;
    t.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, B9600) != 0 || cfsetospeed(&t, B9600) != 0) return false;
    if (tcsetattr(fd, TCSANOW, &t) != 0) return false;
    // tcsetattr succeeds when any one change took; read back what the port accepted.
    termios back{};
    if (tcgetattr(fd, &back) != 0) return false;
    return (back.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) == 0 &&
           (back.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR)) == 0 &&
           (back.c_oflag & OPOST) == 0 && (back.c_cflag & CSIZE) == CS8 &&
           (back.c_cflag & (PARENB | CSTOPB | CRTSCTS)) == 0;
}

bool set_low_latency_flag(int fd) {
#ifdef __linux__
    serial_struct s{};
    if (ioctl(fd, TIOCGSERIAL, &s) != 0) return false;
    s.flags |= ASYNC_LOW_LATENCY;
    return ioctl(fd, TIOCSSERIAL, &s) == 0;
#else
    (void)fd;
    return false;
#endif
}

}  // namespace

std::string speed_problem(unsigned long input_speed, unsigned long output_speed) {
    static constexpr struct {
        speed_t code;
        const char* baud;
    } kSpeeds[] = {{B0, "0"},           {B1200, "1200"},    {B2400, "2400"},   {B4800, "4800"},
                   {B9600, "9600"},     {B19200, "19200"},  {B38400, "38400"}, {B57600, "57600"},
                   {B115200, "115200"}, {B230400, "230400"}};
    const auto text = [](unsigned long code) -> std::string {
        for (const auto& s : kSpeeds)
            if (s.code == code) return s.baud;
        return "an unknown speed";
    };
    if (input_speed == B9600 && output_speed == B9600) return "";
    const unsigned long wrong = output_speed != B9600 ? output_speed : input_speed;
    const std::string baud = text(wrong);
    return std::string(output_speed != B9600 ? "sends" : "receives") + " at " + baud +
           (baud == "an unknown speed" ? "" : " baud") + " instead of 9600";
}

namespace {

// Opens and configures the port; on failure nothing stays open and *out says why.
int open_port(const std::string& path, PortFailure* out) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int e = errno;
        *out = failure(problem_of_open_error(e), path, e, "opening");
        return -1;
    }
    bool exclusive = false;
    // The arguments are taken before anything here can change errno.
    auto release = [&] {
        if (exclusive) ioctl(fd, TIOCNXCL);
        ::close(fd);
    };
    auto give_up = [&](PortProblem problem, int e, const char* what) {
        release();
        *out = failure(problem, path, e, what);
        return -1;
    };
    if (!isatty(fd)) return give_up(PortProblem::not_a_tty, ENOTTY, "opening");
    // flock holds against every program that asks, root included; TIOCEXCL stops other opens
    // by programs that do not ask (but not root's).
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return give_up(errno == EWOULDBLOCK ? PortProblem::busy : PortProblem::failed, errno,
                       "claiming");
    if (ioctl(fd, TIOCEXCL) != 0) return give_up(PortProblem::failed, errno, "claiming");
    exclusive = true;
    if (!make_raw(fd))
        return give_up(errno == ENOTTY ? PortProblem::not_a_tty : PortProblem::failed, errno,
                       "setting 9600 8N1 raw");
    // Some adapters accept tcsetattr and keep their own speed; the module only talks at 9600.
    termios set{};
    if (tcgetattr(fd, &set) != 0) return give_up(PortProblem::failed, errno, "setting 9600 baud");
    if (const std::string wrong = speed_problem(cfgetispeed(&set), cfgetospeed(&set));
        !wrong.empty()) {
        release();
        *out = {{0, "The port " + path + " " + wrong + "; the module needs 9600 baud."},
                PortProblem::failed};
        return -1;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return give_up(PortProblem::failed, errno, "configuring");
    *out = {};
    return fd;
}

void close_port(int fd) {
    ioctl(fd, TIOCNXCL);  // the exclusive flag outlives this descriptor otherwise
    ::close(fd);
}

}  // namespace

bool lower_sysfs_latency(const std::string& device_path, const std::string& sysfs_root) {
    std::error_code error;
    const std::filesystem::path device = std::filesystem::canonical(device_path, error);
    if (error) return false;
    const std::filesystem::path file = std::filesystem::path(sysfs_root) / "bus" / "usb-serial" /
                                       "devices" / device.filename() / "latency_timer";
    if (!std::filesystem::is_regular_file(file, error)) return false;
    {
        std::ofstream out(file);
        out << "1\n";
        out.flush();
        if (!out) return false;
    }
    std::ifstream in(file);
    int value = 0;
    return static_cast<bool>(in >> value) && value == 1;
}

PortFailure check_port(const std::string& path) {
    PortFailure result;
    const int fd = open_port(path, &result);
    if (fd >= 0) close_port(fd);
    return result;
}

TtyDriver::TtyDriver(std::vector<std::string> paths) : paths_(std::move(paths)) {}

TtyDriver::~TtyDriver() {
    for (Port* p : open_) {
        close_port(p->fd);
        delete p;
    }
}

TtyDriver::Port* TtyDriver::port_of(DriverHandle handle) const {
    const auto it = std::find(open_.begin(), open_.end(), static_cast<Port*>(handle));
    return it == open_.end() ? nullptr : *it;
}

DriverStatus TtyDriver::fail(Port& port, PortProblem problem, int os_error, const char* what) {
    port.broken = true;
    failure_ = failure(problem, port.path, os_error, what);
    return kDriverIoError;
}

DriverStatus TtyDriver::count_devices(uint32_t* count) {
    if (!count) return kDriverInvalidParameter;
    *count = static_cast<uint32_t>(paths_.size());
    return kDriverOk;
}

DriverStatus TtyDriver::open_by_index(int index, DriverHandle* handle) {
    if (!handle) return kDriverInvalidParameter;
    *handle = nullptr;
    if (index < 0 || index >= static_cast<int>(paths_.size())) return kDriverNotFound;
    const std::string& path = paths_[index];
    const int fd = open_port(path, &failure_);
    if (fd < 0)
        return failure_.problem == PortProblem::missing ? kDriverNotFound : kDriverNotOpened;
    // 1 ms latency: the chip's timer through sysfs, else the driver's flag (a pty has neither).
    if (!lower_sysfs_latency(path, sysfs_root_)) set_low_latency_flag(fd);
    tcflush(fd, TCIOFLUSH);
    Port* port = new Port{fd, path};
    open_.push_back(port);
    *handle = port;
    return kDriverOk;
}

DriverStatus TtyDriver::set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) {
    Port* port = port_of(handle);
    if (!port) return kDriverInvalidHandle;
    port->read_ms = read_ms;
    port->write_ms = write_ms;
    return kDriverOk;
}

DriverStatus TtyDriver::purge(DriverHandle handle, uint32_t mask) {
    Port* port = port_of(handle);
    if (!port) return kDriverInvalidHandle;
    if (port->broken) return kDriverIoError;
    const int which = (mask & 3) == 3 ? TCIOFLUSH : (mask & 1) ? TCIFLUSH : TCOFLUSH;
    if ((mask & 3) != 0 && tcflush(port->fd, which) != 0)
        return fail(*port, problem_of_open_error(errno), errno, "purging");
    return kDriverOk;
}

DriverStatus TtyDriver::write(DriverHandle handle, const void* buffer, uint32_t count,
                              uint32_t* written) {
    Port* port = port_of(handle);
    if (const DriverStatus s = check_transfer(port != nullptr, buffer, count, written);
        s != kDriverOk)
        return s;
    if (port->broken) return kDriverIoError;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    const uint64_t deadline = steady_us() + uint64_t{port->write_ms} * 1000;
    uint32_t done = 0;
    while (done < count) {
        short revents = 0;
        const int ready = poll_until(port->fd, POLLOUT, port->write_ms > 0, deadline, &revents);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return fail(*port, PortProblem::failed, errno, "writing");
        if (ready == 0) break;  // write time-out: a short write
        if (revents & (POLLERR | POLLHUP | POLLNVAL))
            return fail(*port, PortProblem::hung_up, EIO, "writing");
        const ssize_t n = ::write(port->fd, bytes + done, count - done);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n < 0) {
            const int e = errno;
            return fail(*port, e == EIO ? PortProblem::hung_up : PortProblem::failed, e, "writing");
        }
        done += static_cast<uint32_t>(n);
    }
    *written = done;
    failure_ = {};
    return kDriverOk;
}

DriverStatus TtyDriver::read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) {
    Port* port = port_of(handle);
    if (const DriverStatus s = check_transfer(port != nullptr, buffer, count, got); s != kDriverOk)
        return s;
    if (port->broken) return kDriverIoError;
    auto* bytes = static_cast<uint8_t*>(buffer);
    const uint64_t deadline = steady_us() + uint64_t{port->read_ms} * 1000;
    uint32_t done = 0;
    while (done < count) {
        short revents = 0;
        const int ready = poll_until(port->fd, POLLIN, port->read_ms > 0, deadline, &revents);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) {
            *got = done;
            return fail(*port, PortProblem::failed, errno, "reading");
        }
        if (ready == 0) break;  // read time-out: what arrived is the answer
        if (revents & POLLNVAL) {
            *got = done;
            return fail(*port, PortProblem::failed, EBADF, "reading");
        }
        // With POLLHUP the bytes still buffered come first; the read after them fails.
        const ssize_t n = ::read(port->fd, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<uint32_t>(n);
            continue;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        *got = done;
        const int e = n == 0 ? EIO : errno;  // end of file on a tty is a hang-up
        return fail(*port, e == EIO ? PortProblem::hung_up : PortProblem::failed, e, "reading");
    }
    *got = done;
    failure_ = {};
    return kDriverOk;
}

DriverStatus TtyDriver::close(DriverHandle handle) {
    Port* port = port_of(handle);
    if (!port) return kDriverInvalidHandle;
    open_.erase(std::find(open_.begin(), open_.end(), port));
    close_port(port->fd);
    delete port;
    return kDriverOk;
}

}  // namespace zavi::posix
