// Only one job uses the module at a time: a close request of any kind during a job waits for
// it, and a command that comes in meanwhile starts nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/connection.h"
#include "resources/ids.h"
#include "tests/support/main_window_fixture.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

class JobInProgress : public test::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        start_default();
        ASSERT_FALSE(view().is_closed());
        sim().clear_journal();
    }
};

TEST_F(JobInProgress, ACloseRequestWaitsForTheJobThenEndsAsUsual) {
    const struct {
        const char* name;
        int command;  // what starts the job
        int read;     // the command the job sends
        std::size_t reads;
        void (FakeDialogView::*request)();
        int waits;  // how often the platform is asked to wait for the worker
    } cases[] = {
        {"close box during Refresh", IDC_REFRESH, 8, 3, &FakeDialogView::press_close_box, 0},
        {"end of session during Refresh", IDC_REFRESH, 8, 3, &FakeDialogView::end_session, 1},
        {"close box during an Options read", IDM_CALL_ANSWER, 22, 1,
         &FakeDialogView::press_close_box, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        shell.waits = 0;
        bool closed_during_job = true;
        shell.during_job = [&] {
            closed_during_job = false;
            (view().*c.request)();
            // Only the end of the session may close at once, after waiting for the worker.
            if (c.waits == 0) closed_during_job = view().is_closed() || device_handle == nullptr;
        };
        ui_language = kGerman;
        view().click(c.command);

        EXPECT_FALSE(closed_during_job);
        EXPECT_TRUE(view().is_closed());
        EXPECT_EQ(device_handle, nullptr);
        EXPECT_EQ(settings_bytes(), std::string(1, char(kGerman)));
        EXPECT_TRUE(view().messages().empty());
        EXPECT_TRUE(factory_calls.empty());  // no dialog opens after a close request
        EXPECT_EQ(shell.waits, c.waits);
        // The job ran to its end: the module was still open for all its reads.
        EXPECT_EQ(requests(c.read).size(), c.reads);
        TearDown();
        SetUp();
    }
}

TEST_F(JobInProgress, ACommandDuringAJobStartsNothing) {
    shell.during_job = [&] {
        for (int id : {IDC_REFRESH, IDC_READ, IDM_RESET, IDM_PIN_PUK, IDM_POLISH}) view().click(id);
    };
    view().click(IDC_REFRESH);
    shell.during_job = nullptr;
    EXPECT_EQ(shell.jobs, std::vector<WorkerJob>{JOB_READ_STATUS});
    EXPECT_TRUE(factory_calls.empty());
    EXPECT_EQ(ui_language, kEnglish);
    EXPECT_FALSE(view().is_closed());
    // Once the job is over the window takes commands again.
    view().click(IDC_READ);
    EXPECT_EQ(shell.jobs, (std::vector<WorkerJob>{JOB_READ_STATUS, JOB_READ_ALARM_SETTINGS}));
}

}  // namespace
}  // namespace zavi
