#include "link/connection.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "common/three_languages.h"
#include "link/status_commands.h"
#include "tests/support/link_fixture.h"

namespace zavi::test {
namespace {

struct RecordingNotice : FirmwareNotice {
    std::vector<std::string> messages;
    void firmware_mismatch(std::string_view message) override { messages.emplace_back(message); }
};

const Bytes kVersionRequest = {0x4D, 0x01, 0x00, 0xC4, 0x16};

Bytes version_answer(const char* text) {
    return answer_frame(1, text_bytes(text));
}

class OpenDevice : public LinkTest {
  protected:
    RecordingNotice notice;
    DriverHandle opened = &notice;  // anything but null, to see it cleared

    uint8_t open(uint8_t language = kEnglish) { return open_device(0, &opened, language, notice); }
};

TEST_F(OpenDevice, GoodModuleStaysOpen) {
    drv.reply(version_answer(kRequiredFirmware));
    EXPECT_EQ(open(), kOpenOk);
    EXPECT_EQ(opened, drv.handle());
    EXPECT_EQ(drv.open_handles(), 1);
    EXPECT_EQ(drv.calls(), (std::vector<Call>{Call::open, Call::timeouts, Call::purge, Call::write,
                                              Call::read}));
    EXPECT_EQ(drv.timeouts().at(0), std::make_pair(kReadTimeoutMs, kWriteTimeoutMs));
    EXPECT_EQ(drv.purge_masks().at(0), kPurgeRxTx);
    EXPECT_EQ(drv.written(0), kVersionRequest);
    EXPECT_TRUE(notice.messages.empty());
}

TEST_F(OpenDevice, VersionAnswerMustBeAtLeast21Bytes) {
    const Bytes twenty = version_answer("ZAVI-GSX v1.7");  // well formed, one escape fewer
    ASSERT_EQ(twenty.size(), 20u);
    drv.reply(twenty);
    EXPECT_EQ(open(), kOpenFailed);
    EXPECT_TRUE(notice.messages.empty());

    const Bytes good = version_answer(kRequiredFirmware);
    ASSERT_EQ(good.size(), 21u);
    drv.reply(good);
    EXPECT_EQ(open(), kOpenOk);
}

TEST_F(OpenDevice, VersionAnswerIsNotCrcChecked) {
    Bytes answer = version_answer(kRequiredFirmware);
    answer[answer.size() - 2] ^= 0x01;  // data CRC 0x29 -> 0x28
    drv.reply(answer);
    EXPECT_EQ(open(), kOpenOk);
}

TEST_F(OpenDevice, OtherFirmwareShowsTheMessageAndCloses) {
    const struct {
        uint8_t language;
        const char* message;
    } cases[] = {
        {kPolish, "Wymagany firmware:   ZAVI-GSM v1.7\nW urządzeniu jest:   v1.6\n"},
        {kEnglish, "Required firmware:   ZAVI-GSM v1.7\nthe device is:   v1.6\n"},
        {kGerman, "Erforderliche Firmware:   ZAVI-GSM v1.7\nim Gerät ist:   v1.6\n"},
        {7, "Erforderliche Firmware:   ZAVI-GSM v1.7\nim Gerät ist:   v1.6\n"},
    };
    for (const auto& c : cases) {
        notice.messages.clear();
        drv.reply(version_answer("ZAVI-GSM v1.6"));
        EXPECT_EQ(open(c.language), kOpenWrongFirmware);
        EXPECT_EQ(opened, nullptr);
        EXPECT_EQ(drv.open_handles(), 0);
        ASSERT_EQ(notice.messages.size(), 1u);
        EXPECT_EQ(notice.messages[0], c.message) << "language " << int(c.language);
    }
}

TEST_F(OpenDevice, FailingTimeoutCallStillSendsTheRequestWithoutPurge) {
    drv.fail(Call::timeouts);
    drv.reply(version_answer(kRequiredFirmware));
    EXPECT_EQ(open(), kOpenOk);
    EXPECT_EQ(drv.count_of(Call::purge), 0);
    EXPECT_EQ(drv.written(0), kVersionRequest);
}

TEST_F(OpenDevice, EveryFailureLeavesNothingOpen) {
    const Bytes good = version_answer(kRequiredFirmware);
    Bytes wrong_command = answer_frame(2, text_bytes(kRequiredFirmware));
    Bytes wrong_length = good;
    wrong_length[2] = 0x0D;  // the header CRC is not checked either
    Bytes no_end = good;
    no_end.back() = 0x00;
    const struct {
        const char* name;
        void (*script)(ScriptedDriver&);
        Bytes answer;
    } cases[] = {
        {"open fails", [](ScriptedDriver& d) { d.fail(Call::open); }, good},
        {"write fails", [](ScriptedDriver& d) { d.fail(Call::write); }, good},
        {"short write", [](ScriptedDriver& d) { d.short_write(0); }, good},
        {"read fails", [](ScriptedDriver& d) { d.fail(Call::read); }, good},
        {"no answer", [](ScriptedDriver&) {}, {}},
        {"no end byte", [](ScriptedDriver&) {}, no_end},
        {"wrong command", [](ScriptedDriver&) {}, wrong_command},
        {"wrong length", [](ScriptedDriver&) {}, wrong_length},
    };
    for (const auto& c : cases) {
        ScriptedDriver fresh;
        c.script(fresh);
        if (!c.answer.empty()) fresh.reply(c.answer);
        opened = &notice;
        EXPECT_EQ(open_device(0, &opened, kEnglish, notice), kOpenFailed) << c.name;
        EXPECT_EQ(opened, nullptr) << c.name;
        EXPECT_EQ(fresh.open_handles(), 0) << c.name;
        EXPECT_TRUE(notice.messages.empty()) << c.name;
    }
}

// A frame whose decoded form is too short to hold a version text is a failure, not a read of
// whatever the buffer held before.
TEST_F(OpenDevice, ShortDecodedVersionIsRejected) {
    Bytes answer = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                    0x00, 0x00, 0x00, 0x00, 0x00, 0x53, 0x01, 0x0E, 0xDB, 0x16};
    drv.reply(answer);
    EXPECT_EQ(open(), kOpenFailed);
    EXPECT_EQ(drv.open_handles(), 0);
}

// --- the transaction pattern and the early end of a receive

class Receive : public LinkTest {
  protected:
    Bytes part_answer(uint8_t part, const std::string& a, const std::string& b) {
        return answer_frame(8, concat({{part}, wire_text(a), wire_text(b)}));
    }
    uint64_t elapsed_ms(uint64_t since) const { return (drv.now_us() - since) / 1000; }
};

TEST_F(Receive, EveryTransactionPurgesBeforeItsSingleWrite) {
    drv.arrived({0x53, 0x08, 0x99});  // left over from an earlier exchange
    drv.reply(part_answer(1, "On", "Off"));
    EXPECT_EQ(read_status(h, 1), kOk);
    EXPECT_EQ(drv.calls().at(0), Call::purge);
    EXPECT_EQ(drv.purge_masks().at(0), kPurgeRxTx);
    EXPECT_EQ(drv.count_of(Call::write), 1);
    EXPECT_STREQ(device_status.io_state_text[4], "On");
}

TEST_F(Receive, WholeAnswerEndsTheReadAtOnce) {
    drv.reply(part_answer(1, "On", "Off"), 5'000);
    const uint64_t start = drv.now_us();
    EXPECT_EQ(read_status(h, 1), kOk);
    EXPECT_EQ(elapsed_ms(start), 5u);
}

TEST_F(Receive, StaleAnswerAheadOfTheCurrentOneIsSkipped) {
    const Bytes stale = part_answer(0, "x", "y");  // echoes another part
    const Bytes tail = {0x41, 0x42, 0x16};         // end of some cut-off frame
    for (const Bytes& junk : {stale, tail}) {
        drv.reply(concat({junk, part_answer(1, "On", "Off")}));
        EXPECT_EQ(read_status(h, 1), kOk);
        EXPECT_STREQ(device_status.io_state_text[4], "On");
        EXPECT_STREQ(device_status.io_state_text[5], "Off");
        device_status = {};
    }
}

TEST_F(Receive, SilentModuleCostsOneReadTimeout) {
    drv.reply_nothing();
    const uint64_t start = drv.now_us();
    EXPECT_EQ(read_status(h, 1), kNoFrameEnd);
    EXPECT_EQ(elapsed_ms(start), kReadTimeoutMs);
    EXPECT_EQ(drv.count_of(Call::read), 1);
}

TEST_F(Receive, DrippingModuleIsCutOffAtTheTimeout) {
    const Bytes answer = part_answer(1, std::string(44, 'a'), std::string(44, 'b'));
    std::vector<Chunk> drip;
    for (uint8_t b : answer) drip.push_back({{b}, 40'000});  // 25 bytes a second
    drv.reply_chunks(drip);
    const uint64_t start = drv.now_us();
    EXPECT_EQ(read_status(h, 1), kNoFrameEnd);
    EXPECT_GE(elapsed_ms(start), kReadTimeoutMs);
    EXPECT_LE(elapsed_ms(start), kReadTimeoutMs + 40);
}

TEST_F(Receive, BadFrameIsJudgedOnEverythingThatArrived) {
    Bytes bad = part_answer(1, "On", "Off");
    bad[bad.size() - 2] ^= 0x01;
    drv.reply(bad);
    EXPECT_EQ(read_status(h, 1), kBadCrc);
    EXPECT_EQ(device_status.io_state_text[4][0], '\0');
}

TEST_F(Receive, NeverReadsMoreThanTheAnswerMayHold) {
    drv.reply(Bytes(2000, 0x41));  // endless garbage without a frame end
    EXPECT_EQ(read_status(h, 1), kNoFrameEnd);
    const auto& asks = drv.read_asks();
    // Variable answers may take up to the longest frame with every byte escaped.
    EXPECT_EQ(std::accumulate(asks.begin(), asks.end(), 0u), kMaxWireFrame);
}

TEST_F(Receive, AcknowledgementIsOneReadOfFiveBytes) {
    const struct {
        const char* name;
        Bytes reply;
        LinkResult result;
    } cases[] = {
        {"good", ack(15), kOk},
        {"six bytes", concat({ack(15), {0x00}}), kOk},
        {"four bytes", {0x53, 0x0F, 0x00, 0x00}, kFailed},
        {"other command", ack(14), kFailed},
        {"no start byte", {0x00, 0x0F, 0x00, 0x00, 0x00}, kFailed},
    };
    for (const auto& c : cases) {
        ScriptedDriver fresh;
        fresh.reply(c.reply);
        EXPECT_EQ(reset_device(fresh.handle()), c.result) << c.name;
        EXPECT_EQ(fresh.read_asks(), std::vector<uint32_t>{5}) << c.name;
    }
}

TEST_F(Receive, ResultsOfAFailedExchange) {
    drv.fail(Call::write);
    EXPECT_EQ(read_status(h, 1), kFailed);
    drv.short_write(1);
    EXPECT_EQ(read_status(h, 1), kFailed);
    drv.fail(Call::read, 0);
    drv.reply(part_answer(1, "On", "Off"));
    EXPECT_EQ(read_status(h, 1), kReadFailed);
}

}  // namespace
}  // namespace zavi::test
