#include "cli/cli.h"

#include <chrono>
#include <filesystem>
#include <memory>

#include "cli/arguments.h"
#include "cli/commission_commands.h"
#include "cli/history_command.h"
#include "cli/mqtt_command.h"
#include "cli/site_commands.h"
#include "cli/status_output.h"
#include "common/safe_file.h"
#include "config/compare.h"
#include "config/config_file.h"
#include "config/files.h"
#include "config/numbers_csv.h"
#include "config/operations.h"
#include "config/record_values.h"
#include "config/restore_report.h"
#include "link/connection.h"
#include "link/records.h"
#include "link/status_commands.h"
#include "sim/demo_scenario.h"
#include "sim/simulator.h"

namespace zavi::cli {

namespace {

using namespace zavi::config;

constexpr uint8_t kEnglish = 1;
constexpr auto kProgressDelay = std::chrono::milliseconds(500);

class NoticeToText : public FirmwareNotice {
  public:
    void firmware_mismatch(std::string_view message) override { text.assign(message); }
    std::string text;
};

// A progress line on a terminal, only once an operation has taken half a second.
class ProgressLine {
  public:
    ProgressLine(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}
    ~ProgressLine() { finish(); }
    Progress callback() {
        return [this](const ProgressEvent& e) { show(e); };
    }
    void finish() {
        if (shown_) err_ << "\r\033[K" << std::flush;
        shown_ = false;
    }

  private:
    void show(const ProgressEvent& e) {
        if (!terminal_ || std::chrono::steady_clock::now() - start_ < kProgressDelay) return;
        static constexpr const char* kSteps[] = {"Reading", "Writing", "Verifying"};
        err_ << "\r\033[K" << kSteps[static_cast<int>(e.step)] << " " << record_name(e.record);
        if (e.blocks > 1) err_ << " (block " << e.block << " of " << e.blocks << ")";
        err_ << "..." << std::flush;
        shown_ = true;
    }
    std::ostream& err_;
    bool terminal_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

std::string record_list(const std::vector<Record>& records) {
    if (records.empty()) return "nothing";
    std::string out;
    for (const Record r : records) out += (out.empty() ? "" : ", ") + std::string(record_name(r));
    return out;
}

class Session {
  public:
    Session(const Arguments& args, Environment& env) : args_(args), env_(env) {}
    ~Session() { close(); }

    // Loads the simulated module or the USB driver, then opens the module as the program
    // does. An exit code other than kExitDone ends the command.
    int open() {
        const int code = open_module();
        if (code == kExitDone) identity_ = serial_of_opened();
        return code;
    }

    int open_module() {
        if (args_.port) return open_port(*args_.port);
        Driver* usb = nullptr;
        if (args_.sim) {
            const int loaded = load_sim();
            if (loaded != kExitDone) return loaded;
            usb = env_.test_module ? static_cast<Driver*>(env_.test_module) : own_sim_.get();
        } else {
            std::string why;
            usb = env_.usb_driver ? env_.usb_driver(&why) : nullptr;
            if (!usb) {
                env_.err << "zavi-gsm-cli: " << (why.empty() ? "no USB driver" : why) << "\n";
                return kExitNoModule;
            }
        }
        set_driver(usb);
        uint32_t count = 0;
        if (usb->count_devices(&count) != kDriverOk) count = 0;
        NoticeToText notice;
        // Ports the driver could not use at all, and whether any other one stayed silent.
        std::string unusable;
        bool silent = false;
        const auto try_index = [&](int index, DriverHandle* h) {
            open_device(index, h, kEnglish, notice);
            if (*h) return;
            const std::string why = env_.unusable_port ? env_.unusable_port() : std::string();
            if (why.empty())
                silent = true;
            else
                unusable = why;
        };
        if (args_.device) {
            if (count > 0 && static_cast<uint32_t>(*args_.device) >= count) {
                env_.err << "zavi-gsm-cli: no module at index " << *args_.device << " (" << count
                         << " found)\n";
                return kExitNoModule;
            }
            try_index(*args_.device, &handle_);
            index_ = *args_.device;
        } else if (count <= 1) {
            try_index(0, &handle_);
        } else {
            // The highest index that opens and runs the right firmware, as the program picks.
            for (uint32_t index = 0; index < count; ++index) {
                DriverHandle h = nullptr;
                try_index(static_cast<int>(index), &h);
                if (!h) continue;
                if (handle_) usb->close(handle_);
                handle_ = h;
                index_ = static_cast<int>(index);
            }
        }
        if (handle_) return kExitDone;
        if (!notice.text.empty()) {
            env_.err << "zavi-gsm-cli: " << notice.text << "\n";
            return kExitNoModule;
        }
        if (count == 0) {
            env_.err << "zavi-gsm-cli: no module connected\n";
            return kExitNoModule;
        }
        // Only when no port could even be opened is there no module to talk to.
        if (!silent && !unusable.empty()) {
            env_.err << "zavi-gsm-cli: " << unusable << "\n";
            return kExitNoModule;
        }
        env_.err << "zavi-gsm-cli: the module does not answer\n";
        return kExitCommunication;
    }

