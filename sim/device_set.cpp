#include "sim/device_set.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "common/safe_file.h"
#include "sim/demo_scenario.h"
#include "sim/journal_lines.h"

namespace zavi::sim {

namespace {

using Json = nlohmann::json;

bool read_file(const std::filesystem::path& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *text = s.str();
    return true;
}

std::string utf8(const std::filesystem::path& path) {
    const std::u8string u = path.u8string();
    return std::string(u.begin(), u.end());
}

// The one module at `index` of `scenario` as a scenario of its own, on real time.
Scenario alone(const Scenario& scenario, std::size_t index) {
    Scenario one;
    one.modules = {scenario.modules[index]};
    one.timing = scenario.timing;
    one.virtual_time = false;
    return one;
}

}  // namespace

struct DeviceSet::Device {
    Device(Scenario scenario, int index, std::string serial, uint64_t generation)
        : driver(std::move(scenario)),
          index(index),
          serial(std::move(serial)),
          generation(generation) {}

    std::mutex lock;  // every call on the driver
    SimDriver driver;
    const int index;  // in the scenario
    const std::string serial;
    std::atomic<bool> unplugged{false};  // read by a count without the lock
    uint64_t generation;                 // the state file change this module has taken
};

DeviceSet::DeviceSet(DeviceFiles files) : files_(std::move(files)) {}
DeviceSet::~DeviceSet() = default;

bool DeviceSet::ready() {
    if (!tried_) {
        tried_ = true;
        start();
    }
    return failure_.empty();
}

void DeviceSet::start() {
    Scenario scenario = live_demo_scenario();
    if (!files_.scenario.empty()) {
        std::string error;
        if (!read_file(files_.scenario, &scenario_text_)) {
            failure_ = "cannot read the scenario file " + utf8(files_.scenario);
            return;
        }
        if (!scenario_from_json(scenario_text_, &scenario, &error)) {
            failure_ = "scenario file " + utf8(files_.scenario) + ": " + error;
            return;
        }
    }
    take(std::move(scenario));
}

// The modules of `scenario`, each a device of its own; the state file still wins for their
// states.
void DeviceSet::take(Scenario scenario) {
    scenario.virtual_time = false;
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> guard(state_lock_);
        load_state(&scenario);
        saved_ = scenario;
        generation = state_generation_;
    }
    count_fails_ = scenario.count_fails;
    devices_.clear();
    for (std::size_t i = 0; i < scenario.modules.size(); ++i)
        devices_.push_back(std::make_shared<Device>(alone(scenario, i), static_cast<int>(i),
                                                    module_serial(scenario, static_cast<int>(i)),
                                                    generation));
}

DriverStatus DeviceSet::count_locked(uint32_t* count) const {
    uint32_t plugged = 0;
    for (const auto& d : devices_) plugged += d->unplugged ? 0 : 1;
    // With every module pulled out the driver fails as one unplugged module always made it.
    if (!devices_.empty() && plugged == 0) return kDriverNotFound;
    if (!count) return kDriverInvalidParameter;
    if (count_fails_) return kDriverIoError;
    *count = plugged;
    return kDriverOk;
}

std::shared_ptr<DeviceSet::Device> DeviceSet::listed(int index) const {
    for (const auto& d : devices_) {
        if (d->unplugged) continue;
        if (index-- == 0) return d;
    }
    return nullptr;
}

DriverStatus DeviceSet::count(uint32_t* count) {
    std::lock_guard<std::mutex> guard(list_lock_);
    if (!ready()) {
        std::fprintf(stderr, "FTD2XX (simulated): %s\n", failure_.c_str());
        return kDriverIoError;
    }
    // A changed scenario replaces the modules while none is open; one that cannot be used now
    // keeps the modules there are.
    std::string text, error;
    if (!files_.scenario.empty() && handles_.empty() && read_file(files_.scenario, &text) &&
        text != scenario_text_) {
        Scenario scenario;
        if (scenario_from_json(text, &scenario, &error)) {
            scenario_text_ = text;
            take(std::move(scenario));
        } else {
            std::fprintf(stderr, "FTD2XX (simulated): changed scenario ignored: %s\n",
                         error.c_str());
        }
    }
    uint32_t n = 0;
    const DriverStatus status = count_locked(count ? &n : nullptr);
    if (count && status == kDriverOk) *count = n;
    log(Json{{"event", "count"}, {"status", status}, {"count", n}}.dump());
    return status;
}

