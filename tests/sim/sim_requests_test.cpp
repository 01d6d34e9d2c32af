// How the simulated module takes requests: its own frame checks, resynchronisation, and the
// journal of everything it received.
#include <gtest/gtest.h>

#include <random>

#include "sim/request_decoder.h"
#include "tests/sim/wire_helpers.h"

namespace zavi::sim {
namespace {

// A plain frame as it goes on the wire, whatever it says.
Bytes framed(const Bytes& plain) {
    EscapedBytes escaped;
    WireFrame wire;
    EXPECT_TRUE(escape_bytes(plain, escaped) && frame_request(escaped.view(), wire));
    return Bytes(wire.bytes, wire.bytes + wire.size);
}

TEST(SimRequests, FramesFailingAnyCheckAreJournaledButNotAnswered) {
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"header CRC", {0x4D, 0x06, 0x00, 0xAB, 0x16}},
        {"data CRC", {0x4D, 0x08, 0x02, 0xCA, 0x00, 0x01, 0x16}},
        {"no start byte", {0x06, 0x00, 0xAA, 0x16}},
        {"length says more", framed({0x08, 0x03, crc8(Bytes{0x08, 0x03}), 0x00, 0x00})},
        {"length says less", framed({0x06, 0x00, 0xAA, 0x00})},
        {"bare S inside", {0x4D, 0x06, 0x53, 0x00, 0xAA, 0x16}},
        {"escape of a plain byte", {0x4D, 0x6E, 0xF9, 0x00, 0xAA, 0x16}},
        {"escape at the end", {0x4D, 0x06, 0x00, 0xAA, 0x6E, 0x16}},
        {"unknown command", request_wire(2)},
        {"data where none belongs", request_wire(6, {0})},
        {"status without a part", request_wire(8)},
        {"count promising more numbers", request_wire(14, {2, 1, 2, 3, 4, 5, 6, 7})},
        {"block count promising fewer", request_wire(17, {0, 0, 1, 2, 3, 4, 5, 6, 7})},
        {"five names instead of six", request_wire(25, {0, 0, 0, 0, 0, 0})},
    };
    for (const auto& [what, bytes] : cases) {
        SimLink link;
        ASSERT_EQ(link.write(bytes), kDriverOk) << what;
        EXPECT_TRUE(link.read().empty()) << what;
        ASSERT_EQ(link.sim.journal().size(), 1u) << what;
        EXPECT_FALSE(link.sim.journal()[0].valid) << what;
        EXPECT_EQ(link.sim.journal()[0].wire, bytes) << what;
    }
}

TEST(SimRequests, JournalHoldsModuleCommandAndDecodedData) {
    SimLink link;
    link.exchange(24, {1});
    ASSERT_EQ(link.sim.journal().size(), 1u);
    const JournalEntry& e = link.sim.journal()[0];
    EXPECT_EQ(e.module, 0);
    EXPECT_EQ(e.command, 24);
    EXPECT_EQ(e.data, Bytes{1});
    EXPECT_EQ(e.wire, request_wire(24, {1}));
    EXPECT_TRUE(e.valid);
}

TEST(SimRequests, StartByteResynchronisesAfterNoise) {
    SimLink link;
    Bytes bytes = {0x01, 0x02, 0x4D, 0x08};  // noise and a broken frame without its end
    const Bytes good = request_wire(1);
    bytes.insert(bytes.end(), good.begin(), good.end());
    link.write(bytes);
    EXPECT_FALSE(link.read().empty());
    ASSERT_EQ(link.sim.journal().size(), 2u);
    EXPECT_FALSE(link.sim.journal()[0].valid);
    EXPECT_EQ(link.sim.journal()[0].wire, (Bytes{0x01, 0x02, 0x4D, 0x08}));
    EXPECT_TRUE(link.sim.journal()[1].valid);
}

TEST(SimRequests, FrameWrittenInPiecesIsAnsweredOnce) {
    SimLink link;
    const Bytes wire = request_wire(8, {2});
    link.write(Bytes(wire.begin(), wire.begin() + 3));
    EXPECT_TRUE(link.read().empty());
    link.write(Bytes(wire.begin() + 3, wire.end()));
    EXPECT_FALSE(link.read().empty());
    EXPECT_EQ(link.sim.journal().size(), 1u);
}

TEST(SimRequests, EndlessBytesWithoutEndAreDroppedNotHoarded) {
    SimLink link;
    link.write(Bytes(5000, 0x41));
    EXPECT_GE(link.sim.journal().size(), 4u);
    for (const auto& e : link.sim.journal()) EXPECT_LE(e.wire.size(), 2 * kMaxWireFrame + 1);
    EXPECT_FALSE(link.exchange(1).empty());
}

// Random input must never make the decoder read outside it, and whatever it accepts must be
// exactly what the program's encoder produces for that command and data.
TEST(SimRequests, DecoderRejectsEveryBitFlipAndAcceptsOnlyCanonicalFrames) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 5000; ++round) {
        Bytes in = request_wire(uint8_t(rng() % 30), Bytes(rng() % 12, uint8_t(rng())));
        in[rng() % in.size()] ^= uint8_t(1u << (rng() % 8));
        EXPECT_FALSE(decode_request(in).frame_ok);
    }
    const uint8_t interesting[] = {0x4D, 0x53, 0x16, 0x6E, 0x00, 0xFF};
    for (int round = 0; round < 20000; ++round) {
        Bytes in(rng() % 40);
        for (auto& b : in) b = rng() % 3 ? interesting[rng() % 6] : uint8_t(rng());
        if (!in.empty() && rng() % 2) in[0] = kRequestStart;
        const DecodedRequest r = decode_request(in);
        if (r.frame_ok) {
            EXPECT_EQ(request_wire(r.command, r.data), in);
        }
    }
}

TEST(SimRequests, DataSizesFollowTheCounts) {
    Bytes seven(1 + 7 * 7, 0);
    seven[0] = 7;
    EXPECT_TRUE(request_fits_command(14, seven));
    EXPECT_TRUE(request_fits_command(14, Bytes{0}));
    EXPECT_FALSE(request_fits_command(14, Bytes{}));
    EXPECT_TRUE(request_fits_command(17, Bytes{3, 0}));
    EXPECT_FALSE(request_fits_command(17, Bytes{3}));
    EXPECT_TRUE(request_fits_command(25, Bytes{1, 0, 0, 0, 0, 2, 'a', 'b', 0}));
    EXPECT_FALSE(request_fits_command(25, Bytes{1, 0, 0, 0, 0, 2, 'a', 'b', 0, 0}));
    EXPECT_FALSE(request_fits_command(25, Bytes{1, 0, 0, 0, 0, 0, 5, 'a'}));
}

}  // namespace
}  // namespace zavi::sim
