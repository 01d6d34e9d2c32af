// The signal survey (141): status part 0 sampled as fast as the line allows for the chosen time
// (30 s to 10 min) or until Stop; the present, lowest, mean and highest signal, the samples and
// the "no reading" ones, a plot, and the verdict with its reason. The result stays for the
// report and can be saved as CSV.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "commission/survey.h"
#include "dialogs/walk_test_dialog.h"
#include "ui/dialog_view.h"
#include "ui/file_chooser.h"

namespace zavi {

class SurveyDialog : public DialogLogic {
  public:
    // Save CSV asks `files` for the file; without a chooser it does nothing.
    explicit SurveyDialog(LiveReads reads, FileChooser* files = nullptr)
        : reads_(std::move(reads)), files_(files) {}

    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;
    void on_close(DialogView& view) override;

    // The worker has read status part 0 (in device_status), or a read failed and it ended.
    // Returns true when the survey is complete and the worker is to end after this sample.
    bool on_cycle(bool failed);

    // The last survey started, if any.
    const std::optional<commission::SurveyResult>& result() const { return result_; }

  private:
    void start(DialogView& view);
    void show(DialogView& view);

    LiveReads reads_;
    FileChooser* files_;
    DialogView* view_ = nullptr;
    bool reading_ = false;
    uint64_t started_us_ = 0;
    uint64_t duration_us_ = 0;
    std::optional<commission::SurveyResult> result_;
};

// The durations offered, in seconds.
constexpr int kSurveySeconds[] = {30, 60, 120, 300, 600};

}  // namespace zavi
