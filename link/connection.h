// The device connection: opening a module with its firmware check, the time-outs, and the
// transaction pattern every command follows (purge, write, read, check).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "link/codec.h"
#include "link/driver.h"
#include "link/result.h"
#include "link/thread_binding.h"

namespace zavi {

constexpr char kRequiredFirmware[] = "ZAVI-GSM v1.7";  // 13 characters, compared byte for byte
constexpr std::size_t kFirmwareLength = 13;
constexpr uint32_t kReadTimeoutMs = 1000;
constexpr uint32_t kLongReadTimeoutMs = 3000;  // during the telephone-number save
constexpr uint32_t kWriteTimeoutMs = 0;
constexpr std::size_t kMaxReceive = 520;  // the largest read asks for 512 bytes

// Results of open_device.
constexpr uint8_t kOpenOk = 0;
constexpr uint8_t kOpenFailed = 1;
constexpr uint8_t kOpenWrongFirmware = 2;

// The one module the program talks to: opened once at start-up, passed to every command, closed
// at the end. Null while no module is open.
ZAVI_PER_THREAD(DriverHandle, device_handle);  // the calling thread's (link/link_state.h)

// Where open_device reports a module with other firmware. The user interface shows the text in
// a message box (information icon, caption "ZAVI ALARM-GSM", owned by the main window).
class FirmwareNotice {
  public:
    virtual ~FirmwareNotice() = default;
    virtual void firmware_mismatch(std::string_view message_utf8) = 0;
};

// The firmware message for a module that reported `major`.`minor`, in `language`.
void format_firmware_message(uint8_t language, char major, char minor, char* out, std::size_t size);

// 0: open, answered and runs the required firmware; *handle holds it.
// 1: could not be opened or did not answer properly; nothing stays open, *handle is null.
// 2: another firmware; the message went to `notice`, nothing stays open, *handle is null.
uint8_t open_device(int index, DriverHandle* handle, uint8_t language, FirmwareNotice& notice);

// Sets the driver's time-outs and remembers the read time-out, which also bounds a receive.
DriverStatus set_link_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms);
uint32_t link_read_timeout_ms();

// Purge, build, escape, frame and write in one call. False on a write error or short write.
bool send_frame(DriverHandle handle, uint8_t command, std::span<const uint8_t> data);

// A decoded, accepted response frame.
struct Response : PlainFrame {
    // Data bytes: from decoded byte 3 up to (not including) the data CRC.
    std::span<const uint8_t> data() const;
};

// Receives one answer of up to `ask` bytes and applies the acceptance rules. Returns kOk,
// kReadFailed, kNoFrameEnd, kBadCrc or kBadEcho. The read stops as soon as the bytes hold a
// complete answer that passes the checks, instead of always waiting out the read time-out.
LinkResult receive_frame(DriverHandle handle, uint8_t command, std::size_t ask, int expected_length,
                         int expected_sub_index, Response& out);

// One read of exactly 5 bytes, checked as the module's acknowledgement of `command`.
bool await_ack(DriverHandle handle, uint8_t command);

}  // namespace zavi
