#include "link/codec.h"

#include <gtest/gtest.h>

#include <vector>

namespace zavi {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes wire(uint8_t command, const Bytes& data, uint8_t start = kRequestStart) {
    WireFrame out;
    EXPECT_TRUE(encode_frame(start, command, data, out));
    return Bytes(out.bytes, out.bytes + out.size);
}

Bytes escape(const Bytes& in) {
    EscapedBytes out;
    EXPECT_TRUE(escape_bytes(in, out));
    return Bytes(out.bytes, out.bytes + out.size);
}

Bytes unescape(const Bytes& in) {
    uint8_t out[kMaxEscaped];
    return Bytes(out, out + unescape_bytes(in, out));
}

TEST(Crc8, CheckValues) {
    const Bytes digits = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(crc8(digits), 0xA1);
    EXPECT_EQ(crc8(Bytes{0x08, 0x02, 0xCA}), 0);
    EXPECT_EQ(crc8(Bytes{0x01, 0x00}), 0xC4);
}

TEST(Requests, EveryRequestWithoutDataMatchesTheWire) {
    const std::vector<std::pair<uint8_t, Bytes>> cases = {
        {1, {0x4D, 0x01, 0x00, 0xC4, 0x16}},        {6, {0x4D, 0x06, 0x00, 0xAA, 0x16}},
        {9, {0x4D, 0x09, 0x00, 0xB2, 0x16}},        {11, {0x4D, 0x0B, 0x00, 0x23, 0x16}},
        {13, {0x4D, 0x0D, 0x00, 0x89, 0x16}},       {15, {0x4D, 0x0F, 0x00, 0x18, 0x16}},
        {18, {0x4D, 0x12, 0x00, 0x7D, 0x16}},       {20, {0x4D, 0x14, 0x00, 0xD7, 0x16}},
        {22, {0x4D, 0x6E, 0xE9, 0x00, 0x46, 0x16}}, {26, {0x4D, 0x1A, 0x00, 0x0B, 0x16}},
    };
    for (const auto& [command, expected] : cases)
        EXPECT_EQ(wire(command, {}), expected) << "command " << int(command);
}

TEST(Requests, StatusPartsMatchTheWire) {
    EXPECT_EQ(wire(8, {0}), (Bytes{0x4D, 0x08, 0x02, 0xCA, 0x00, 0x00, 0x16}));
    EXPECT_EQ(wire(8, {1}), (Bytes{0x4D, 0x08, 0x02, 0xCA, 0x01, 0x5E, 0x16}));
    EXPECT_EQ(wire(8, {2}), (Bytes{0x4D, 0x08, 0x02, 0xCA, 0x02, 0xBC, 0x16}));
}

TEST(Requests, PlainFrameLayout) {
    PlainFrame plain;
    ASSERT_TRUE(build_request(8, Bytes{0}, plain));
    EXPECT_EQ(Bytes(plain.bytes, plain.bytes + plain.size), (Bytes{0x08, 0x02, 0xCA, 0x00, 0x00}));
    ASSERT_TRUE(build_request(1, {}, plain));
    EXPECT_EQ(plain.size, 3u);
}

TEST(Requests, DataLimitIsOneLengthByte) {
    PlainFrame plain;
    const Bytes largest(kMaxFrameData, 0x16);  // every byte escaped: the worst case on the wire
    ASSERT_TRUE(build_request(17, largest, plain));
    EXPECT_EQ(plain.size, kMaxPlainFrame);
    EXPECT_EQ(plain.bytes[1], 255);
    WireFrame out;
    EXPECT_TRUE(encode_frame(kRequestStart, 17, largest, out));
    EXPECT_LE(out.size, kMaxWireFrame);
    EXPECT_FALSE(build_request(17, Bytes(kMaxFrameData + 1, 0), plain));
}

TEST(Escaping, DocumentedExamples) {
    EXPECT_EQ(escape({0x01, 0x00, 0xC4}), (Bytes{0x01, 0x00, 0xC4}));
    EXPECT_EQ(escape({0x47, 0x53, 0x4D}), (Bytes{0x47, 0x6E, 0xAC, 0x6E, 0xB2}));
    EXPECT_EQ(escape({0x6E}), (Bytes{0x6E, 0x91}));
    EXPECT_EQ(escape({0x16}), (Bytes{0x6E, 0xE9}));
}

TEST(Escaping, RoundTripOverEveryByteValue) {
    Bytes all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<uint8_t>(b));
    const Bytes escaped = escape(all);
    EXPECT_EQ(escaped.size(), 256u + 4u);
    for (uint8_t b : escaped) EXPECT_TRUE(b != 0x16 && b != 0x4D && b != 0x53) << int(b);
    EXPECT_EQ(unescape(escaped), all);
}

TEST(Escaping, UnescapeNeverWritesPastItsOutput) {
    const Bytes in(100, 0x41);
    uint8_t out[10] = {};
    EXPECT_EQ(unescape_bytes(in, std::span<uint8_t>(out, 4)), 4u);
    EXPECT_EQ(out[4], 0);
    EXPECT_EQ(unescape({0x41, 0x6E}), (Bytes{0x41}));  // dangling escape byte
}

