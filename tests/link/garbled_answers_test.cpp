// Garbled answers of every read command: whatever arrives, a command either succeeds or leaves
// its record exactly as it was, and never reads or writes outside its buffers (the sanitizer
// build checks the latter).
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "link/config_commands.h"
#include "link/io_name_commands.h"
#include "link/phone_commands.h"
#include "link/status_commands.h"
#include "tests/support/link_fixture.h"

namespace zavi::test {
namespace {

struct Target {
    const char* name;
    LinkResult (*read)(DriverHandle);
    Bytes good_answer;
    void* record;
    std::size_t record_size;
    LinkResult max_result;
};

LinkResult status_part0(DriverHandle h) {
    return read_status(h, 0);
}
LinkResult io_half1(DriverHandle h) {
    return read_io_names(h, 1);
}
LinkResult block7(DriverHandle h) {
    uint8_t count = 0;
    const LinkResult result = read_accepted_block(h, 7, &count);
    return result == kOk && count > 8 ? LinkResult{99}
                                      : result;  // block 7 never stores more than 8
}

// n numbers, each with one byte that needs escaping on the wire.
Bytes seven_digits(int n) {
    Bytes out(7 * n, 0x48);
    for (int i = 0; i < n; ++i) out[7 * i] = 0x16;
    return out;
}

Bytes garble(Bytes bytes, std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    switch (rng() % 5) {
        case 0:  // flip one byte
            if (!bytes.empty()) bytes[rng() % bytes.size()] = static_cast<uint8_t>(byte(rng));
            break;
        case 1:  // cut short
            bytes.resize(rng() % (bytes.size() + 1));
            break;
        case 2:  // a byte that looks like a length, where the data starts
            if (bytes.size() > 5) bytes[4 + rng() % 2] = static_cast<uint8_t>(byte(rng));
            break;
        default:  // noise around it
            for (int i = 0; i < 8; ++i)
                bytes.insert(bytes.begin(), static_cast<uint8_t>(byte(rng)));
            bytes.push_back(0x16);
            break;
    }
    return bytes;
}

TEST(GarbledAnswers, SucceedOrChangeNothing) {
    const Target targets[] = {
        {"status 0", status_part0,
         answer_frame(8, concat({{0},
                                 Bytes(10, 2),
                                 wire_text("ab"),
                                 wire_text("c"),
                                 wire_text(""),
                                 wire_text("d")})),
         &device_status, sizeof device_status, kBadEcho},
        {"io names 1", io_half1,
         answer_frame(24, concat({{1},
                                  wire_text("a"),
                                  wire_text("bb"),
                                  wire_text(""),
                                  wire_text("c"),
                                  wire_text(""),
                                  wire_text("d")})),
         &io_names, sizeof io_names, kBadEcho},
        {"emergency", read_emergency_numbers, answer_frame(13, concat({{7}, seven_digits(7)})),
         emergency_numbers, sizeof emergency_numbers, kFailed},
        {"block 7", block7, answer_frame(16, concat({{7, 12}, seven_digits(12)})), accepted_numbers,
         sizeof accepted_numbers, kFailed},
        {"alarm settings", read_alarm_settings, answer_frame(6, Bytes(14, 9)), &alarm_settings,
         sizeof alarm_settings, kFailed},
        {"actions", read_actions, answer_frame(11, Bytes(9, 0x6E)), &action_table,
         sizeof action_table, kFailed},
    };
    std::mt19937 rng(20240611);
    for (const auto& t : targets) {
        int successes = 0;
        for (int round = 0; round < 300; ++round) {
            reset_all_records();
            std::memset(t.record, 0x5A, t.record_size);
            Bytes before(t.record_size);
            std::memcpy(before.data(), t.record, t.record_size);
            ScriptedDriver drv;
            const Bytes answer = garble(t.good_answer, rng);
            drv.reply(answer);
            const LinkResult result = t.read(drv.handle());
            ASSERT_LE(result, t.max_result) << t.name << " round " << round;
            if (result != kOk) {
                ASSERT_EQ(std::memcmp(before.data(), t.record, t.record_size), 0)
                    << t.name << " round " << round;
            } else {
                ++successes;
            }
        }
        // Some garbling (noise ahead of the frame, a cut after the end byte) leaves a good
        // answer; without any, the rounds would test only the rejection.
        EXPECT_GT(successes, 0) << t.name;
        EXPECT_LT(successes, 300) << t.name;
    }
}

}  // namespace
}  // namespace zavi::test
