// The walk test (140): while it is open the module's status is read as fast as the line allows,
// and each input's two states are ticked with the time they were first seen. The outputs, the
// test SMS and the test call are ticked by the installer. The result stays for the report.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "commission/walk_test.h"
#include "config/configuration.h"
#include "ui/dialog_view.h"

namespace zavi {

// The reads behind a commissioning dialog, given by the window that opens it.
struct LiveReads {
    std::function<bool()> start;  // starts the worker; false when it could not start
    std::function<void()> stop;   // returns once the worker has ended; never from on_cycle
    std::function<uint64_t()> now_us;
    std::function<std::string()> clock_text;  // local time with its UTC offset
};

class WalkTestDialog : public DialogLogic {
  public:
    // `cfg` holds the 12 names and the thresholds as the module has them.
    WalkTestDialog(const config::Configuration& cfg, LiveReads reads);

    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;
    void on_close(DialogView& view) override;

    // The worker has read a whole status (in device_status), or a read failed and it ended.
    void on_cycle(bool failed);

    const commission::WalkTestResult& result() const { return test_.result(); }

  private:
    void show(DialogView& view);

    commission::WalkTest test_;
    LiveReads reads_;
    DialogView* view_ = nullptr;  // while open
    bool reading_ = false;
    uint64_t started_us_ = 0;
};

}  // namespace zavi
