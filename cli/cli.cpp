#include "cli/cli.h"

#include <map>
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
    if (args.command == Command::mqtt) {
        std::unique_ptr<ModuleSession> session;
        const ModuleOpener module{[&](Environment& e) -> DriverHandle {
                                      session = std::make_unique<ModuleSession>(args, e);
                                      if (session->open() != kExitDone) session.reset();
                                      return session ? session->handle() : nullptr;
                                  },
                                  [&] { session.reset(); }};
        return command_mqtt(args, env, module);
    }
    using Run = int (*)(const Arguments&, Environment&);
    static const std::map<Command, Run> kCommands = {
        {Command::status, command_status},
        {Command::backup, command_backup},
        {Command::restore, command_restore},
        {Command::diff, command_diff},
        {Command::numbers_export, command_numbers_export},
        {Command::numbers_import, command_numbers_import},
        {Command::template_file, command_template},
        {Command::apply, command_apply},
        {Command::watch, command_commission},
        {Command::test, command_commission},
        {Command::survey, command_commission},
        {Command::report, command_commission},
        {Command::history, command_history},
        {Command::clone, command_clone}};
    const auto command = kCommands.find(args.command);
    return command == kCommands.end() ? kExitUsage : command->second(args, env);
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