DriverStatus DeviceSet::count_listed(uint32_t* count) {
    std::lock_guard<std::mutex> guard(list_lock_);
    if (!ready()) return kDriverIoError;
    return count_locked(count);
}

DriverStatus DeviceSet::serial_of(uint32_t index, std::string* serial) {
    std::lock_guard<std::mutex> guard(list_lock_);
    if (!ready()) return kDriverIoError;
    uint32_t n = 0;
    if (count_locked(&n) != kDriverOk || index >= n) return kDriverNotFound;
    *serial = listed(static_cast<int>(index))->serial;
    log(Json{{"event", "device_info"}, {"index", index}}.dump());
    return kDriverOk;
}

DriverStatus DeviceSet::open(int index, void** handle) {
    if (handle) *handle = nullptr;
    std::shared_ptr<Device> device;
    {
        std::lock_guard<std::mutex> guard(list_lock_);
        if (!ready()) return kDriverNotFound;
        device = listed(index);
    }
    // The module's own lock only: opening one never waits for another's read.
    DriverStatus status = kDriverNotFound;
    DriverHandle inner = nullptr;
    if (!handle) {
        status = kDriverInvalidParameter;
    } else if (device) {
        std::lock_guard<std::mutex> guard(device->lock);
        status = device->driver.open_by_index(0, &inner);
        device->unplugged = device->driver.unplugged();
    }
    if (status == kDriverOk) {
        std::lock_guard<std::mutex> guard(list_lock_);
        const uintptr_t value = next_handle_;
        next_handle_ += 0x10;
        handles_[value] = {device, inner};
        *handle = reinterpret_cast<void*>(value);
    }
    log(Json{{"event", "open"}, {"index", index}, {"status", status}}.dump());
    return status;
}

bool DeviceSet::find(void* handle, Opened* opened) {
    std::lock_guard<std::mutex> guard(list_lock_);
    const auto it = handles_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == handles_.end()) return false;
    *opened = it->second;
    return true;
}

// Runs `call(device, inner handle)` under the device's lock alone.
template <class Call>
DriverStatus DeviceSet::on_device(void* handle, Call call) {
    Opened opened;
    if (!find(handle, &opened)) return kDriverInvalidHandle;
    Device& device = *opened.device;
    std::lock_guard<std::mutex> guard(device.lock);
    const DriverStatus status = call(device, opened.inner);
    device.unplugged = device.driver.unplugged();
    return status;
}

DriverStatus DeviceSet::set_timeouts(void* handle, uint32_t read_ms, uint32_t write_ms) {
    int module = -1;
    const DriverStatus status = on_device(handle, [&](Device& d, DriverHandle inner) {
        module = d.index;
        return d.driver.set_timeouts(inner, read_ms, write_ms);
    });
    log(Json{{"event", "set_timeouts"},
             {"module", module},
             {"read_ms", read_ms},
             {"write_ms", write_ms},
             {"status", status}}
            .dump());
    return status;
}

DriverStatus DeviceSet::purge(void* handle, uint32_t mask) {
    return on_device(handle,
                     [&](Device& d, DriverHandle inner) { return d.driver.purge(inner, mask); });
}

DriverStatus DeviceSet::write(void* handle, const void* buffer, uint32_t count, uint32_t* written) {
    return on_device(handle, [&](Device& d, DriverHandle inner) {
        before_write(d);
        const DriverStatus status = d.driver.write(inner, buffer, count, written);
        after_write(d);
        return status;
    });
}

DriverStatus DeviceSet::read(void* handle, void* buffer, uint32_t count, uint32_t* got) {
    return on_device(handle, [&](Device& d, DriverHandle inner) {
        return d.driver.read(inner, buffer, count, got);
    });
}

