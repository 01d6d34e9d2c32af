#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

#include "link/clock.h"
#include "link/codec.h"
#include "sim/answer_builder.h"
#include "sim/module_behaviour.h"
#include "sim/receive_path.h"
#include "sim/request_decoder.h"
#include "sim/simulator.h"

namespace zavi::sim {

namespace {

using Bytes = std::vector<uint8_t>;

// Request bytes that never end in a frame are dropped (and journaled) beyond this.
constexpr std::size_t kMaxPendingRequest = 2 * kMaxWireFrame;
constexpr uint64_t kVirtualStartUs = 1'000'000'000;
constexpr uint32_t kBitsPerByte = 10;

uint64_t steady_us() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// Time for `bytes` bytes on the serial line.
uint64_t line_us(uint64_t bytes, uint32_t baud) {
    return bytes * kBitsPerByte * 1'000'000 / std::max<uint32_t>(baud, 1);
}

struct FaultCounter {
    int matched = 0;
    int applied = 0;
};

struct ModuleRuntime {
    bool open = false;
    uint32_t read_ms = 0;  // 0: no time-out
    Bytes pending;         // request bytes since the last end byte
    ReceivePath rx;
    Bytes previous_answer;
    std::vector<FaultCounter> counters;
    uint64_t line_busy_until = 0;  // last request byte on its way to the module
    uint32_t latency_ms = 0;       // set through the handle; 0: the scenario's
    bool opened_once = false;      // the timeline runs from the first open
    uint64_t first_open_us = 0;
    int64_t timeline_done_us = -1;  // elapsed time up to which the timeline is applied
};

}  // namespace

struct SimDriver::Impl {
    Scenario scenario;
    std::vector<ModuleRuntime> modules;
    std::map<uintptr_t, int> handles;  // handle value -> module index
    uintptr_t next_handle = 0x1000;
    std::vector<JournalEntry> journal;
    std::vector<TimeoutCall> timeout_calls;
    bool unplugged = false;
    uint64_t virtual_now = kVirtualStartUs;

    uint64_t now() const { return scenario.virtual_time ? virtual_now : steady_us(); }

    void wait_until(uint64_t t) {
        if (scenario.virtual_time) {
            virtual_now = std::max(virtual_now, t);
            return;
        }
        const uint64_t n = steady_us();
        if (t > n) std::this_thread::sleep_for(std::chrono::microseconds(t - n));
    }

    // Tests may add modules to the scenario at any time; every call starts by catching up.
    void sync() {
        if (modules.size() < scenario.modules.size()) modules.resize(scenario.modules.size());
    }

    uint32_t latency_of(const ModuleRuntime& rt) const {
        return rt.latency_ms != 0 ? rt.latency_ms : scenario.timing.latency_ms;
    }

    ModuleRuntime& runtime(int module) {
        ModuleRuntime& rt = modules[module];
        rt.rx.set_batching(scenario.timing.realistic, latency_of(rt));
        return rt;
    }

    int module_of(DriverHandle handle) const {
        const auto it = handles.find(reinterpret_cast<uintptr_t>(handle));
        if (it == handles.end() || it->second >= static_cast<int>(scenario.modules.size()))
            return -1;
        return it->second;
    }

    // The faults that apply to this request; counts it against every fault it matches.
    std::vector<const Fault*> faults_for(int module, uint8_t command, int sub_index) {
        Module& m = scenario.modules[module];
        ModuleRuntime& rt = runtime(module);
        rt.counters.resize(m.faults.size());
        std::vector<const Fault*> out;
        for (std::size_t i = 0; i < m.faults.size(); ++i) {
            const Fault& f = m.faults[i];
            if (f.command >= 0 && f.command != command) continue;
            if (f.sub_index >= 0 && f.sub_index != sub_index) continue;
            FaultCounter& c = rt.counters[i];
            ++c.matched;
            if (c.matched <= f.skip) continue;
            if (f.times >= 0 && c.applied >= f.times) continue;
            ++c.applied;
            out.push_back(&f);
        }
        return out;
    }

    void schedule(ModuleRuntime& rt, const OutgoingAnswer& answer, uint64_t request_done) {
        const Timing& t = scenario.timing;
        uint64_t start = request_done + answer.delay_us;
        if (t.realistic) start += t.answer_us;
        for (std::size_t i = 0; i < answer.wire.size(); ++i) {
            uint64_t at = start + uint64_t{answer.drip_us} * i;
            if (t.realistic)
                at = start + std::max(line_us(i + 1, t.baud), uint64_t{answer.drip_us} * (i + 1));
            rt.rx.add(answer.wire[i], at);
        }
    }

