#include "cli/cli.h"

#include <memory>

#include "cli/arguments.h"
#include "cli/clone_command.h"
#include "cli/configuration_commands.h"
#include "cli/history_command.h"
#include "cli/module_access.h"
#include "cli/mqtt_command.h"
#include "cli/site_commands.h"
#include "cli/tool_messages.h"
#include "link/records.h"

namespace zavi::cli {

namespace {

int run_command(const std::vector<std::string>& argv, Environment& env) {
    Arguments args;
    std::string error;
    if (!parse_arguments(argv, &args, &error)) {
        tell(env.err, error);
        env.err << "Try zavi-gsm-cli --help.\n";
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
    if (args.sim && env.test_module && !args.state_file.empty())
        return fail(env.err, kExitUsage, "--state cannot be used here");
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
            std::unique_ptr<ModuleSession> session;
            const ModuleOpener module{[&](Environment& e) -> DriverHandle {
                                          session = std::make_unique<ModuleSession>(args, e);
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
        case Command::clone:
            return command_clone(args, env);
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
        tell(env.err, "the output could not be written (standard output)");
        return code == kExitDone || code == kExitDifferent ? kExitCannotWrite : code;
    }
    return code;
}

}  // namespace zavi::cli
