#include "app/worker_job.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/link_fixture.h"

namespace zavi::test {
namespace {

using WorkerJobTest = LinkTest;

Bytes part_answer(uint8_t part) {
    switch (part) {
        case 0:
            return answer_frame(8, concat({{0}, Bytes(10, 1), Bytes(4, 0)}));
        case 1:
            return answer_frame(8, {1, 0, 0});
        default:
            return answer_frame(8, {2, 0});
    }
}

TEST_F(WorkerJobTest, StatusJobStopsAtTheFailingPart) {
    drv.reply(part_answer(0));
    Bytes bad = part_answer(1);
    bad[bad.size() - 2] ^= 0x01;
    drv.reply(bad);
    drv.reply(part_answer(2));
    EXPECT_EQ(run_job_operations(JOB_READ_STATUS, h), kBadCrc);
    EXPECT_EQ(drv.write_count(), 2u);
}

TEST_F(WorkerJobTest, StatusJobReadsThreeParts) {
    for (uint8_t part = 0; part < 3; ++part) drv.reply(part_answer(part));
    EXPECT_EQ(run_job_operations(JOB_READ_STATUS, h), kOk);
    EXPECT_EQ(drv.write_count(), 3u);
    EXPECT_EQ(device_status.battery_level, 1);
}

TEST_F(WorkerJobTest, EachJobSendsItsCommand) {
    const struct {
        WorkerJob job;
        Bytes request;
    } cases[] = {
        {JOB_READ_ALARM_SETTINGS, {0x4D, 0x06, 0x00, 0xAA, 0x16}},
        {JOB_READ_PIN_PUK, {0x4D, 0x09, 0x00, 0xB2, 0x16}},
        {JOB_READ_ACTIONS, {0x4D, 0x0B, 0x00, 0x23, 0x16}},
        {JOB_READ_PHONE_NUMBERS, {0x4D, 0x12, 0x00, 0x7D, 0x16}},
        {JOB_READ_IO_NAMES, request_frame(24, {0})},
        {JOB_READ_CALL_ANSWER, {0x4D, 0x6E, 0xE9, 0x00, 0x46, 0x16}},
        {JOB_READ_AUTO_STATUS, {0x4D, 0x1A, 0x00, 0x0B, 0x16}},
        {JOB_READ_AUTO_RESET, {0x4D, 0x14, 0x00, 0xD7, 0x16}},
        {JOB_RESET_DEVICE, {0x4D, 0x0F, 0x00, 0x18, 0x16}},
    };
    for (const auto& c : cases) {
        ScriptedDriver fresh;  // no answers: every job fails after its first request
        EXPECT_NE(run_job_operations(c.job, fresh.handle()), kOk) << int(c.job);
        ASSERT_EQ(fresh.write_count(), 1u) << int(c.job);
        EXPECT_EQ(fresh.written(0), c.request) << int(c.job);
    }
}

TEST_F(WorkerJobTest, IoNamesJobReadsHalf1AfterHalf0) {
    drv.reply(answer_frame(24, {0, 0, 0, 0, 0, 0, 0}));
    drv.reply(answer_frame(24, {1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(run_job_operations(JOB_READ_IO_NAMES, h), kOk);
    EXPECT_EQ(drv.written(1), request_frame(24, {1}));
}

TEST_F(WorkerJobTest, CodesWithoutOperationsSucceedUntouched) {
    for (int job : {0, 11, 12, 100, 255}) {
        EXPECT_EQ(run_job_operations(static_cast<WorkerJob>(job), h), LinkResult::ok) << job;
    }
    EXPECT_TRUE(drv.calls().empty());
}

TEST_F(WorkerJobTest, OnlyTheTaskJobRunsTheTaskItIsGiven) {
    const struct {
        WorkerJob job;
        LinkResult result;
        int runs;
    } cases[] = {{JOB_TASK, kBadCrc, 1}, {JOB_NONE, kOk, 0}, {12, kOk, 0}};
    for (const auto& c : cases) {
        int runs = 0;
        std::vector<std::string> said;
        const WorkerTask task = [&](DriverHandle handle, const WorkerStatus& status) {
            ++runs;
            EXPECT_EQ(handle, h);
            status("step 1");
            return kBadCrc;
        };
        const WorkerStatus status = [&](const std::string& text) { said.push_back(text); };
        EXPECT_EQ(run_job_operations(c.job, h, task, status), c.result) << int(c.job);
        EXPECT_EQ(runs, c.runs) << int(c.job);
        EXPECT_EQ(said.size(), static_cast<std::size_t>(c.runs)) << int(c.job);
    }
    EXPECT_TRUE(drv.calls().empty());
}

TEST(ProgressText, LanguagesAndFallback) {
    EXPECT_STREQ(progress_text(0), "Komunikacja z urządzeniem.\n\nProszę czekać...");
    EXPECT_STREQ(progress_text(1), "Communication with the device.\n\nPlease wait...");
    EXPECT_STREQ(progress_text(2), "Kommunikation mit dem Gerät.\n\nBitte warten...");
    EXPECT_STREQ(progress_text(3), progress_text(2));
    EXPECT_STREQ(progress_text(255), progress_text(2));
}

}  // namespace
}  // namespace zavi::test
