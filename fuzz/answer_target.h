// The shape shared by the targets that fuzz what the module sends back: the first input byte
// picks one read operation (a command or a whole worker job), the rest are the module's replies
// (answer_driver.h). After the operation the target checks that
//  - the result is one the operation documents,
//  - every frame the program wrote is a well-formed request for a read command (a read never
//    makes the module change anything),
//  - no request waits much past the read time-out,
//  - a failed single-command read left every record exactly as it was,
//  - text slots keep their NUL and counts stay within their tables,
//  - and whatever the operation adds in `check`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/answer_driver.h"

namespace zavi::fuzz {

struct AnswerOperation {
    const char* name;
    LinkResult (*run)(DriverHandle handle);
    LinkResult max_result;  // failed, or bad_echo for the reads that tell their failures apart
    bool single;            // one command: a failure must leave every record unchanged
    void (*check)(LinkResult result, const AnswerDriver& driver) = nullptr;
};

int run_answer_target(const uint8_t* data, std::size_t size,
                      std::span<const AnswerOperation> operations);

// The command code and data of a request the program wrote; command 0 when it is malformed.
struct WrittenRequest {
    uint8_t command = 0;
    std::vector<uint8_t> data;
};
WrittenRequest decode_written(const std::vector<uint8_t>& wire);

}  // namespace zavi::fuzz
