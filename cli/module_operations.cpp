#include "cli/module_operations.h"

#include <chrono>

#include "cli/history_command.h"
#include "cli/tool_messages.h"
#include "config/compare.h"
#include "config/config_file.h"
#include "config/files.h"
#include "config/restore_report.h"

namespace zavi::cli {

namespace {

using namespace zavi::config;

constexpr auto kProgressDelay = std::chrono::milliseconds(500);

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

const char* signal_name(int signal) {
    return signal == 1 ? "SIGHUP" : signal == 2 ? "SIGINT" : signal == 15 ? "SIGTERM" : "a signal";
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

}  // namespace

int outcome_code(RestoreOutcome outcome, int signal) {
    switch (outcome) {
        case RestoreOutcome::already_equal:
        case RestoreOutcome::planned:
        case RestoreOutcome::verified:
            return kExitDone;
        case RestoreOutcome::backup_failed:
            return kExitCannotWrite;
        case RestoreOutcome::verify_failed:
            return kExitVerifyFailed;
        case RestoreOutcome::interrupted:
            return kExitSignalBase + (signal > 0 ? signal : 0);
        case RestoreOutcome::read_failed:
        case RestoreOutcome::write_failed:
        case RestoreOutcome::verify_unreadable:
            break;
    }
    return kExitCommunication;
}

int load_configuration(const std::string& path, Environment& env, Configuration* cfg) {
    std::string text, why;
    if (!read_text_file(path, kMaxFileBytes, &text, &why))
        return fail(env.err, kExitInvalidFile, path, " ", why);
    FileError error;
    std::vector<std::string> warnings;
    if (!parse_configuration(text, cfg, &error, &warnings))
        return fail(env.err, kExitInvalidFile, describe(error, path));
    for (const auto& w : warnings) warn(env.err, path, ": ", w);
    return kExitDone;
}

int read_failed(Environment& env, Record record) {
    return fail(env.err, kExitCommunication, "reading ", record_name(record),
                " failed: no or bad answer from the module");
}

int read_module(ModuleSession& session, Environment& env, bool with_sim, Configuration* cfg,
                const Configuration& shape) {
    ProgressLine progress(env.err, env.err_is_terminal);
    Record failed = Record::alarm_settings;
    if (read_held_records(session.handle(), shape, with_sim, progress.callback(), cfg, &failed) !=
        kOk) {
        progress.finish();
        return read_failed(env, failed);
    }
    return kExitDone;
}

int restore(ModuleSession& session, Environment& env, const Configuration& file, bool with_sim,
            bool dry_run, const Configuration* module_now, const char* operation,
            const std::string& site) {
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
        tell(env.err, "automatic backup: ", *path);
        return true;
    };
    const RestoreReport r =
        restore_configuration(session.handle(), file, options, progress.callback());
    progress.finish();
    const int caught = signals.caught();
    signals.release();
    if (!dry_run)
        keep_restore_in_history(env, session.identity(), operation, file, with_sim, r, site);
    if (r.outcome == RestoreOutcome::planned) {
        Configuration target = file;
        if (!with_sim) target.sim_codes.reset();
        for (const auto& line : difference_lines(compare(r.module_before, target)))
            env.out << line << "\n";
        env.out << "would write: " << record_list(r.planned) << "\n";
    }
    for (const auto& line : outcome_lines(r, std::string("interrupted by ") + signal_name(caught)))
        tell(env.err, line);
    return outcome_code(r.outcome, caught);
}

}  // namespace zavi::cli
