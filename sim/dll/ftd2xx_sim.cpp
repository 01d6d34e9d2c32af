// The simulated module as a drop-in FTD2XX.dll: the seven driver calls, exported by ordinal
// with the real library's stdcall ABI, over one SimDriver running on real time.
//
// Environment (read here only, never by the program):
//   ZAVI_SIM_SCENARIO  scenario JSON file; without it one demo module is simulated, its
//                      status changing on the demo timeline
//   ZAVI_SIM_JOURNAL   file to which every call and every received frame is appended at once,
//                      one JSON object per line: {"event":"frame","module":0,"command":8,
//                      "data":"00","wire":"4D0802CA0016","valid":true}, and "count", "open",
//                      "set_timeouts", "latency", "close" events with their arguments and status
//   ZAVI_SIM_STATE     module state file: loaded at start when it exists, saved after every
//                      write command, so that what a user writes survives a restart; when
//                      someone else changes the file while the program runs, the module takes
//                      the new state before the next request (a test changing readings)
// The scenario file is read again whenever the program counts modules with none open: when its
// text changed, the modules are replaced by the new ones (a module swapped, unplugged or
// plugged in between two searches); the state file still wins for the module state.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "common/safe_file.h"
#include "common/utf16.h"
#include "sim/demo_scenario.h"
#include "sim/journal_lines.h"
#include "sim/simulator.h"

namespace zavi::sim {
namespace {

using Json = nlohmann::json;

std::wstring environment(const wchar_t* name) {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(buffer, n) : std::wstring();
}

bool read_file(const std::wstring& path, std::string* text) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *text = s.str();
    return true;
}

std::string narrow(const std::wstring& w) {
    std::string out;
    for (wchar_t c : w) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

class DropIn {
  public:
    // Sets up the module on first use. False (with the reason on stderr) when the scenario
    // file cannot be used.
    bool ready() {
        if (!tried_) {
            tried_ = true;
            start();
        }
        return driver_ != nullptr;
    }

    SimDriver& driver() { return *driver_; }

    // Before a count with no module open: takes the scenario file again when its text changed.
    // A file that cannot be used now keeps the modules there are (the reason on stderr).
    void before_count() {
        if (scenario_path_.empty() || !handles.empty()) return;
        std::string text, error;
        if (!read_file(scenario_path_, &text) || text == scenario_text_) return;
        Scenario scenario;
        if (!scenario_from_json(text, &scenario, &error)) {
            std::fprintf(stderr, "FTD2XX (simulated): changed scenario ignored: %s\n",
                         error.c_str());
            return;
        }
        scenario_text_ = text;
        load_state(&scenario);
        scenario.virtual_time = false;
        driver_ = std::make_unique<SimDriver>(std::move(scenario));
    }
    const std::string& failure() const { return failure_; }

    void log(Json event) { log_line(event.dump()); }
    void log_line(const std::string& line) {
        if (journal_path_.empty()) return;
        std::ofstream out(std::filesystem::path(journal_path_), std::ios::app | std::ios::binary);
        out << line << '\n';
    }

    // Picks up a state file that changed since this module last read or wrote it.
    void before_write() {
        std::error_code error;
        if (state_path_.empty()) return;
        const auto stamp = std::filesystem::last_write_time(state_path_, error);
        if (error || stamp == state_stamp_) return;
        load_state(&driver_->scenario());
    }

    // Journals the frames the last write delivered and saves the state after a write command.
    void after_write() {
        if (drain_journal(*driver_, [this](const std::string& line) { log_line(line); }))
            save_state();
    }

    std::map<void*, int> handles;  // open handle -> module index, for the journal
    std::mutex lock;

  private:
    void start() {
        journal_path_ = environment(L"ZAVI_SIM_JOURNAL");
        state_path_ = environment(L"ZAVI_SIM_STATE");
        Scenario scenario = live_demo_scenario();
        scenario_path_ = environment(L"ZAVI_SIM_SCENARIO");
        if (!scenario_path_.empty()) {
            std::string error;
            if (!read_file(scenario_path_, &scenario_text_)) {
                failure_ = "cannot read the scenario file " + narrow(scenario_path_);
                return;
            }
            if (!scenario_from_json(scenario_text_, &scenario, &error)) {
                failure_ = "scenario file " + narrow(scenario_path_) + ": " + error;
                return;
            }
        }
        load_state(&scenario);
        scenario.virtual_time = false;
        driver_ = std::make_unique<SimDriver>(std::move(scenario));
    }

    void load_state(Scenario* scenario) {
        std::string text, error;
        if (state_path_.empty() || !read_file(state_path_, &text)) return;
        remember_stamp();
        Scenario saved;
        if (!scenario_from_json(text, &saved, &error)) {
            std::fprintf(stderr, "FTD2XX (simulated): state file ignored: %s\n", error.c_str());
            return;
        }
        take_states(saved, scenario);
    }

    // Written whole through a temporary file, so a reader never sees half a state.
    void save_state() {
        if (state_path_.empty()) return;
        std::string error;
        const std::string path =
            utf16_to_utf8(std::u16string(state_path_.begin(), state_path_.end()));
        if (!write_file_safely(path, scenario_to_json(driver_->scenario()), FileAccess::normal,
                               &error)) {
            std::fprintf(stderr, "FTD2XX (simulated): the state file %s %s\n", path.c_str(),
                         error.c_str());
            return;
        }
        remember_stamp();
    }

    void remember_stamp() {
        std::error_code error;
        state_stamp_ = std::filesystem::last_write_time(state_path_, error);
    }

    bool tried_ = false;
    std::unique_ptr<SimDriver> driver_;
    std::string failure_;
    std::wstring journal_path_;
    std::wstring state_path_;
    std::wstring scenario_path_;
    std::string scenario_text_;  // the text the modules come from
    std::filesystem::file_time_type state_stamp_{};
};

DropIn& drop_in() {
    static DropIn d;
    return d;
}

}  // namespace
}  // namespace zavi::sim