    // One frame the module received (`wire` ends with the end byte). False when an unplug
    // fault struck.
    bool receive_frame(int module, Bytes wire, uint64_t arrived) {
        // A start byte resynchronises the module: what came before it is a broken frame.
        const auto start = std::find(wire.rbegin(), wire.rend(), kRequestStart);
        if (start != wire.rend() && start.base() - 1 != wire.begin()) {
            const auto cut = start.base() - 1;
            journal.push_back({module, 0, {}, Bytes(wire.begin(), cut), false});
            wire.erase(wire.begin(), cut);
        }
        const DecodedRequest request = decode_request(wire);
        const bool valid = request.frame_ok && request_fits_command(request.command, request.data);
        journal.push_back({module, request.command, request.data, wire, valid});
        if (!valid) return true;

        const auto faults =
            faults_for(module, request.command, request_sub_index(request.command, request.data));
        for (const Fault* f : faults) {
            if (f->kind == FaultKind::unplug) {
                unplugged = true;
                return false;
            }
        }

        ModuleState& state = scenario.modules[module].state;
        ModuleRuntime& rt = runtime(module);
        if (rt.opened_once) {
            const auto elapsed =
                static_cast<int64_t>(arrived - std::min(arrived, rt.first_open_us));
            apply_timeline(scenario.modules[module].timeline, rt.timeline_done_us, elapsed, &state);
            rt.timeline_done_us = std::max(rt.timeline_done_us, elapsed);
        }
        const bool write = is_write_command(request.command);
        Bytes data;
        if (write)
            store_write(state, request.command, request.data);
        else
            data = answer_data(state, request.command, request.data);
        const OutgoingAnswer answer =
            build_answer(request.command, write, data, faults, rt.previous_answer);
        if (!answer.wire.empty()) rt.previous_answer = answer.wire;
        schedule(rt, answer, arrived);
        return true;
    }

    DriverStatus write(int module, const uint8_t* bytes, uint32_t count, uint32_t* written) {
        ModuleRuntime& rt = runtime(module);
        const Timing& t = scenario.timing;
        const uint64_t begin = std::max(now(), rt.line_busy_until);
        for (uint32_t i = 0; i < count; ++i) {
            rt.pending.push_back(bytes[i]);
            const uint64_t arrived = t.realistic ? begin + line_us(i + 1, t.baud) : now();
            if (t.realistic) rt.line_busy_until = arrived;
            if (bytes[i] == kFrameEnd) {
                Bytes frame;
                frame.swap(rt.pending);
                if (!receive_frame(module, std::move(frame), arrived)) {
                    *written = 0;
                    return kDriverNotFound;
                }
            } else if (rt.pending.size() > kMaxPendingRequest) {
                journal.push_back({module, 0, {}, rt.pending, false});
                rt.pending.clear();
            }
        }
        *written = count;
        return kDriverOk;
    }

    DriverStatus read(int module, uint8_t* buffer, uint32_t count, uint32_t* got) {
        ModuleRuntime& rt = runtime(module);
        const uint64_t begin = now();
        const bool bounded = rt.read_ms > 0;
        const uint64_t deadline = begin + uint64_t{rt.read_ms} * 1000;
        rt.rx.advance(begin);
        while (rt.rx.available() < count) {
            uint64_t at = 0;
            const bool coming = rt.rx.next_delivery(&at);
            if (coming && (!bounded || at <= deadline)) {
                wait_until(at);
                rt.rx.advance(std::max(at, now()));
                continue;
            }
            if (bounded) {
                wait_until(deadline);
                rt.rx.advance(deadline);
            }
            break;
        }
        *got = static_cast<uint32_t>(rt.rx.take(buffer, count));
        return kDriverOk;
    }
};

namespace {

// The virtual clocks of the drivers alive, newest last; the link layer reads the newest.
std::vector<const SimDriver*> clock_owners;

uint64_t owner_clock() {
    return clock_owners.empty() ? 0 : clock_owners.back()->now_us();
}

}  // namespace

SimDriver::SimDriver(Scenario scenario) : impl_(std::make_unique<Impl>()) {
    impl_->scenario = std::move(scenario);
    impl_->modules.resize(impl_->scenario.modules.size());
    if (impl_->scenario.virtual_time) {
        clock_owners.push_back(this);
        set_clock(owner_clock);
    }
}

SimDriver::~SimDriver() {
    const auto it = std::find(clock_owners.begin(), clock_owners.end(), this);
    if (it != clock_owners.end()) {
        clock_owners.erase(it);
        set_clock(clock_owners.empty() ? nullptr : owner_clock);
    }
}

DriverStatus SimDriver::count_devices(uint32_t* count) {
    impl_->sync();
    if (impl_->unplugged) return kDriverNotFound;
    if (!count) return kDriverInvalidParameter;
    if (impl_->scenario.count_fails) return kDriverIoError;
    *count = static_cast<uint32_t>(impl_->scenario.modules.size());
    return kDriverOk;
}

DriverStatus SimDriver::open_by_index(int index, DriverHandle* handle) {
    impl_->sync();
    if (handle) *handle = nullptr;
    if (impl_->unplugged) return kDriverNotFound;
    if (!handle) return kDriverInvalidParameter;
    if (index < 0 || index >= static_cast<int>(impl_->scenario.modules.size()))
        return kDriverNotFound;
    ModuleRuntime& rt = impl_->runtime(index);
    // Like the real chip, a module is open through one handle at a time.
    if (impl_->scenario.modules[index].open_fails || rt.open) return kDriverNotOpened;
    rt.open = true;
    if (!rt.opened_once) {
        rt.opened_once = true;
        rt.first_open_us = impl_->now();
    }
    rt.read_ms = 0;
    rt.latency_ms = 0;
    rt.pending.clear();
    rt.rx.clear();
    const uintptr_t value = impl_->next_handle;
    impl_->next_handle += 0x10;
    impl_->handles[value] = index;
    *handle = reinterpret_cast<DriverHandle>(value);
    return kDriverOk;
}

DriverStatus SimDriver::set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) {
    impl_->sync();
    if (impl_->unplugged) return kDriverNotFound;
    const int module = impl_->module_of(handle);
    if (module < 0) return kDriverInvalidHandle;
    impl_->timeout_calls.push_back({module, read_ms, write_ms});
    if (impl_->scenario.modules[module].timeouts_fail) return kDriverIoError;
    impl_->runtime(module).read_ms = read_ms;
    return kDriverOk;
}

