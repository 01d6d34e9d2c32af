// What the simulated module answers to each read, and what each write leaves in it.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim/module_behaviour.h"
#include "tests/sim/wire_helpers.h"

namespace zavi::sim {
namespace {

bool contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

Number number(uint8_t a, uint8_t b, uint8_t c = 0xFF) {
    return {a, b, c, 0xFF, 0xFF, 0xFF, 0xFF};
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The length-prefixed texts of `data` from `pos` on; fails the test if they overrun the data.
std::vector<std::string> texts_at(const Bytes& data, std::size_t pos) {
    std::vector<std::string> out;
    while (pos < data.size()) {
        const std::size_t n = data[pos];
        EXPECT_LE(pos + 1 + n, data.size());
        if (pos + 1 + n > data.size()) break;
        out.emplace_back(data.begin() + pos + 1, data.begin() + pos + 1 + n);
        pos += 1 + n;
    }
    return out;
}

TEST(SimAnswers, FirmwareTextHasItsStartAndFrameCharactersEscaped) {
    SimLink link;
    const Bytes wire = link.exchange(1);
    // "S" and "M" of the text travel as 6E AC and 6E B2, so a good answer is at least 21 bytes.
    EXPECT_TRUE(contains(wire, {0x6E, 0xAC}));
    EXPECT_TRUE(contains(wire, {0x6E, 0xB2}));
    EXPECT_GE(wire.size(), 21u);
    EXPECT_EQ(std::count(wire.begin(), wire.end(), kResponseStart), 1);
    const Bytes plain = decode_answer(wire);
    ASSERT_GE(plain.size(), 17u);
    EXPECT_EQ(plain[1], 14);
    EXPECT_EQ(Bytes(plain.begin() + 3, plain.begin() + 16), text_bytes("ZAVI-GSM v1.7"));

    link.sim.state().firmware = "ZAVI-GSM v1.10";
    EXPECT_EQ(decode_answer(link.exchange(1))[1], 15);
}

TEST(SimAnswers, StatusPartsCarryTheirValuesAndTexts) {
    SimLink link;
    ModuleState& s = link.sim.state();
    s.temp1_negative = 1, s.temp1_whole = 12, s.temp1_tenths = 3;
    s.temp2_negative = 0, s.temp2_whole = 45, s.temp2_tenths = 6;
    s.battery_level = 77, s.battery_flags = 0x81, s.gsm_signal = 99, s.gsm_state = 4;
    s.io_state_text = {"open", "", "volt", "S\x16M", "on", "off"};
    s.operator_name = "Orange PL";

    EXPECT_EQ(answer_data_of(link.exchange(8, {0}), 8, 0),
              concat({{0, 1, 12, 3, 0, 45, 6, 77, 0x81, 99, 4},
                      {4},
                      text_bytes("open"),
                      {0},
                      {4},
                      text_bytes("volt"),
                      {3, 'S', 0x16, 'M'}}));
    EXPECT_EQ(answer_data_of(link.exchange(8, {1}), 8, 1),
              concat({{1, 2}, text_bytes("on"), {3}, text_bytes("off")}));
    EXPECT_EQ(answer_data_of(link.exchange(8, {2}), 8, 2),
              concat({{2, 9}, text_bytes("Orange PL")}));
    EXPECT_EQ(answer_data_of(link.exchange(8, {7}), 8, 7), Bytes{7});
}

TEST(SimAnswers, FixedSizeRecordsGoMostSignificantByteFirstInTableOrder) {
    SimLink link;
    ModuleState& s = link.sim.state();
    for (uint8_t i = 0; i < 14; ++i) s.alarm_settings[i] = uint8_t(0xA0 + i);
    for (uint8_t i = 0; i < 9; ++i) s.actions[i] = uint8_t(0xC0 | i);
    s.pin = 0x1234, s.puk = 0x56789012;
    s.call_answer_sms = 1, s.call_answer_reactions = 0x21;
    s.accept_all = 1, s.auto_reset = 5, s.auto_status = 0x83;

    const std::vector<std::pair<uint8_t, Bytes>> cases = {
        {6, Bytes(s.alarm_settings.begin(), s.alarm_settings.end())},
        {9, {0x12, 0x34, 0x56, 0x78, 0x90, 0x12}},
        {11, Bytes(s.actions.begin(), s.actions.end())},
        {18, {1}},
        {20, {5}},
        {22, {1, 0x21}},
        {26, {0x83}},
    };
    for (const auto& [command, expected] : cases)
        EXPECT_EQ(answer_data_of(link.exchange(command), command), expected) << int(command);
}

TEST(SimAnswers, NumbersHoldingControlBytesAreEscapedOnTheWire) {
    SimLink link;
    const Number a = number(0x16, 0x53), b = number(0x4D, 0x6E);
    link.sim.state().emergency_numbers = {a, b};
    const Bytes wire = link.exchange(13);
    EXPECT_EQ(std::find(wire.begin(), wire.end() - 1, kFrameEnd), wire.end() - 1);
    EXPECT_TRUE(contains(wire, {0x6E, 0xE9, 0x6E, 0xAC}));
    EXPECT_EQ(answer_data_of(wire, 13),
              concat({{2}, Bytes(a.begin(), a.end()), Bytes(b.begin(), b.end())}));
}

TEST(SimAnswers, AcceptedListOfMoreThan260IsServedIn36NumberBlocks) {
    SimLink link;
    auto& list = link.sim.state().accepted_numbers;
    for (int i = 0; i < 300; ++i) list.push_back(number(uint8_t(i / 100), uint8_t(i % 100)));

    const std::vector<std::pair<uint8_t, std::size_t>> blocks = {{0, 36}, {7, 36}, {8, 12}, {9, 0}};
    for (const auto& [block, count] : blocks) {
        const Bytes data = answer_data_of(link.exchange(16, {block}), 16);
        ASSERT_EQ(data.size(), 2 + 7 * count) << int(block);
        EXPECT_EQ(data[1], count);
        for (std::size_t i = 0; i < count; ++i)
            EXPECT_TRUE(std::equal(list[36 * block + i].begin(), list[36 * block + i].end(),
                                   data.begin() + 2 + 7 * i));
    }
}

TEST(SimAnswers, EmergencyListLongerThanOneFrameIsCut) {
    SimLink link;
    link.sim.state().emergency_numbers.assign(40, number(0x12, 0x34));
    const Bytes data = answer_data_of(link.exchange(13), 13);
    EXPECT_EQ(data[0], 36);
    EXPECT_EQ(data.size(), 1 + 36 * 7u);
}

TEST(SimAnswers, IoNameHalfZeroIsSlotsZeroToFiveAnyOtherHalfSixToEleven) {
    SimLink link;
    for (int i = 0; i < 12; ++i) link.sim.state().io_names[i] = "name" + std::to_string(i);
    const std::vector<std::pair<uint8_t, int>> halves = {{0, 0}, {1, 6}, {5, 6}};
    for (const auto& [half, first] : halves) {
        const Bytes data = answer_data_of(link.exchange(24, {half}), 24, half);
        const auto names = texts_at(data, 1);
        ASSERT_EQ(names.size(), 6u);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(names[i], "name" + std::to_string(first + i));
    }
}

TEST(SimAnswers, OverlongTextsAreCutSoTheFrameStaysValid) {
    ModuleState s;
    s.io_state_text.fill(std::string(200, 'x'));
    s.operator_name = std::string(300, 'o');
    s.io_names.fill(std::string(100, 'n'));
    s.firmware = std::string(300, 'f');
    const std::vector<std::tuple<uint8_t, uint8_t, std::size_t, std::size_t>> cases = {
        // command, sub-index, where the texts start, how many texts
        {8, 0, 11, 4},
        {8, 1, 1, 2},
        {8, 2, 1, 1},
        {24, 0, 1, 6},
        {24, 1, 1, 6}};
    for (const auto& [command, sub, first, count] : cases) {
        const Bytes data = answer_data(s, command, Bytes{sub});
        EXPECT_LE(data.size(), kMaxFrameData);
        EXPECT_EQ(texts_at(data, first).size(), count) << int(command) << "/" << int(sub);
        WireFrame wire;
        EXPECT_TRUE(encode_frame(kResponseStart, command, data, wire));
    }
    EXPECT_EQ(answer_data(s, 1, {}).size(), kMaxFrameData);
}

// Each write is acknowledged with "S", command, 00, CRC, end byte, and the matching read then
// serves exactly the bytes written (the layouts of the reads are pinned down above).
TEST(SimWrites, EveryWriteIsAcknowledgedAndReadsBackAsWritten) {
    const Bytes number = {0x49, 0x12, 0x34, 0x44, 0x65, 0x7F, 0xFF};
    const std::vector<std::tuple<uint8_t, uint8_t, Bytes, Bytes>> cases = {
        // write, read, data written, request data of the read
        {7, 6, {0xF5, 1, 10, 0, 0, 5, 0, 0, 60, 0, 1, 20, 0, 30}, {}},
        {10, 9, {0x12, 0x34, 0x56, 0x78, 0x90, 0x12}, {}},
        {12, 11, {0xC0, 1, 2, 3, 4, 5, 6, 7, 0x3F}, {}},
        {14, 13, concat({{2}, number, number}), {}},
        {17, 16, concat({{0, 1}, number}), {0}},
        {19, 18, {1}, {}},
        {21, 20, {3}, {}},
        {23, 22, {1, 0x12}, {}},
        {25, 24, concat({{1, 2}, text_bytes("ab"), {0, 0, 0, 0, 1, 'z'}}), {1}},
        {27, 26, {0xC2}, {}},
    };
    for (const auto& [write, read, data, read_request] : cases) {
        SimLink link;
        EXPECT_EQ(link.exchange(write, data),
                  (Bytes{0x53, write, 0x00, crc8(Bytes{write, 0}), 0x16}))
            << int(write);
        EXPECT_EQ(answer_data_of(link.exchange(read, read_request), read), data) << int(write);
    }

    SimLink link;
    link.sim.state().io_names[0] = "keep";
    link.exchange(25, {1, 0, 0, 0, 0, 0, 0});
    link.exchange(15);
    link.exchange(15);
    EXPECT_EQ(link.sim.state().io_names[0], "keep");
    EXPECT_EQ(link.sim.state().resets, 2u);
}

TEST(SimWrites, AcceptedBlockKeepsEarlierBlocksAndReplacesTheRest) {
    SimLink link;
    auto& list = link.sim.state().accepted_numbers;
    list.assign(100, number(0x11, 0x11));
    link.exchange(17, concat({{1, 2}, Bytes(14, 0x22)}));
    ASSERT_EQ(list.size(), 38u);
    EXPECT_EQ(list[35], number(0x11, 0x11));
    EXPECT_EQ(list[37][0], 0x22);

    // A save of 40 numbers: blocks with 36, 4, then six empty ones.
    std::vector<Bytes> sent;
    for (uint8_t b = 0; b < 8; ++b) {
        const uint8_t c = b == 0 ? 36 : b == 1 ? 4 : 0;
        Bytes data{b, c};
        for (int i = 0; i < c; ++i) {
            const Number n = number(b, uint8_t(i));
            data.insert(data.end(), n.begin(), n.end());
        }
        link.exchange(17, data);
    }
    ASSERT_EQ(list.size(), 40u);
    EXPECT_EQ(list[36], number(1, 0));

    link.exchange(17, {0, 0});
    EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace zavi::sim