    DriverHandle handle() const { return handle_; }
    // The USB chip's serial number of the open module, "" when not known.
    const std::string& identity() const { return identity_; }

    // Closes the module and saves the simulated module's state when asked to.
    int close() {
        if (handle_ && driver()) driver()->close(handle_);
        handle_ = nullptr;
        set_driver(nullptr);
        if (own_sim_ && !args_.state_file.empty()) {
            std::string why;
            const std::string text = sim::scenario_to_json(own_sim_->scenario());
            own_sim_.reset();
            const bool saved = write_file_atomic(args_.state_file, text, &why);
            state_lock_.unlock();
            if (!saved) {
                env_.err << "zavi-gsm-cli: " << args_.state_file << " " << why << "\n";
                return kExitInvalidFile;
            }
        }
        own_sim_.reset();
        state_lock_.unlock();
        return kExitDone;
    }

  private:
    std::string serial_of_opened() const {
        if (args_.sim) {
            sim::SimDriver* module = env_.test_module ? env_.test_module : own_sim_.get();
            return sim::module_serial(module->scenario(), index_);
        }
        return env_.port_serial ? env_.port_serial(args_.port ? 0 : index_) : std::string();
    }

    int open_port(const std::string& port) {
        if (!env_.open_port) {
            env_.err << "zavi-gsm-cli: serial ports are not supported by this build\n";
            return kExitNoModule;
        }
        NoticeToText notice;
        std::string message;
        const PortOutcome outcome = env_.open_port(port, notice, &handle_, &message);
        if (outcome == PortOutcome::ok && handle_) return kExitDone;
        handle_ = nullptr;
        env_.err << "zavi-gsm-cli: " << (message.empty() ? "cannot use " + port : message) << "\n";
        if (outcome == PortOutcome::wrong_firmware && !notice.text.empty())
            env_.err << "zavi-gsm-cli: " << notice.text << "\n";
        return outcome == PortOutcome::silent ? kExitCommunication : kExitNoModule;
    }