struct ExtractCase {
    const char* name;
    Bytes received;
    bool ok;
    Bytes payload;
};

TEST(Extraction, StartAndEndBytes) {
    const std::vector<ExtractCase> cases = {
        {"plain answer", {0x53, 1, 2, 3, 0x16}, true, {1, 2, 3}},
        {"earlier frame then current", {0x53, 9, 9, 0x16, 0x53, 1, 2, 0x16}, true, {1, 2}},
        {"leftover bytes ahead", {7, 7, 0x53, 1, 2, 0x16}, true, {1, 2}},
        {"nothing received", {}, false, {}},
        {"no end byte", {0x53, 1, 2, 3}, false, {}},
        {"only end byte is the first", {0x16, 0x53, 1, 2}, false, {}},
        {"no start byte", {5, 1, 2, 0x16}, true, {1, 2}},
        {"start after the last end", {0x53, 1, 0x16, 2, 0x53, 3}, true, {}},
        {"end byte directly after start", {0x53, 0x16}, true, {}},
    };
    for (const auto& c : cases) {
        std::span<const uint8_t> payload;
        ASSERT_EQ(extract_payload(c.received, &payload), c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(Bytes(payload.begin(), payload.end()), c.payload) << c.name;
        }
    }
}

// A decoded answer as the module would send it: command, L, header CRC, data, data CRC.
Bytes answer(uint8_t command, const Bytes& data) {
    PlainFrame plain;
    EXPECT_TRUE(build_request(command, data, plain));
    return Bytes(plain.bytes, plain.bytes + plain.size);
}

TEST(Acceptance, FixedSizeAnswers) {
    Bytes settings = answer(6, Bytes(14, 0x21));
    EXPECT_EQ(check_response(settings, 6, 15, kNoSubIndex), FrameCheck::ok);
    EXPECT_EQ(check_response(settings, 7, 15, kNoSubIndex), FrameCheck::bad_command);

    Bytes short_length = answer(6, Bytes(13, 0x21));  // L = 14, CRC right
    EXPECT_EQ(check_response(short_length, 6, 15, kNoSubIndex), FrameCheck::too_short);
    short_length.push_back(0);  // long enough now: the CRC over the expected 18 bytes fails
    EXPECT_NE(check_response(short_length, 6, 15, kNoSubIndex), FrameCheck::ok);

    Bytes data_crc_wrong = settings;
    data_crc_wrong.back() ^= 0x01;
    EXPECT_EQ(check_response(data_crc_wrong, 6, 15, kNoSubIndex), FrameCheck::bad_crc);
    Bytes header_crc_wrong = settings;
    header_crc_wrong[2] ^= 0x80;
    EXPECT_EQ(check_response(header_crc_wrong, 6, 15, kNoSubIndex), FrameCheck::bad_crc);
}

TEST(Acceptance, LengthByteOfAFixedAnswer) {
    // A frame whose CRCs cover 18 bytes but whose length byte says 14: built by hand.
    Bytes frame = {6, 14};
    frame.push_back(crc8(frame));
    Bytes data(14, 0x30);
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(crc8(data));
    EXPECT_EQ(frame.size(), 18u);
    EXPECT_EQ(check_response(frame, 6, 15, kNoSubIndex), FrameCheck::bad_length);
}

TEST(Acceptance, VariableAnswersAndSubIndex) {
    const Bytes part1 = answer(8, {1, 0, 0});
    EXPECT_EQ(check_response(part1, 8, kAnyLength, 1), FrameCheck::ok);
    EXPECT_EQ(check_response(part1, 8, kAnyLength, 0), FrameCheck::bad_sub_index);
    EXPECT_EQ(check_response(answer(8, {}), 8, kAnyLength, 0), FrameCheck::bad_sub_index);
    EXPECT_EQ(check_response({}, 8, kAnyLength, 0), FrameCheck::too_short);
    EXPECT_EQ(check_response(Bytes{8}, 8, kAnyLength, 0), FrameCheck::too_short);
    // A length byte that promises more than arrived.
    Bytes cut = part1;
    cut.pop_back();
    EXPECT_EQ(check_response(cut, 8, kAnyLength, 1), FrameCheck::too_short);
}

TEST(Acknowledgement, ExactlyFiveBytesWithTheEcho) {
    EXPECT_TRUE(await_ack(Bytes{0x53, 7, 0, 0, 0}, 7));
    EXPECT_FALSE(await_ack(Bytes{0x53, 7, 0, 0}, 7));
    EXPECT_FALSE(await_ack(Bytes{0x53, 8, 0, 0, 0}, 7));
    EXPECT_FALSE(await_ack(Bytes{0x4D, 7, 0, 0, 0}, 7));
    EXPECT_FALSE(await_ack(Bytes{0x53, 7, 0, 0, 0, 0}, 7));
}

}  // namespace
}  // namespace zavi