DriverStatus SimDriver::purge(DriverHandle handle, uint32_t mask) {
    impl_->sync();
    if (impl_->unplugged) return kDriverNotFound;
    const int module = impl_->module_of(handle);
    if (module < 0) return kDriverInvalidHandle;
    // Requests are taken by the module as they are written, so only the receive side holds
    // anything to throw away: bytes waiting for the host and answers still on their way.
    if (mask & 1) impl_->runtime(module).rx.clear();
    return kDriverOk;
}

DriverStatus SimDriver::write(DriverHandle handle, const void* buffer, uint32_t count,
                              uint32_t* written) {
    impl_->sync();
    const int module = impl_->module_of(handle);
    const DriverStatus checked = check_transfer(module >= 0, buffer, count, written);
    if (impl_->unplugged) return kDriverNotFound;
    if (checked != kDriverOk) return checked;
    return impl_->write(module, static_cast<const uint8_t*>(buffer), count, written);
}

DriverStatus SimDriver::read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) {
    impl_->sync();
    const int module = impl_->module_of(handle);
    const DriverStatus checked = check_transfer(module >= 0, buffer, count, got);
    if (impl_->unplugged) return kDriverNotFound;
    if (checked != kDriverOk) return checked;
    return impl_->read(module, static_cast<uint8_t*>(buffer), count, got);
}

DriverStatus SimDriver::close(DriverHandle handle) {
    impl_->sync();
    const auto it = impl_->handles.find(reinterpret_cast<uintptr_t>(handle));
    if (it == impl_->handles.end())
        return impl_->unplugged ? kDriverNotFound : kDriverInvalidHandle;
    // The handle is given up even when the module is gone, so leaks stay visible.
    if (it->second < static_cast<int>(impl_->scenario.modules.size())) {
        ModuleRuntime& rt = impl_->runtime(it->second);
        rt.open = false;
        rt.latency_ms = 0;
        rt.pending.clear();
        rt.rx.clear();
    }
    impl_->handles.erase(it);
    return impl_->unplugged ? kDriverNotFound : kDriverOk;
}

DriverStatus SimDriver::set_latency_timer(DriverHandle handle, uint8_t ms) {
    impl_->sync();
    if (impl_->unplugged) return kDriverNotFound;
    const int module = impl_->module_of(handle);
    if (module < 0) return kDriverInvalidHandle;
    if (ms == 0) return kDriverInvalidParameter;
    impl_->runtime(module).latency_ms = ms;
    return kDriverOk;
}

uint32_t SimDriver::latency_ms(int module) const {
    if (module < 0 || module >= static_cast<int>(impl_->modules.size()))
        return impl_->scenario.timing.latency_ms;
    return impl_->latency_of(impl_->modules[module]);
}

std::string module_serial(const Scenario& scenario, int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < scenario.modules.size() &&
        !scenario.modules[static_cast<std::size_t>(index)].serial.empty())
        return scenario.modules[static_cast<std::size_t>(index)].serial;
    char serial[16];
    std::snprintf(serial, sizeof serial, "SIM%05d", index + 1);
    return serial;
}

Scenario& SimDriver::scenario() {
    return impl_->scenario;
}
ModuleState& SimDriver::state(int module) {
    return impl_->scenario.modules.at(module).state;
}
const std::vector<JournalEntry>& SimDriver::journal() const {
    return impl_->journal;
}
void SimDriver::clear_journal() {
    impl_->journal.clear();
}
const std::vector<TimeoutCall>& SimDriver::timeout_calls() const {
    return impl_->timeout_calls;
}
int SimDriver::open_handles() const {
    return static_cast<int>(impl_->handles.size());
}
uint64_t SimDriver::now_us() const {
    return impl_->now();
}
void SimDriver::pass_time(uint64_t us) {
    impl_->wait_until(impl_->now() + us);
}
bool SimDriver::unplugged() const {
    return impl_->unplugged;
}

}  // namespace zavi::sim
