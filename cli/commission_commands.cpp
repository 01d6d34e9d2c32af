#include "cli/commission_commands.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/module_operations.h"
#include "cli/stop_signals.h"
#include "cli/tool_messages.h"
#include "commission/clock_text.h"
#include "commission/live_loop.h"
#include "commission/report.h"
#include "commission/report_files.h"
#include "commission/survey.h"
#include "commission/survey_run.h"
#include "commission/walk_test.h"
#include "config/config_file.h"
#include "config/files.h"
#include "config/operations.h"
#include "config/record_values.h"

namespace zavi::cli {

namespace {

using namespace zavi::commission;

constexpr uint64_t kMinIntervalMs = 0, kMaxIntervalMs = 3'600'000;
constexpr int kMaxSeconds = 24 * 3600;
constexpr int kDefaultTestSeconds = 300;
constexpr int kDefaultSurveySeconds = 60;
constexpr int kMaxSurveySeconds = kMaxSurveyUs / 1'000'000;

bool number_option(const Arguments& args, const char* name, uint64_t min, uint64_t max,
                   uint64_t fallback, uint64_t* out, Environment& env) {
    const std::string* given = args.value(name);
    if (!given) {
        *out = fallback;
        return true;
    }
    const std::string& t = *given;
    const bool digits = !t.empty() && t.size() <= 10 &&
                        std::ranges::all_of(t, [](char c) { return c >= '0' && c <= '9'; });
    const uint64_t v = digits ? std::stoull(t) : 0;
    if (!digits || v < min || v > max) {
        tell(env.err, name, " needs a whole number from ", min, " to ", max, ", not \"", t, "\"");
        return false;
    }
    *out = v;
    return true;
}

std::string option(const Arguments& args, const char* name) {
    const std::string* value = args.value(name);
    return value ? *value : std::string();
}

void communication_lost(Environment& env) {
    tell(env.err, "reading the status failed: no or bad answer from the module; stopped");
}

int command_watch(const Arguments& args, Environment& env, DriverHandle handle) {
    uint64_t interval_ms = 0;
    if (!number_option(args, "--interval", kMinIntervalMs, kMaxIntervalMs, 1000, &interval_ms, env))
        return kExitUsage;
    const std::string log_path = option(args, "--log");
    std::string log = "time,field,old,new\n";
    const auto csv = [](const std::string& s) {
        if (s.find_first_of(",\"\n") == std::string::npos) return s;
        std::string q = "\"";
        for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
        return q + "\"";
    };
    StopSignals signals;
    uint64_t change_count = 0;
    bool first = true;
    LiveLoop loop(handle, real_pace());
    const LoopEnd end = loop.run(
        interval_ms * 1000, stop_requested,
        [&](const Snapshot&, const std::vector<FieldChange>& changed) {
            const std::string now = local_time_now();
            for (const FieldChange& c : changed) {
                if (args.json) {
                    nlohmann::ordered_json line{
                        {"time", now}, {"field", c.field}, {"old", nullptr}, {"new", c.new_value}};
                    if (!first) line["old"] = c.old_value;
                    env.out << line.dump() << "\n";
                } else {
                    env.out << now << " " << c.field << ": "
                            << (first ? c.new_value : c.old_value + " -> " + c.new_value) << "\n";
                }
                if (!first) {
                    log += now + "," + c.field + "," + csv(c.old_value) + "," + csv(c.new_value) +
                           "\n";
                    ++change_count;
                }
            }
            env.out.flush();
            first = false;
            return true;
        });
    if (end == LoopEnd::read_failed) communication_lost(env);
    tell(env.err, "watch ", (end == LoopEnd::read_failed ? "interrupted" : "ended"), ": ",
         loop.cycles(), " status reads, ", change_count, " changes");
    if (!log_path.empty()) {
        std::string why;
        if (!write_file_safely(log_path, log, FileAccess::normal, &why))
            return fail(env.err, kExitCannotWrite, log_path, " ", why);
    }
    return end == LoopEnd::read_failed ? kExitCommunication : kExitDone;
}

int command_test(const Arguments& args, Environment& env, DriverHandle handle) {
    uint64_t seconds = 0;
    if (!number_option(args, "--seconds", 1, kMaxSeconds, kDefaultTestSeconds, &seconds, env))
        return kExitUsage;
    config::Configuration cfg;
    config::Record failed{};
    if (config::read_configuration(handle, false, {}, &cfg, &failed) != kOk)
        return read_failed(env, failed);
    WalkTest test(cfg, local_time_now());
    // With --json, stdout carries the result alone; the ticks go to stderr.
    std::ostream& progress = args.json ? env.err : env.out;
    for (int i = 0; i < 4; ++i)
        if (test.result().inputs[i].note == RowNote::equal_names)
            progress << kIoLabels[i] << ": both states are named \""
                     << test.result().inputs[i].states[0].name
                     << "\": the states cannot be told apart\n";
    StopSignals signals;
    const Pace pace = real_pace();
    const uint64_t start = pace.now_us();
    const uint64_t deadline = start + seconds * 1'000'000;
    std::array<std::string, 4> unknown_said{};
    LiveLoop loop(handle, pace);
    const LoopEnd end = loop.run(0, stop_requested, [&](const Snapshot& s, const auto&) {
        for (const Tick& t : test.observe(s, local_time_now(), (pace.now_us() - start) / 1e6)) {
            const StateCheck& c = test.result().inputs[t.input].states[t.state];
            char when[32];
            std::snprintf(when, sizeof when, "%.1f", c.first_seen_s);
            progress << "seen " << missing_text(state_key(t.input, t.state), 1) << " \"" << c.name
                     << "\" at " << c.first_seen << " (+" << when << " s)\n";
        }
        for (int i = 0; i < 4; ++i) {
            const InputRow& row = test.result().inputs[i];
            if (row.note == RowNote::unknown_text && row.unknown != unknown_said[i]) {
                unknown_said[i] = row.unknown;
                progress << kIoLabels[i] << ": \"" << row.unknown
                         << "\" matches neither configured name\n";
            }
        }
        progress.flush();
        return !test.result().inputs_done() && pace.now_us() < deadline;
    });
    if (end == LoopEnd::read_failed) {
        communication_lost(env);
        test.interrupt();
    }
    const WalkTestResult& r = test.result();
    // Only the inputs decide the exit code: outputs and calls need a person, not a script.
    std::string missing_inputs;
    for (const std::string& key : r.missing())
        if (key.rfind("in", 0) == 0 || key.rfind("pin", 0) == 0)
            missing_inputs += " " + missing_text(key, 1) + ";";
    env.out << (args.json ? walk_test_to_json(r) : summary_line(r, 1) + "\n");
    if (!missing_inputs.empty()) tell(env.err, "not seen:", missing_inputs);
    if (end == LoopEnd::read_failed) return kExitCommunication;
    return missing_inputs.empty() ? kExitDone : kExitDifferent;
}

int command_survey(const Arguments& args, Environment& env, DriverHandle handle) {
    uint64_t seconds = 0;
    if (!number_option(args, "--seconds", 1, kMaxSurveySeconds, kDefaultSurveySeconds, &seconds,
                       env))
        return kExitUsage;
    StopSignals signals;
    const SurveyResult r = run_survey(handle, real_pace(), seconds * 1'000'000, stop_requested);
    if (r.interrupted) communication_lost(env);
    const SurveyStats st = r.stats();
    const Assessment a = assess(st, 1);
    const std::string csv_path = option(args, "--csv");
    if (!csv_path.empty()) {
        std::string why;
        if (!write_file_safely(csv_path, survey_csv(r), FileAccess::normal, &why))
            return fail(env.err, kExitCannotWrite, csv_path, " ", why);
    }
    if (args.json) {
        env.out << survey_to_json(r);
    } else {
        const auto dbm = [](const std::optional<int>& v) {
            return v ? std::to_string(*v) + " dBm" : std::string("none");
        };
        char mean[32] = "none";
        if (st.mean) std::snprintf(mean, sizeof mean, "%.1f dBm", *st.mean);
        env.out << "samples:  " << st.samples << " (" << st.no_reading << " without a reading)\n"
                << "present:  " << dbm(st.present) << "\nlowest:   " << dbm(st.lowest)
                << "\nmean:     " << mean << "\nhighest:  " << dbm(st.highest) << "\n"
                << "verdict:  " << verdict_key(a.verdict) << ": " << a.reason << "\n";
        if (r.interrupted) env.out << "interrupted: the module stopped answering\n";
    }
    return r.interrupted ? kExitCommunication : kExitDone;
}

template <typename T, typename Parse>
int read_result(const std::string& path, Environment& env, Parse parse, std::optional<T>* out) {
    if (path.empty()) return kExitDone;
    std::string text, why;
    T value;
    if (!config::read_text_file(path, 16 * 1024 * 1024, &text, &why))
        return fail(env.err, kExitInvalidFile, path, " ", why);
    if (!parse(text, &value, &why)) return fail(env.err, kExitInvalidFile, path, ": ", why);
    *out = std::move(value);
    return kExitDone;
}

int command_report(const Arguments& args, Environment& env, DriverHandle handle,
                   const std::string& connection) {
    ReportInput in;
    // In the order of the language numbers: 0 Polish, 1 English, 2 German.
    static constexpr std::string_view kLanguages[] = {"pl", "en", "de"};
    const std::string language = option(args, "--language");
    const auto known = std::ranges::find(kLanguages, language.empty() ? "en" : language);
    if (known == std::end(kLanguages))
        return fail(env.err, kExitUsage, "--language is pl, en or de, not \"", language, "\"");
    in.language = static_cast<uint8_t>(known - std::begin(kLanguages));
    if (const int c = read_result<WalkTestResult>(option(args, "--test"), env, walk_test_from_json,
                                                  &in.walk_test);
        c != kExitDone)
        return c;
    if (const int c =
            read_result<SurveyResult>(option(args, "--survey"), env, survey_from_json, &in.survey);
        c != kExitDone)
        return c;
    in.site = option(args, "--site");
    in.installer = option(args, "--installer");
    in.connection = connection;
    in.program_version = ZAVI_CLI_VERSION;
    in.firmware = config::accepted_firmware();

    const ReportFiles saved = save_report_files(handle, std::move(in), args.files[0]);
    if (saved.read != kOk) return read_failed(env, saved.failed_record);
    if (!saved.complete()) {
        const std::string& failed = saved.backup_saved ? saved.html_path : saved.backup_path;
        tell(env.err, failed, " ", saved.why);
        if (saved.backup_saved) tell(env.err, saved.backup_path, " was saved, the report not");
        return kExitCannotWrite;
    }
    tell(env.err, "saved ", saved.html_path, " and ", saved.backup_path, " (SHA-256 ", saved.sha256,
         ")");
    if (!saved.live_read) {
        communication_lost(env);
        return kExitCommunication;
    }
    return kExitDone;
}

}  // namespace

int run_commission(const Arguments& args, Environment& env, DriverHandle handle,
                   const std::string& connection) {
    switch (args.command) {
        case Command::watch:
            return command_watch(args, env, handle);
        case Command::test:
            return command_test(args, env, handle);
        case Command::survey:
            return command_survey(args, env, handle);
        case Command::report:
            return command_report(args, env, handle, connection);
        default:
            return kExitUsage;
    }
}

}  // namespace zavi::cli
