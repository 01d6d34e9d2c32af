#include "link/config_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/link_fixture.h"

namespace zavi::test {
namespace {

using ConfigTest = LinkTest;

struct RecordRead {
    const char* name;
    LinkResult (*read)(DriverHandle);
    Bytes request;      // on the wire
    uint32_t ask;       // most bytes a read may take
    Bytes data;         // the answer's data
    Bytes (*stored)();  // the record afterwards, as bytes
};

Bytes actions_bytes() {
    return Bytes(action_table.entry, action_table.entry + 9);
}
Bytes call_answer_bytes() {
    return {call_answer.sms, call_answer.reactions};
}
Bytes auto_reset_bytes() {
    return {auto_reset.period};
}
Bytes auto_status_bytes() {
    return {auto_status.value};
}
Bytes sim_codes_bytes() {
    return {static_cast<uint8_t>(sim_codes.pin >> 8),  static_cast<uint8_t>(sim_codes.pin),
            static_cast<uint8_t>(sim_codes.puk >> 24), static_cast<uint8_t>(sim_codes.puk >> 16),
            static_cast<uint8_t>(sim_codes.puk >> 8),  static_cast<uint8_t>(sim_codes.puk)};
}

const RecordRead kReads[] = {
    {"actions",
     read_actions,
     {0x4D, 0x0B, 0x00, 0x23, 0x16},
     30,
     {0xC0, 0x20, 0x10, 0x0C, 0x03, 0x16, 0x53, 0x4D, 0x6E},
     actions_bytes},
    {"call answer",
     read_call_answer,
     {0x4D, 0x6E, 0xE9, 0x00, 0x46, 0x16},
     11,
     {1, 0x21},
     call_answer_bytes},
    {"auto reset", read_auto_reset, {0x4D, 0x14, 0x00, 0xD7, 0x16}, 10, {4}, auto_reset_bytes},
    {"auto status",
     read_auto_status,
     {0x4D, 0x1A, 0x00, 0x0B, 0x16},
     10,
     {0xC3},
     auto_status_bytes},
    {"sim codes",
     read_sim_codes,
     {0x4D, 0x09, 0x00, 0xB2, 0x16},
     24,
     {0x12, 0x34, 0x87, 0x65, 0x43, 0x21},
     sim_codes_bytes},
};

uint8_t command_of(const RecordRead& r) {
    return r.request[1] == 0x6E ? static_cast<uint8_t>(~r.request[2]) : r.request[1];
}

TEST_F(ConfigTest, ReadsSendTheirRequestAndStoreTheAnswer) {
    for (const auto& r : kReads) {
        ScriptedDriver fresh;
        fresh.reply(answer_frame(command_of(r), r.data));
        EXPECT_EQ(r.read(fresh.handle()), kOk) << r.name;
        EXPECT_EQ(fresh.written(0), r.request) << r.name;
        EXPECT_EQ(r.stored(), r.data) << r.name;
    }
    EXPECT_EQ(sim_codes.pin, 0x1234);
    EXPECT_EQ(sim_codes.puk, 0x87654321u);
    EXPECT_EQ(call_answer.sms, 1);  // data byte 0, not 1
}

TEST_F(ConfigTest, ReadsRejectOtherLengthsEchoesAndCrcs) {
    for (const auto& r : kReads) {
        const Bytes before = r.stored();
        const uint8_t command = command_of(r);
        Bytes longer = r.data;
        longer.push_back(0);
        Bytes bad_crc = answer_frame(command, r.data);
        bad_crc[bad_crc.size() - 2] ^= 0x01;
        const Bytes answers[] = {
            answer_frame(command, longer),
            answer_frame(command, Bytes(r.data.begin(), r.data.end() - 1)),
            answer_frame(static_cast<uint8_t>(command + 1), r.data),
            bad_crc,
        };
        for (const auto& answer : answers) {
            ScriptedDriver fresh;
            fresh.reply(answer);
            EXPECT_EQ(r.read(fresh.handle()), kFailed) << r.name;
            EXPECT_EQ(r.stored(), before) << r.name;
        }
    }
}

TEST_F(ConfigTest, ReadsTakeNoMoreThanTheirAnswerMayHold) {
    for (const auto& r : kReads) {
        ScriptedDriver fresh;
        fresh.reply(Bytes(600, 0x41));
        EXPECT_EQ(r.read(fresh.handle()), kFailed) << r.name;
        uint32_t total = 0;
        for (uint32_t ask : fresh.read_asks()) total += ask;
        // The plain read size, or the answer with every byte escaped if that is longer.
        const auto escaped_answer = static_cast<uint32_t>(2 + 2 * (r.data.size() + 4));
        EXPECT_EQ(total, std::max(r.ask, escaped_answer)) << r.name;
    }
}

TEST_F(ConfigTest, WritesSendTheRecordAndNeedTheirAck) {
    action_table = {{0xC0, 0x20, 0x10, 0x0C, 0x03, 0x16, 0x53, 0x4D, 0x6E}};
    call_answer = {1, 0x21};
    auto_reset = {5};
    auto_status = {0x83};
    const struct {
        const char* name;
        LinkResult (*write)(DriverHandle);
        uint8_t command;
        Bytes data;
    } writes[] = {
        {"actions", write_actions, 12, {0xC0, 0x20, 0x10, 0x0C, 0x03, 0x16, 0x53, 0x4D, 0x6E}},
        {"call answer", write_call_answer, 23, {1, 0x21}},
        {"auto reset", write_auto_reset, 21, {5}},
        {"auto status", write_auto_status, 27, {0x83}},
    };
    for (const auto& w : writes) {
        ScriptedDriver fresh;
        fresh.reply(ack(w.command));
        fresh.reply(ack(static_cast<uint8_t>(w.command - 1)));
        EXPECT_EQ(w.write(fresh.handle()), kOk) << w.name;
        EXPECT_EQ(fresh.written(0), request_frame(w.command, w.data)) << w.name;
        EXPECT_EQ(w.write(fresh.handle()), kFailed) << w.name;
    }
}

TEST_F(ConfigTest, SimCodesGoMostSignificantByteFirst) {
    const struct {
        uint16_t pin;
        uint32_t puk;
        Bytes data;
    } cases[] = {
        {0x1234, 0x56789012, {0x12, 0x34, 0x56, 0x78, 0x90, 0x12}},
        {0xFFFF, 0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& c : cases) {
        ScriptedDriver fresh;
        fresh.reply(ack(10));
        sim_codes = {c.pin, c.puk};
        EXPECT_EQ(write_sim_codes(fresh.handle()), kOk);
        EXPECT_EQ(fresh.written(0), request_frame(10, c.data));
    }
}

}  // namespace
}  // namespace zavi::test
