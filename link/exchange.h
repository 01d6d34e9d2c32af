// The two shapes every command takes: a request answered by a frame, and a request answered by
// the module's acknowledgement.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "link/connection.h"

namespace zavi {

// Sends the request and receives its answer. kFailed when the send failed, otherwise the
// result of receive_frame.
LinkResult request_answer(DriverHandle handle, uint8_t command, std::span<const uint8_t> data,
                          std::size_t ask, int expected_length, int expected_sub_index,
                          Response& answer);

// Sends the request and awaits the acknowledgement. kOk or kFailed.
LinkResult request_ack(DriverHandle handle, uint8_t command, std::span<const uint8_t> data);

}  // namespace zavi
