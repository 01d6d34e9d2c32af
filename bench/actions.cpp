#include "bench/actions.h"

#include <cstdio>
#include <string_view>

#include "app/device_discovery.h"
#include "app/worker_job.h"
#include "config/operations.h"
#include "link/config_commands.h"
#include "link/connection.h"
#include "link/io_name_commands.h"
#include "link/phone_commands.h"
#include "link/records.h"
#include "link/status_commands.h"
#include "resources/ids.h"
#include "sim/demo_scenario.h"
#include "ui/fake_dialog_view.h"

namespace zavi::bench {

namespace {

constexpr int kEmergencyNumbers = 6;

// An 11-digit number that differs for every i, packed as the module holds it: two digits a
// byte, the first in the high nibble, 0xF after the last digit.
sim::Number number(int i) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "4860%07d", 1000000 + 3 * i);
    sim::Number out;
    out.fill(0xFF);
    for (std::size_t d = 0; d < 2 * out.size() && digits[d] != '\0'; ++d) {
        const uint8_t nibble = static_cast<uint8_t>(digits[d] - '0');
        uint8_t& byte = out[d / 2];
        byte = d % 2 == 0 ? static_cast<uint8_t>(nibble << 4 | 0x0F)
                          : static_cast<uint8_t>((byte & 0xF0) | nibble);
    }
    return out;
}

void fill_module_numbers(sim::ModuleState* module, int accepted) {
    if (module == nullptr) return;
    module->emergency_numbers.clear();
    for (int i = 0; i < kEmergencyNumbers; ++i) module->emergency_numbers.push_back(number(i));
    module->accepted_numbers.clear();
    for (int i = 0; i < accepted; ++i) module->accepted_numbers.push_back(number(1000 + i));
}

void fill_program_numbers(sim::ModuleState*, int accepted) {
    accept_all = 0;
    emergency_count = kEmergencyNumbers;
    for (int i = 0; i < kEmergencyNumbers; ++i) {
        const sim::Number n = number(i);
        for (std::size_t b = 0; b < n.size(); ++b) emergency_numbers[i].bytes[b] = n[b];
    }
    accepted_count = static_cast<uint16_t>(accepted);
    for (int i = 0; i < accepted; ++i) {
        const sim::Number n = number(1000 + i);
        for (std::size_t b = 0; b < n.size(); ++b) accepted_numbers[i].bytes[b] = n[b];
    }
}

void nothing(sim::ModuleState*, int) {}

void closed(sim::ModuleState*, int) {
    close_module();
}

// What the main window does on start-up once its panels are drawn: find and open the module,
// check its firmware, then the first read (status parts 0-2 and the alarm settings; each is
// tried again on failure, which does not happen here).
LinkResult start_up(int) {
    FakeDialogView view(IDD_MAIN);
    if (!discover_device(view)) return LinkResult::failed;
    const LinkResult status = run_job_operations(JOB_READ_STATUS, device_handle);
    return status != LinkResult::ok ? status
                                    : run_job_operations(JOB_READ_ALARM_SETTINGS, device_handle);
}

template <WorkerJob kJob>
LinkResult job(int) {
    return run_job_operations(kJob, device_handle);
}

template <LinkResult (*write)(DriverHandle)>
LinkResult save(int) {
    return write(device_handle);
}

LinkResult save_io_names(int) {
    const LinkResult first = write_io_names(device_handle, 0);
    return first != LinkResult::ok ? first : write_io_names(device_handle, 1);
}

// The configuration file of the bench module with 260 numbers, read once from a module of its
// own, so that a restore of it finds nothing to write.
const config::Configuration& bench_file() {
    static const config::Configuration file = [] {
        sim::Scenario s = bench_scenario();
        fill_module_numbers(&s.modules[0].state, 260);
        sim::SimDriver own(s);
        Driver* before = driver();
        set_driver(&own);
        DriverHandle h = nullptr;
        own.open_by_index(0, &h);
        config::Configuration c;
        config::read_configuration(h, false, {}, &c, nullptr);
        own.close(h);
        set_driver(before);
        return c;
    }();
    return file;
}

void module_for_restore(sim::ModuleState* module, int) {
    fill_module_numbers(module, 260);
    if (module) module->auto_reset = 0;
}