    int load_sim() {
        if (env_.test_module) return kExitDone;
        sim::Scenario scenario = sim::live_demo_scenario();
        // Held until the state is saved, so that a second run waits and starts from this run's
        // result instead of overwriting it.
        std::string why;
        if (!args_.state_file.empty() && !state_lock_.lock(args_.state_file, &why)) {
            env_.err << "zavi-gsm-cli: " << args_.state_file << " " << why << "\n";
            return kExitInvalidFile;
        }
        if (!args_.scenario_file.empty()) {
            std::string text;
            if (!read_text_file(args_.scenario_file, kMaxFileBytes, &text, &why) ||
                !sim::scenario_from_json(text, &scenario, &why)) {
                env_.err << "zavi-gsm-cli: " << args_.scenario_file << ": " << why << "\n";
                return kExitInvalidFile;
            }
        }
        // The commissioning commands watch the module change in real time.
        const bool live = args_.command == Command::watch || args_.command == Command::test ||
                          args_.command == Command::survey;
        // A state file that is not there yet starts as the demo module.
        std::error_code ec;
        if (!args_.state_file.empty() &&
            std::filesystem::exists(std::u8string(args_.state_file.begin(), args_.state_file.end()),
                                    ec)) {
            std::string text;
            if (!read_text_file(args_.state_file, kMaxFileBytes, &text, &why)) {
                env_.err << "zavi-gsm-cli: " << args_.state_file << " " << why << "\n";
                return kExitInvalidFile;
            }
            sim::Scenario saved;
            if (!sim::scenario_from_json(text, &saved, &why)) {
                env_.err << "zavi-gsm-cli: " << args_.state_file << ": " << why << "\n";
                return kExitInvalidFile;
            }
            if (args_.scenario_file.empty()) {
                // The saved scenario as it is, with the demo's timeline.
                for (std::size_t i = 0; i < saved.modules.size() && i < scenario.modules.size();
                     ++i)
                    saved.modules[i].timeline = scenario.modules[i].timeline;
                scenario = std::move(saved);
            } else {
                // The given scenario, with the module states saved last time.
                for (std::size_t i = 0; i < saved.modules.size() && i < scenario.modules.size();
                     ++i)
                    scenario.modules[i].state = saved.modules[i].state;
            }
        }
        if (live) {
            scenario.virtual_time = false;
            // The demo module on a serial line's pace, unless a scenario says otherwise.
            if (args_.scenario_file.empty()) scenario.timing.realistic = true;
        }
        own_sim_ = std::make_unique<sim::SimDriver>(scenario);
        return kExitDone;
    }

    const Arguments& args_;
    Environment& env_;
    std::unique_ptr<sim::SimDriver> own_sim_;
    FileLock state_lock_;
    DriverHandle handle_ = nullptr;
    int index_ = 0;
    std::string identity_;
};

}  // namespace

// Reads and checks a configuration file; nothing has touched the module yet.
int load_configuration(const std::string& path, Environment& env, Configuration* cfg) {
    std::string text, why;
    if (!read_text_file(path, kMaxFileBytes, &text, &why)) {
        env.err << "zavi-gsm-cli: " << path << " " << why << "\n";
        return kExitInvalidFile;
    }
    FileError error;
    std::vector<std::string> warnings;
    if (!parse_configuration(text, cfg, &error, &warnings)) {
        env.err << "zavi-gsm-cli: " << describe(error, path) << "\n";
        return kExitInvalidFile;
    }
    for (const auto& w : warnings)
        env.err << "zavi-gsm-cli: warning: " << path << ": " << w << "\n";
    return kExitDone;
}

namespace {

int read_failed(Environment& env, Record record) {
    env.err << "zavi-gsm-cli: reading " << record_name(record)
            << " failed: no or bad answer from the module\n";
    return kExitCommunication;
}

// Reads the records `shape` holds (all by default).
int read_module(Session& session, Environment& env, bool with_sim, Configuration* cfg,
                const Configuration& shape = Configuration{}) {
    ProgressLine progress(env.err, env.err_is_terminal);
    Record failed = Record::alarm_settings;
    if (read_held_records(session.handle(), shape, with_sim, progress.callback(), cfg, &failed) !=
        kOk) {
        progress.finish();
        return read_failed(env, failed);
    }
    return kExitDone;
}

int command_status(const Arguments& args, Environment& env) {
    Session session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    for (uint8_t part = 0; part < 3; ++part) {
        if (read_status(session.handle(), part) != kOk) {
            env.err
                << "zavi-gsm-cli: reading the status failed: no or bad answer from the module\n";
            return kExitCommunication;
        }
    }
    env.out << (args.json ? status_json(accepted_firmware()) : status_text(accepted_firmware()));
    return session.close();
}

int command_commission(const Arguments& args, Environment& env) {
    Session session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    const std::string connection =
        args.port  ? *args.port
        : args.sim ? std::string("simulated module")
                   : "D2XX (USB), device " + std::to_string(args.device.value_or(0));
    const int code = run_commission(args, env, session.handle(), connection);
    const int closed = session.close();
    return code != kExitDone ? code : closed;
}

int command_backup(const Arguments& args, Environment& env) {
    Session session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    Configuration cfg;
    if (const int code = read_module(session, env, args.with_sim_codes, &cfg); code != kExitDone)
        return code;
    cfg.saved_at = utc_timestamp();
    // A module may hold what the program would refuse from a hand-made file; the backup keeps
    // it as it is (a restore of it writes it back), and says so.
    for (const FileError& e : check_configuration(cfg))
        env.err << "zavi-gsm-cli: warning: the module holds " << e.path << " that " << e.message
                << "; the backup keeps it, and a restore of it writes it back\n";
    std::string why;
    const std::string& path = args.files[0];
    if (!write_configuration_file(path, cfg, &why, FileOrigin::module_backup)) {
        env.err << "zavi-gsm-cli: " << path << " " << why << "\n";
        return kExitInvalidFile;
    }
    env.err << "zavi-gsm-cli: saved " << path << "\n";
    keep_in_history(env, session.identity(), "backup", "saved", cfg);
    return session.close();
}

const char* signal_name(int signal) {
    switch (signal) {
        case 1:
            return "SIGHUP";
        case 2:
            return "SIGINT";
        case 15:
            return "SIGTERM";
    }
    return "a signal";
}

// Signals are kept from the first read to the last frame, so that a restore is never cut off
// in the middle of a frame and always tells what went out.
class SignalWatch {
  public:
    explicit SignalWatch(Environment& env) : env_(env) {
        if (env_.watch_signals) env_.watch_signals(true);
    }
    ~SignalWatch() { release(); }
    int caught() const { return env_.caught_signal ? env_.caught_signal() : 0; }
    void release() {
        if (env_.watch_signals && !released_) env_.watch_signals(false);
        released_ = true;
    }

