#include "cli/configuration_commands.h"

#include "cli/commission_commands.h"
#include "cli/history_command.h"
#include "cli/module_access.h"
#include "cli/module_operations.h"
#include "cli/status_output.h"
#include "cli/tool_messages.h"
#include "config/compare.h"
#include "config/config_file.h"
#include "config/files.h"
#include "config/numbers_csv.h"
#include "config/operations.h"
#include "config/record_values.h"
#include "link/records.h"
#include "link/status_commands.h"

namespace zavi::cli {

using namespace zavi::config;

int command_status(const Arguments& args, Environment& env) {
    ModuleSession session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    for (uint8_t part = 0; part < 3; ++part)
        if (read_status(session.handle(), part) != kOk)
            return fail(env.err, kExitCommunication,
                        "reading the status failed: no or bad answer from the module");
    env.out << (args.json ? status_json(accepted_firmware()) : status_text(accepted_firmware()));
    return session.close();
}

int command_commission(const Arguments& args, Environment& env) {
    ModuleSession session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    const std::string connection =
        args.port  ? *args.port
        : args.sim ? std::string("simulated module")
                   : "D2XX (USB), device " + std::to_string(args.device.value_or(0));
    return session.close_after(run_commission(args, env, session.handle(), connection));
}

int command_backup(const Arguments& args, Environment& env) {
    ModuleSession session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    Configuration cfg;
    if (const int code = read_module(session, env, args.with_sim_codes, &cfg); code != kExitDone)
        return code;
    cfg.saved_at = utc_timestamp();
    // A module may hold what the program would refuse from a hand-made file; the backup keeps
    // it as it is (a restore of it writes it back), and says so.
    for (const FileError& e : check_configuration(cfg))
        warn(env.err, "the module holds ", e.path, " that ", e.message,
             "; the backup keeps it, and a restore of it writes it back");
    std::string why;
    const std::string& path = args.files[0];
    if (!write_configuration_file(path, cfg, &why, FileOrigin::module_backup))
        return fail(env.err, kExitCannotWrite, path, " ", why);
    tell(env.err, "saved ", path);
    keep_in_history(env, session.identity(), "backup", "saved", cfg);
    return session.close();
}

int command_restore(const Arguments& args, Environment& env) {
    Configuration file;
    if (const int code = load_configuration(args.files[0], env, &file); code != kExitDone)
        return code;
    if (args.with_sim_codes && !file.sim_codes)
        return fail(env.err, kExitInvalidFile, args.files[0],
                    ": --with-sim-codes, but the file holds no sim_codes");
    if (args.with_sim_codes && !args.dry_run)
        warn(env.err, "writing the SIM codes; a wrong PIN can lock the SIM card");
    ModuleSession session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    return session.close_after(restore(session, env, file, args.with_sim_codes, args.dry_run));
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
        ModuleSession session(args, env);
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
    ModuleSession session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    if (read_record(session.handle(), Record::accepted_numbers, {}) != kOk)
        return read_failed(env, Record::accepted_numbers);
    const Configuration cfg = capture_records(false);
    std::string why;
    if (!write_file_safely(args.files[0], export_numbers_csv(cfg.accepted_numbers),
                           FileAccess::normal, &why))
        return fail(env.err, kExitCannotWrite, args.files[0], " ", why);
    tell(env.err, cfg.accepted_numbers.size(), " numbers saved in ", args.files[0]);
    return session.close();
}

int command_numbers_import(const Arguments& args, Environment& env) {
    std::string text, why;
    if (!read_text_file(args.files[0], kMaxFileBytes, &text, &why))
        return fail(env.err, kExitInvalidFile, args.files[0], " ", why);
    ModuleSession session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    Configuration module;
    if (const int code = read_module(session, env, false, &module); code != kExitDone) return code;

    const ImportMode mode = args.replace ? ImportMode::replace : ImportMode::add;
    const ImportReport report = import_numbers_csv(text, module.accepted_numbers, mode);
    for (const auto& line : describe_import(report))
        env.err << args.files[0] << ": " << line << "\n";
    if (report.valid.empty() || !report.fits) {
        tell(env.err, "nothing applied (",
             (report.valid.empty() ? "no valid number" : "more than 260 numbers"), ")");
        session.close();
        return kExitInvalidFile;
    }
    if (args.dry_run) return session.close();
    Configuration target = module;
    target.accepted_numbers = apply_import(report, module.accepted_numbers, mode);
    // Planned from the read above: the module is read once.
    return session.close_after(
        restore(session, env, target, false, false, &module, "numbers-import"));
}

}  // namespace zavi::cli
