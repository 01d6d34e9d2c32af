// How restore and clone tell a restore's end: the lines of each outcome and its exit code.
#include <gtest/gtest.h>

#include "cli/module_operations.h"
#include "config/restore_report.h"

namespace zavi::cli {
namespace {

using config::Record;
using config::RestoreOutcome;
using config::WriteState;

config::RestoreReport report(RestoreOutcome outcome, bool with_writes) {
    config::RestoreReport r;
    r.outcome = outcome;
    r.failed = Record::auto_reset;
    r.backup_error = "disk full";
    r.written = {Record::alarm_settings, Record::call_answer};
    r.mismatched = {Record::call_answer};
    r.unreadable = {Record::alarm_settings, Record::call_answer};
    if (with_writes)
        r.writes = {{Record::alarm_settings, WriteState::written, 1, 1, false},
                    {Record::auto_reset, WriteState::unknown, 1, 0, true}};
    return r;
}

TEST(RestoreOutcome, EachEndIsToldInItsLinesWithItsExitCode) {
    const std::string written = "written: alarm_settings, call_answer";
    const std::string unknown =
        "unknown: auto_reset (sent without an acknowledgement: may or may not be stored)";
    const std::string stopped = "interrupted by SIGINT; nothing was sent after the frame in flight";
    const struct {
        RestoreOutcome outcome;
        bool with_writes;
        std::vector<std::string> lines;
        int code;
    } cases[] = {
        {RestoreOutcome::read_failed,
         false,
         {"reading auto_reset failed: no or bad answer from the module"},
         kExitCommunication},
        {RestoreOutcome::already_equal,
         false,
         {"the module already holds this configuration; nothing written"},
         kExitDone},
        {RestoreOutcome::planned, false, {}, kExitDone},
        {RestoreOutcome::backup_failed,
         false,
         {"the automatic backup could not be saved: disk full; nothing written"},
         kExitCannotWrite},
        {RestoreOutcome::interrupted, false, {stopped, "nothing written"}, kExitSignalBase + 2},
        {RestoreOutcome::interrupted, true, {stopped, written, unknown}, kExitSignalBase + 2},
        {RestoreOutcome::write_failed,
         true,
         {"writing auto_reset failed: the module did not acknowledge it", written, unknown},
         kExitCommunication},
        {RestoreOutcome::verify_failed,
         false,
         {"every write was acknowledged, but the module reads back differently in: call_answer"},
         kExitVerifyFailed},
        {RestoreOutcome::verify_unreadable,
         false,
         {"every write was acknowledged, but reading back alarm_settings, call_answer failed: no "
          "or bad answer from the module"},
         kExitCommunication},
        {RestoreOutcome::verified,
         false,
         {"restored and verified (alarm_settings, call_answer)"},
         kExitDone},
    };
    for (const auto& c : cases) {
        const config::RestoreReport r = report(c.outcome, c.with_writes);
        SCOPED_TRACE(static_cast<int>(c.outcome));
        EXPECT_EQ(config::outcome_lines(r, "interrupted by SIGINT"), c.lines);
        EXPECT_EQ(outcome_code(c.outcome, 2), c.code);
    }
    EXPECT_EQ(config::record_list({}), "nothing");
}

}  // namespace
}  // namespace zavi::cli