  private:
    Environment& env_;
    bool released_ = false;
};

void write_report(Environment& env, const RestoreReport& r) {
    for (const auto& line : write_report_lines(r)) env.err << "zavi-gsm-cli: " << line << "\n";
}

// Restores `file` and tells how it went. `module_now`: what a read just made found, or null.
int restore(Session& session, Environment& env, const Configuration& file, bool with_sim,
            bool dry_run, const Configuration* module_now = nullptr,
            const char* operation = "restore") {
    SignalWatch signals(env);
    RestoreOptions options;
    options.with_sim_codes = with_sim;
    options.dry_run = dry_run;
    options.module_now = module_now;
    options.stop = [&signals] { return signals.caught() != 0; };
    ProgressLine progress(env.err, env.err_is_terminal);
    // Told as soon as it is saved, before the first write: an interruption must not hide it.
    options.save_backup = [&env, &progress](const Configuration& module, std::string* path,
                                            std::string* why) {
        if (!save_automatic_backup(env.backup_folder, module, path, why)) return false;
        progress.finish();
        env.err << "zavi-gsm-cli: automatic backup: " << *path << "\n" << std::flush;
        return true;
    };
    const RestoreReport r =
        restore_configuration(session.handle(), file, options, progress.callback());
    progress.finish();
    const int caught = signals.caught();
    signals.release();
    if (!dry_run) keep_restore_in_history(env, session.identity(), operation, file, with_sim, r);
    switch (r.outcome) {
        case RestoreOutcome::read_failed:
            return read_failed(env, r.failed);
        case RestoreOutcome::already_equal:
            env.err
                << "zavi-gsm-cli: the module already holds this configuration; nothing written\n";
            return kExitDone;
        case RestoreOutcome::planned: {
            Configuration target = file;
            if (!with_sim) target.sim_codes.reset();
            for (const auto& line : difference_lines(compare(r.module_before, target)))
                env.out << line << "\n";
            env.out << "would write: " << record_list(r.planned) << "\n";
            return kExitDone;
        }
        case RestoreOutcome::backup_failed:
            env.err << "zavi-gsm-cli: the automatic backup could not be saved: " << r.backup_error
                    << "; nothing written\n";
            return kExitInvalidFile;
        case RestoreOutcome::interrupted:
            env.err << "zavi-gsm-cli: interrupted by " << signal_name(caught)
                    << "; nothing was sent after the frame in flight\n";
            if (r.writes.empty())
                env.err << "zavi-gsm-cli: nothing written\n";
            else
                write_report(env, r);
            return kExitSignalBase + (caught > 0 ? caught : 0);
        case RestoreOutcome::write_failed:
            env.err << "zavi-gsm-cli: " << failed_write_line(r) << "\n";
            write_report(env, r);
            return kExitCommunication;
        case RestoreOutcome::verify_failed:
            env.err << "zavi-gsm-cli: every write was acknowledged, but the module reads back "
                       "differently in: "
                    << record_list(r.mismatched) << "\n";
            return kExitVerifyFailed;
        case RestoreOutcome::verify_unreadable:
            env.err << "zavi-gsm-cli: every write was acknowledged, but reading back "
                    << record_list(r.unreadable) << " failed: no or bad answer from the module\n";
            return kExitCommunication;
        case RestoreOutcome::verified:
            env.err << "zavi-gsm-cli: restored and verified (" << record_list(r.written) << ")\n";
            return kExitDone;
    }
    return kExitCommunication;
}

int command_restore(const Arguments& args, Environment& env) {
    Configuration file;
    if (const int code = load_configuration(args.files[0], env, &file); code != kExitDone)
        return code;
    if (args.with_sim_codes && !file.sim_codes) {
        env.err << "zavi-gsm-cli: " << args.files[0]
                << ": --with-sim-codes, but the file holds no sim_codes\n";
        return kExitInvalidFile;
    }
    if (args.with_sim_codes && !args.dry_run)
        env.err
            << "zavi-gsm-cli: warning: writing the SIM codes; a wrong PIN can lock the SIM card\n";
    Session session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    const int code = restore(session, env, file, args.with_sim_codes, args.dry_run);
    const int closed = session.close();
    return code != kExitDone ? code : closed;
}

int command_diff(const Arguments& args, Environment& env) {
    Configuration old_cfg, new_cfg;
    if (const int code = load_configuration(args.files[0], env, &new_cfg); code != kExitDone)
        return code;
    if (args.files.size() == 2) {
        old_cfg = new_cfg;
        if (const int code = load_configuration(args.files[1], env, &new_cfg); code != kExitDone)
            return code;
    } else {
        Session session(args, env);
        if (const int code = session.open(); code != kExitDone) return code;
        if (const int code = read_module(session, env, false, &old_cfg, new_cfg); code != kExitDone)
            return code;
        if (const int code = session.close(); code != kExitDone) return code;
    }
    const std::vector<Difference> diffs = compare(old_cfg, new_cfg);
    if (args.json) {
        env.out << differences_json(diffs);
    } else {
        for (const auto& line : difference_lines(diffs)) env.out << line << "\n";
    }
    return diffs.empty() ? kExitDone : kExitDifferent;
}

int command_numbers_export(const Arguments& args, Environment& env) {
    Session session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    if (read_record(session.handle(), Record::accepted_numbers, {}) != kOk)
        return read_failed(env, Record::accepted_numbers);
    const Configuration cfg = capture_records(false);
    std::string why;
    if (!write_file_atomic(args.files[0], export_numbers_csv(cfg.accepted_numbers), &why)) {
        env.err << "zavi-gsm-cli: " << args.files[0] << " " << why << "\n";
        return kExitInvalidFile;
    }
    env.err << "zavi-gsm-cli: " << cfg.accepted_numbers.size() << " numbers saved in "
            << args.files[0] << "\n";
    return session.close();
}

int command_numbers_import(const Arguments& args, Environment& env) {
    std::string text, why;
    if (!read_text_file(args.files[0], kMaxFileBytes, &text, &why)) {
        env.err << "zavi-gsm-cli: " << args.files[0] << " " << why << "\n";
        return kExitInvalidFile;
    }
    Session session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    Configuration module;
    if (const int code = read_module(session, env, false, &module); code != kExitDone) return code;

    const ImportMode mode = args.replace ? ImportMode::replace : ImportMode::add;
    const ImportReport report = import_numbers_csv(text, module.accepted_numbers, mode);
    for (const auto& line : describe_import(report))
        env.err << args.files[0] << ": " << line << "\n";
    if (report.valid.empty() || !report.fits) {
        env.err << "zavi-gsm-cli: nothing applied ("
                << (report.valid.empty() ? "no valid number" : "more than 260 numbers") << ")\n";
        session.close();
        return kExitInvalidFile;
    }
    if (args.dry_run) return session.close();
    Configuration target = module;
    target.accepted_numbers = apply_import(report, module.accepted_numbers, mode);
    // Planned from the read above: the module is read once.
    const int code = restore(session, env, target, false, false, &module, "numbers-import");
    const int closed = session.close();
    return code != kExitDone ? code : closed;
}

int command_apply(const Arguments& args, Environment& env) {
    Configuration site;
    if (const int code = load_site_configuration(args, env, &site); code != kExitDone) return code;
    Session session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    const int code = restore(session, env, site, args.with_sim_codes, args.dry_run, nullptr, "apply");
    const int closed = session.close();
    return code != kExitDone ? code : closed;
}

int run_command(const std::vector<std::string>& argv, Environment& env) {
    Arguments args;
    std::string error;
    if (!parse_arguments(argv, &args, &error)) {
        env.err << "zavi-gsm-cli: " << error << "\n"
                << "Try zavi-gsm-cli --help.\n";
        return kExitUsage;
    }
    if (args.help) {
        env.out << command_help(args.command);
        return kExitDone;
    }
    if (args.version) {
        env.out << "zavi-gsm-cli " << ZAVI_PROJECT_VERSION << "\n";
        return kExitDone;
    }
    if (args.sim && env.test_module && !args.state_file.empty()) {
        env.err << "zavi-gsm-cli: --state cannot be used here\n";
        return kExitUsage;
    }
    reset_all_records();
    switch (args.command) {
        case Command::status:
            return command_status(args, env);
        case Command::backup:
            return command_backup(args, env);
        case Command::restore:
            return command_restore(args, env);
        case Command::diff:
            return command_diff(args, env);
        case Command::numbers_export:
            return command_numbers_export(args, env);
        case Command::numbers_import:
            return command_numbers_import(args, env);
        case Command::template_file:
            return command_template(args, env);
        case Command::apply:
            return command_apply(args, env);
        case Command::mqtt: {
            std::unique_ptr<Session> session;
            const ModuleOpener module{[&](Environment& e) -> DriverHandle {
                                          session = std::make_unique<Session>(args, e);
                                          if (session->open() != kExitDone) session.reset();
                                          return session ? session->handle() : nullptr;
                                      },
                                      [&] { session.reset(); }};
            return command_mqtt(args, env, module);
        }
        case Command::watch:
        case Command::test:
        case Command::survey:
        case Command::report:
            return command_commission(args, env);
        case Command::history:
            return command_history(args, env);
        case Command::none:
            break;
    }
    return kExitUsage;
}

}  // namespace

int run(const std::vector<std::string>& argv, Environment& env) {
    const int code = run_command(argv, env);
    // Output that did not arrive (a full disk, a closed pipe) is a failure, as in every tool.
    if (!env.out.flush()) {
        env.err << "zavi-gsm-cli: the output could not be written (standard output)\n";
        return code == kExitDone || code == kExitDifferent ? kExitInvalidFile : code;
    }
    return code;
}

}  // namespace zavi::cli