DriverStatus DeviceSet::close(void* handle) {
    Opened opened;
    {
        std::lock_guard<std::mutex> guard(list_lock_);
        const auto it = handles_.find(reinterpret_cast<uintptr_t>(handle));
        if (it == handles_.end()) {
            log(Json{{"event", "close"}, {"module", -1}, {"status", kDriverInvalidHandle}}.dump());
            return kDriverInvalidHandle;
        }
        opened = it->second;
        handles_.erase(it);
    }
    DriverStatus status = kDriverOk;
    {
        std::lock_guard<std::mutex> guard(opened.device->lock);
        status = opened.device->driver.close(opened.inner);
    }
    log(Json{{"event", "close"}, {"module", opened.device->index}, {"status", status}}.dump());
    return status;
}

DriverStatus DeviceSet::set_latency_timer(void* handle, uint8_t ms) {
    int module = -1;
    const DriverStatus status = on_device(handle, [&](Device& d, DriverHandle inner) {
        module = d.index;
        return d.driver.set_latency_timer(inner, ms);
    });
    log(Json{{"event", "latency"}, {"module", module}, {"ms", ms}, {"status", status}}.dump());
    return status;
}

void DeviceSet::load_state(Scenario* scenario) {
    std::string text, error;
    if (files_.state.empty() || !read_file(files_.state, &text)) return;
    std::error_code ignored;
    state_stamp_ = std::filesystem::last_write_time(files_.state, ignored);
    Scenario saved;
    if (!scenario_from_json(text, &saved, &error)) {
        std::fprintf(stderr, "FTD2XX (simulated): state file ignored: %s\n", error.c_str());
        return;
    }
    take_states(saved, scenario);
}

// Written whole through a temporary file, so a reader never sees half a state.
void DeviceSet::save_state() {
    if (files_.state.empty()) return;
    std::string error;
    const std::string path = utf8(files_.state);
    if (!write_file_safely(path, scenario_to_json(saved_), FileAccess::normal, &error)) {
        std::fprintf(stderr, "FTD2XX (simulated): the state file %s %s\n", path.c_str(),
                     error.c_str());
        return;
    }
    std::error_code ignored;
    state_stamp_ = std::filesystem::last_write_time(files_.state, ignored);
}

// Takes a state file that someone else changed: the first module to see the change loads it
// for all, each module takes its part before its next request.
void DeviceSet::before_write(Device& device) {
    std::lock_guard<std::mutex> guard(state_lock_);
    if (!files_.state.empty()) {
        std::error_code error;
        const auto stamp = std::filesystem::last_write_time(files_.state, error);
        if (!error && stamp != state_stamp_) {
            load_state(&saved_);
            ++state_generation_;
        }
    }
    if (device.generation == state_generation_) return;
    device.generation = state_generation_;
    if (static_cast<std::size_t>(device.index) < saved_.modules.size())
        device.driver.state(0) = saved_.modules[static_cast<std::size_t>(device.index)].state;
}

// Journals the frames the write delivered, and saves the states after a write command.
void DeviceSet::after_write(Device& device) {
    std::vector<std::string> lines;
    const bool stored = drain_journal(
        device.driver, [&](const std::string& line) { lines.push_back(line); }, device.index);
    log_lines(lines);
    std::lock_guard<std::mutex> guard(state_lock_);
    if (static_cast<std::size_t>(device.index) < saved_.modules.size())
        saved_.modules[static_cast<std::size_t>(device.index)].state = device.driver.state(0);
    if (stored) save_state();
}

void DeviceSet::log(const std::string& line) {
    log_lines({line});
}

void DeviceSet::log_lines(const std::vector<std::string>& lines) {
    if (files_.journal.empty() || lines.empty()) return;
    std::lock_guard<std::mutex> guard(journal_lock_);
    std::ofstream out(files_.journal, std::ios::app | std::ios::binary);
    for (const std::string& line : lines) out << line << '\n';
}

}  // namespace zavi::sim
