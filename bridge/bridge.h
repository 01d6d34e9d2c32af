// The bridge's loop: reads the module's live status every interval and publishes it, with Home
// Assistant's discovery messages and the availability ("offline" while the module is away or
// the bridge is stopped). It only ever reads from the module.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "bridge/mqtt_link.h"

namespace zavi::bridge {

// How the bridge reaches the module; the command line supplies it.
struct ModuleAccess {
    // Opens the module; on success *firmware is its firmware text, otherwise *why tells why.
    std::function<bool(std::string* firmware, std::string* why)> open;
    // The three status reads into device_status; false when one failed.
    std::function<bool()> read_status;
    std::function<void()> close;
};

struct BridgeSettings {
    ConnectSettings connect;  // its will is set by the bridge
    std::string prefix = kDefaultPrefix;
    double interval_s = kDefaultInterval;
};

enum class BridgeEnd { stopped, refused, set_up_failed };

// Runs until `stop` is set or the broker refuses the credentials; `log` gets one line per
// event worth telling (connections, the module going and coming).
BridgeEnd run_bridge(BridgeSettings settings, const ModuleAccess& module,
                     const std::atomic<bool>& stop,
                     const std::function<void(const std::string&)>& log);

}  // namespace zavi::bridge
