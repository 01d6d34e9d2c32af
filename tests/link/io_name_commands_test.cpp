#include "link/io_name_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/link_fixture.h"

namespace zavi::test {
namespace {

using IoNamesTest = LinkTest;

Bytes half_answer(uint8_t half, const std::string (&names)[6]) {
    Bytes data = {half};
    for (const auto& n : names) data = concat({data, wire_text(n)});
    return answer_frame(24, data);
}

void fill_all_slots() {
    for (std::size_t i = 0; i < kIoNameCount; ++i)
        std::snprintf(io_names.name[i], kIoNameSlot, "slot %zu", i);
}

TEST_F(IoNamesTest, ReadFillsOnlyItsHalf) {
    fill_all_slots();
    drv.reply(half_answer(1, {"a", "", "Heating on", "b", "", "c"}));
    ASSERT_EQ(read_io_names(h, 1), kOk);
    EXPECT_EQ(drv.written(0), request_frame(24, {1}));
    EXPECT_STREQ(io_names.name[5], "slot 5");
    EXPECT_STREQ(io_names.name[6], "a");
    EXPECT_STREQ(io_names.name[7], "");
    EXPECT_STREQ(io_names.name[8], "Heating on");
    EXPECT_STREQ(io_names.name[11], "c");

    drv.reply(half_answer(0, {"", "", "", "", "", ""}));
    ASSERT_EQ(read_io_names(h, 0), kOk);
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(io_names.name[i], "") << i;
    EXPECT_STREQ(io_names.name[6], "a");
}

TEST_F(IoNamesTest, LongNamesAreCutToTheirSlot) {
    drv.reply(half_answer(0, {std::string(60, 'x'), "y", "", "", "", ""}));
    ASSERT_EQ(read_io_names(h, 0), kOk);
    EXPECT_EQ(std::string(io_names.name[0]), std::string(44, 'x'));
    EXPECT_STREQ(io_names.name[1], "y");
}

TEST_F(IoNamesTest, BadAnswersChangeNothing) {
    Bytes bad_crc = half_answer(1, {"a", "b", "c", "d", "e", "f"});
    bad_crc[bad_crc.size() - 2] ^= 0x01;
    const struct {
        const char* name;
        Bytes reply;
        LinkResult result;
    } cases[] = {
        {"half 0 echoed", half_answer(0, {"a", "b", "c", "d", "e", "f"}), kBadEcho},
        {"name past the end", answer_frame(24, concat({{1}, wire_text("a"), {9, 'x'}})), kBadEcho},
        {"names missing", answer_frame(24, concat({{1}, wire_text("a")})), kBadEcho},
        {"bad CRC", bad_crc, kBadCrc},
        {"no answer", {}, kNoFrameEnd},
    };
    fill_all_slots();
    const IoNames before = io_names;
    for (const auto& c : cases) {
        ScriptedDriver fresh;
        if (!c.reply.empty()) fresh.reply(c.reply);
        EXPECT_EQ(read_io_names(fresh.handle(), 1), c.result) << c.name;
        EXPECT_TRUE(same_bytes(io_names, before)) << c.name;
    }
}

TEST_F(IoNamesTest, WriteSendsTheSixNamesOfTheHalf) {
    fill_all_slots();
    std::memset(io_names.name[7], 'L', 41);
    io_names.name[7][41] = '\0';
    std::memset(io_names.name[9], 'N', kIoNameSlot);  // no NUL anywhere in the slot
    io_names.name[10][0] = '\0';
    drv.reply(ack(25));
    ASSERT_EQ(write_io_names(h, 1), kOk);
    EXPECT_EQ(drv.written(0), request_frame(25, concat({{1},
                                                        wire_text("slot 6"),
                                                        wire_text(std::string(40, 'L')),
                                                        wire_text("slot 8"),
                                                        wire_text(std::string(40, 'N')),
                                                        wire_text(""),
                                                        wire_text("slot 11")})));
    std::memset(io_names.name, 0, sizeof io_names.name);
    drv.reply(ack(25));
    ASSERT_EQ(write_io_names(h, 0), kOk);
    EXPECT_EQ(drv.written(1), request_frame(25, {0, 0, 0, 0, 0, 0, 0}));
    drv.reply(ack(24));
    EXPECT_EQ(write_io_names(h, 0), kFailed);
}

}  // namespace
}  // namespace zavi::test
