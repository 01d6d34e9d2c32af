#include "link/exchange.h"

namespace zavi {

LinkResult request_answer(DriverHandle handle, uint8_t command, std::span<const uint8_t> data,
                          std::size_t ask, int expected_length, int expected_sub_index,
                          Response& answer) {
    if (!send_frame(handle, command, data)) return kFailed;
    return receive_frame(handle, command, ask, expected_length, expected_sub_index, answer);
}

LinkResult request_ack(DriverHandle handle, uint8_t command, std::span<const uint8_t> data) {
    if (!send_frame(handle, command, data)) return kFailed;
    return await_ack(handle, command) ? kOk : kFailed;
}

}  // namespace zavi
