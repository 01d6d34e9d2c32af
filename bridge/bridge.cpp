#include "bridge/bridge.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "link/records.h"

namespace zavi::bridge {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// While the module is away it is looked for this often at most.
constexpr milliseconds kModuleRetry{2000};
constexpr milliseconds kPollSlice{200};
constexpr milliseconds kGoodbyeWait{2000};

class Bridge {
  public:
    Bridge(BridgeSettings settings, const ModuleAccess& module,
           const std::function<void(const std::string&)>& log)
        : topics_(settings.prefix),
          module_(module),
          log_(log),
          interval_(static_cast<long>(settings.interval_s * 1000)),
          link_(with_will(std::move(settings.connect)), log) {
        link_.on_connected = [this] { publish_all(); };
    }

    BridgeEnd run(const std::atomic<bool>& stop) {
        std::string why;
        if (!link_.set_up(&why)) {
            log_(why);
            return BridgeEnd::set_up_failed;
        }
        auto next_read = Clock::now();
        while (!stop) {
            if (link_.fatal()) {
                log_(*link_.fatal());
                module_close();
                return BridgeEnd::refused;
            }
            if (Clock::now() >= next_read) {
                visit_module();
                next_read =
                    Clock::now() + (online_ ? interval_ : std::min(interval_, kModuleRetry));
            }
            const auto left = std::chrono::duration_cast<milliseconds>(next_read - Clock::now());
            link_.poll(static_cast<int>(std::clamp(left, milliseconds(1), kPollSlice).count()));
        }
        goodbye();
        module_close();
        return BridgeEnd::stopped;
    }

  private:
    ConnectSettings with_will(ConnectSettings c) const {
        c.will = {topics_.availability(), kOffline, true};
        return c;
    }

    void visit_module() {
        if (!open_) {
            std::string firmware, why;
            if (!module_.open(&firmware, &why)) {
                if (why != last_why_) log_("waiting for the module: " + why);
                last_why_ = why;
                return;
            }
            open_ = true;
            last_why_.clear();
            char every[64];
            std::snprintf(every, sizeof every, ") every %g s", interval_.count() / 1000.0);
            log_("reading the module (" + firmware + every);
            if (firmware != firmware_) {
                firmware_ = firmware;
                publish_discovery();
            }
        }
        // One retry, so that a single disturbed answer does not flap the availability.
        if (module_.read_status() || module_.read_status()) {
            state_ = state_payload(device_status);
            link_.publish({topics_.state(), state_, true});
            set_online(true);
            return;
        }
        log_("the module stopped answering (unplugged?); waiting for it to come back");
        module_close();
        set_online(false);
    }

    void module_close() {
        if (open_) module_.close();
        open_ = false;
    }

    void set_online(bool online) {
        if (online == online_ && announced_) return;
        online_ = online;
        announced_ = link_.publish(availability());
    }

    Message availability() const {
        return {topics_.availability(), online_ ? kOnline : kOffline, true};
    }

    void publish_discovery() {
        for (const Message& m : topics_.discovery(firmware_)) link_.publish(m);
    }

    // A broker that restarted may have lost every retained message.
    void publish_all() {
        publish_discovery();
        announced_ = link_.publish(availability());
        if (online_ && !state_.empty()) link_.publish({topics_.state(), state_, true});
    }

    // "offline" delivered before the connection ends, so that Home Assistant does not wait
    // for the broker to notice.
    void goodbye() {
        if (link_.connected()) {
            online_ = false;
            link_.publish(availability());
            const auto until = Clock::now() + kGoodbyeWait;
            while (!link_.all_delivered() && link_.connected() && Clock::now() < until)
                link_.poll(50);
        }
        link_.disconnect();
    }

    Topics topics_;
    const ModuleAccess& module_;
    const std::function<void(const std::string&)>& log_;
    milliseconds interval_;
    MqttLink link_;
    bool open_ = false;
    bool online_ = false;
    bool announced_ = false;
    std::string firmware_, state_, last_why_;
};

}  // namespace

BridgeEnd run_bridge(BridgeSettings settings, const ModuleAccess& module,
                     const std::atomic<bool>& stop,
                     const std::function<void(const std::string&)>& log) {
    Bridge bridge(std::move(settings), module, log);
    return bridge.run(stop);
}

}  // namespace zavi::bridge
