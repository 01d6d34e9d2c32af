// What a command against the module gives back.
#pragma once

#include <cstdint>

namespace zavi {

// Results of the commands. Most commands only give ok or failed; read_status and
// read_io_names tell the failures apart. The values are those the module-facing code has
// always returned, so logs and journals read the same.
enum class LinkResult : uint8_t {
    ok = 0,
    failed = 1,        // write error, short write, or any failure of a simple command
    read_failed = 2,   // the read call failed
    no_frame_end = 3,  // no frame end in the received bytes
    bad_crc = 4,       // CRC not 0 (or too few bytes for it)
    bad_echo = 5,      // command, length or part/half echo wrong
};
inline constexpr LinkResult kOk = LinkResult::ok;
inline constexpr LinkResult kFailed = LinkResult::failed;
inline constexpr LinkResult kReadFailed = LinkResult::read_failed;
inline constexpr LinkResult kNoFrameEnd = LinkResult::no_frame_end;
inline constexpr LinkResult kBadCrc = LinkResult::bad_crc;
inline constexpr LinkResult kBadEcho = LinkResult::bad_echo;

}  // namespace zavi