using zavi::sim::drop_in;
using zavi::sim::Json;

extern "C" {

DWORD WINAPI ZaviSimCountDevices(DWORD* count) {
    auto& d = drop_in();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!d.ready()) {
        std::fprintf(stderr, "FTD2XX (simulated): %s\n", d.failure().c_str());
        return zavi::kDriverIoError;
    }
    d.before_count();
    uint32_t n = 0;
    const DWORD status = d.driver().count_devices(count ? &n : nullptr);
    if (count && status == 0) *count = n;
    d.log({{"event", "count"}, {"status", status}, {"count", n}});
    return status;
}

DWORD WINAPI ZaviSimOpenByIndex(int index, void** handle) {
    auto& d = drop_in();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!d.ready()) {
        if (handle) *handle = nullptr;
        return zavi::kDriverNotFound;
    }
    const DWORD status = d.driver().open_by_index(index, handle);
    if (status == 0) d.handles[*handle] = index;
    d.log({{"event", "open"}, {"index", index}, {"status", status}});
    return status;
}

DWORD WINAPI ZaviSimSetTimeouts(void* handle, DWORD read_ms, DWORD write_ms) {
    auto& d = drop_in();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!d.ready()) return zavi::kDriverInvalidHandle;
    const DWORD status = d.driver().set_timeouts(handle, read_ms, write_ms);
    const auto it = d.handles.find(handle);
    d.log({{"event", "set_timeouts"},
           {"module", it == d.handles.end() ? -1 : it->second},
           {"read_ms", read_ms},
           {"write_ms", write_ms},
           {"status", status}});
    return status;
}

DWORD WINAPI ZaviSimPurge(void* handle, DWORD mask) {
    auto& d = drop_in();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!d.ready()) return zavi::kDriverInvalidHandle;
    return d.driver().purge(handle, mask);
}

DWORD WINAPI ZaviSimWrite(void* handle, void* buffer, DWORD count, DWORD* written) {
    auto& d = drop_in();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!d.ready()) return zavi::kDriverInvalidHandle;
    d.before_write();
    uint32_t n = 0;
    const DWORD status = d.driver().write(handle, buffer, count, written ? &n : nullptr);
    if (written) *written = n;
    d.after_write();
    return status;
}

DWORD WINAPI ZaviSimRead(void* handle, void* buffer, DWORD count, DWORD* got) {
    auto& d = drop_in();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!d.ready()) return zavi::kDriverInvalidHandle;
    uint32_t n = 0;
    const DWORD status = d.driver().read(handle, buffer, count, got ? &n : nullptr);
    if (got) *got = n;
    return status;
}

DWORD WINAPI ZaviSimClose(void* handle) {
    auto& d = drop_in();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!d.ready()) return zavi::kDriverInvalidHandle;
    const DWORD status = d.driver().close(handle);
    const auto it = d.handles.find(handle);
    d.log({{"event", "close"},
           {"module", it == d.handles.end() ? -1 : it->second},
           {"status", status}});
    if (it != d.handles.end()) d.handles.erase(it);
    return status;
}

// Exported by name only, as the vendor library does; the program looks it up by name.
DWORD WINAPI FT_SetLatencyTimer(void* handle, UCHAR ms) {
    auto& d = drop_in();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!d.ready()) return zavi::kDriverInvalidHandle;
    const DWORD status = d.driver().set_latency_timer(handle, ms);
    const auto it = d.handles.find(handle);
    d.log({{"event", "latency"},
           {"module", it == d.handles.end() ? -1 : it->second},
           {"ms", ms},
           {"status", status}});
    return status;
}

// The device information list, by name only as in the vendor library: the serial number is the
// scenario's, the description the product's.
DWORD WINAPI FT_CreateDeviceInfoList(DWORD* count) {
    auto& d = drop_in();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!d.ready()) return zavi::kDriverIoError;
    uint32_t n = 0;
    const DWORD status = d.driver().count_devices(&n);
    if (count && status == 0) *count = n;
    return status;
}

DWORD WINAPI FT_GetDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type, DWORD* id,
                                    DWORD* location, void* serial, void* description,
                                    void** handle) {
    auto& d = drop_in();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!d.ready()) return zavi::kDriverIoError;
    uint32_t n = 0;
    if (d.driver().count_devices(&n) != 0 || index >= n) return zavi::kDriverNotFound;
    if (flags) *flags = 0;
    if (type) *type = 5;  // an FT232R
    if (id) *id = 0x04036001;
    if (location) *location = 0x11 + index;
    if (handle) *handle = nullptr;
    // 16 and 64 bytes with their ends, as the vendor library fills them.
    if (serial) {
        const std::string text =
            zavi::sim::module_serial(d.driver().scenario(), static_cast<int>(index));
        std::snprintf(static_cast<char*>(serial), 16, "%s", text.c_str());
    }
    if (description) std::snprintf(static_cast<char*>(description), 64, "%s", "FT232R USB UART");
    d.log({{"event", "device_info"}, {"index", index}});
    return 0;
}

}  // extern "C"
