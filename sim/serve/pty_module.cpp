#include "sim/serve/pty_module.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace zavi::sim {

namespace {

constexpr int kPollMs = 2;
constexpr uint32_t kModuleReadMs = 1;  // how long one look for answer bytes may wait
constexpr std::size_t kChunk = 512;

bool write_all(int fd, const uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t n = ::write(fd, bytes, count);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        bytes += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

PtyModule::~PtyModule() {
    close();
}

bool PtyModule::open(std::string* error) {
    close();
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        *error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        close();
        return false;
    }
    const char* name = ptsname(master_);
    if (name == nullptr) {
        *error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        close();
        return false;
    }
    slave_path_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        *error = "cannot open " + slave_path_ + ": " + std::strerror(errno);
        close();
        return false;
    }
    // Raw from the start: no echo or line editing of bytes written before a program sets the
    // port up itself.
    termios t{};
    if (tcgetattr(slave_, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(slave_, TCSANOW, &t);
    }
    return true;
}

void PtyModule::serve(SimDriver& module, const std::atomic<bool>& stop,
                      const std::function<void()>& after_write) {
    DriverHandle handle = nullptr;
    if (module.open_by_index(0, &handle) != kDriverOk) return;
    module.set_timeouts(handle, kModuleReadMs, 0);
    uint8_t buffer[kChunk];
    while (!stop.load() && master_ >= 0) {
        pollfd p{master_, POLLIN, 0};
        const int ready = poll(&p, 1, kPollMs);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && (p.revents & POLLIN)) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                uint32_t written = 0;
                module.write(handle, buffer, static_cast<uint32_t>(n), &written);
                if (after_write) after_write();
            } else if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EIO) {
                break;
            }
        } else if (ready > 0 && (p.revents & (POLLERR | POLLNVAL))) {
            break;
        }
        uint32_t got = 0;
        if (module.read(handle, buffer, sizeof buffer, &got) != kDriverOk) continue;
        if (got > 0 && !write_all(master_, buffer, got)) break;
    }
    module.close(handle);
}

void PtyModule::close() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
    slave_ = master_ = -1;
}

}  // namespace zavi::sim
