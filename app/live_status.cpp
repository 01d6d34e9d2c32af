#include "app/live_status.h"

#include <string>
#include <vector>

#include "panels/status_panel.h"
#include "resources/ids.h"

namespace zavi {

namespace {

// The control that shows each live field; the state texts of the GSM, the battery and the
// operator are all in the status line.
int control_of(const std::string& field) {
    static const std::pair<const char*, int> kControls[] = {
        {"temperature1", IDC_TEMP1},
        {"temperature2", IDC_TEMP2},
        {"battery_percent", IDC_BATTERY_TEXT},
        {"battery_state", IDC_STATUS_LINE},
        {"gsm_state", IDC_STATUS_LINE},
        {"gsm_signal_dbm", IDC_SIGNAL_TEXT},
        {"operator", IDC_STATUS_LINE},
        {"in1", IDC_STATE_IN1},
        {"in2", IDC_STATE_IN2},
        {"pin1", IDC_STATE_PIN1},
        {"pin2", IDC_STATE_PIN2},
        {"out1", IDC_STATE_OUT1},
        {"out2", IDC_STATE_OUT2},
    };
    for (const auto& [name, id] : kControls)
        if (field == name) return id;
    return 0;
}

}  // namespace

void run_live_status(DriverHandle handle, uint64_t interval_us, const std::atomic<bool>& stop,
                     const commission::Pace& pace, LiveCycle& cycle,
                     const std::function<void()>& deliver) {
    commission::LiveLoop loop(handle, pace);
    const commission::LoopEnd end =
        loop.run(interval_us, stop, [&](const commission::Snapshot&, const auto&) {
            cycle = {};
            deliver();
            return !stop && !cycle.finish;
        });
    // A read that failed after a stop was asked for is the next command's business.
    if (end == commission::LoopEnd::read_failed && !stop) {
        cycle = {true};
        deliver();
    }
}

void run_signal_samples(DriverHandle handle, const std::atomic<bool>& stop, LiveCycle& cycle,
                        const std::function<void()>& deliver) {
    while (!stop) {
        commission::Snapshot ignored;
        if (!commission::read_signal(handle, &ignored)) {
            if (stop) return;
            cycle = {true};
            deliver();
            return;
        }
        cycle = {};
        deliver();
        if (cycle.finish) return;
    }
}

void LiveStatusView::start() {
    shown_ = commission::take_snapshot();
    bold_until_.clear();
}

void LiveStatusView::show_cycle(DialogView& view, uint64_t now_us) {
    // Taken before the panels clamp the readings they show, as the worker took it.
    const commission::Snapshot now = commission::take_snapshot();
    for (const commission::FieldChange& change : commission::changes(shown_, now))
        if (const int id = control_of(change.field)) bold_until_[id] = now_us + kChangedBoldUs;
    shown_ = now;
    refresh_status_panel(view);
    for (auto it = bold_until_.begin(); it != bold_until_.end();) {
        const bool still = now_us < it->second;
        view.set_bold(it->first, still);
        it = still ? std::next(it) : bold_until_.erase(it);
    }
}

void LiveStatusView::stop(DialogView& view) {
    for (const auto& [id, until] : bold_until_) view.set_bold(id, false);
    bold_until_.clear();
}

}  // namespace zavi