LinkResult backup(int) {
    config::Configuration c;
    return config::read_configuration(device_handle, false, {}, &c, nullptr);
}

template <bool kChangeOne>
LinkResult restore(int) {
    config::Configuration file = bench_file();
    if (kChangeOne) file.auto_reset_days = 3;
    const config::RestoreReport r = config::restore_configuration(device_handle, file, {}, {});
    const auto want =
        kChangeOne ? config::RestoreOutcome::verified : config::RestoreOutcome::already_equal;
    return r.outcome == want ? LinkResult::ok : LinkResult::failed;
}

// The program's Restore: the read that shows the differences, then the write planned from it.
LinkResult restore_in_program(int) {
    config::Configuration file = bench_file();
    file.auto_reset_days = 3;
    config::RestoreOptions options;
    options.dry_run = true;
    const config::RestoreReport plan =
        config::restore_configuration(device_handle, file, options, {});
    if (plan.outcome != config::RestoreOutcome::planned) return LinkResult::failed;
    options.dry_run = false;
    options.module_now = &plan.module_before;
    const config::RestoreReport r = config::restore_configuration(device_handle, file, options, {});
    return r.outcome == config::RestoreOutcome::verified ? LinkResult::ok : LinkResult::failed;
}

}  // namespace

void close_module() {
    if (device_handle != nullptr && driver() != nullptr) driver()->close(device_handle);
    device_handle = nullptr;
}

bool open_module() {
    if (device_handle != nullptr) return true;
    FakeDialogView view(IDD_MAIN);
    return discover_device(view);
}

sim::Scenario bench_scenario() {
    sim::Scenario s = sim::demo_scenario();
    sim::ModuleState& m = s.modules.at(0).state;
    constexpr std::string_view kLongest = "Front door contact of the garage  opened";
    static_assert(kLongest.size() == 40);
    for (std::size_t i = 0; i < m.io_names.size(); ++i) {
        m.io_names[i] = kLongest;
        m.io_names[i][0] = static_cast<char>('A' + i);
    }
    return s;
}

std::vector<Action> user_actions() {
    std::vector<Action> a = {
        {"Start-up (discovery, version, first read)", closed, start_up, 0, true},
        {"Refresh", nothing, job<JOB_READ_STATUS>},
        {"Read (alarm settings)", nothing, job<JOB_READ_ALARM_SETTINGS>},
        {"Save alarm settings", nothing, save<write_alarm_settings>},
        {"Alarm procedures: read", nothing, job<JOB_READ_ACTIONS>},
        {"Alarm procedures: Save", nothing, save<write_actions>},
        {"PIN and PUK: read", nothing, job<JOB_READ_PIN_PUK>},
        {"PIN and PUK: Save", nothing, save<write_sim_codes>},
        {"Answer for call: read", nothing, job<JOB_READ_CALL_ANSWER>},
        {"Answer for call: Save", nothing, save<write_call_answer>},
        {"Auto-Status: read", nothing, job<JOB_READ_AUTO_STATUS>},
        {"Auto-Status: Save", nothing, save<write_auto_status>},
        {"Auto-Reset: read", nothing, job<JOB_READ_AUTO_RESET>},
        {"Auto-Reset: Save", nothing, save<write_auto_reset>},
    };
    for (int n : {0, 40, 260}) {
        const std::string count = std::to_string(n);
        a.push_back({"Telephone numbers: read, " + count, fill_module_numbers,
                     job<JOB_READ_PHONE_NUMBERS>, n});
        a.push_back({"Telephone numbers: Save, " + count, fill_program_numbers,
                     save<write_phone_numbers>, n});
    }
    a.push_back({"I/O names: read", nothing, job<JOB_READ_IO_NAMES>});
    a.push_back({"I/O names: Save", nothing, save_io_names});
    a.push_back({"Reset", nothing, job<JOB_RESET_DEVICE>});
    a.push_back(
        {"Configuration: backup, 260 numbers", fill_module_numbers, backup, 260, false, 1.10});
    a.push_back({"Configuration: restore, equal file", module_for_restore, restore<false>, 260});
    a.push_back({"Configuration: restore, one record", module_for_restore, restore<true>, 260});
    a.push_back({"Configuration: the program's Restore", module_for_restore, restore_in_program,
                 260, false, 1.10});
    return a;
}

}  // namespace zavi::bench
