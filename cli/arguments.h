// The command line of zavi-gsm-cli, parsed. Options come before the command.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zavi::cli {

enum class Command {
    none,
    status,
    backup,
    restore,
    diff,
    numbers_export,
    numbers_import,
    watch,
    test,
    survey,
    report,
    mqtt,
    template_file,
    apply,
    history,
    clone,
};

struct Arguments {
    bool sim = false;
    std::string state_file;
    std::string scenario_file;  // --sim: the simulated module's scenario (faults, timeline)
    std::optional<int> device;
    std::optional<std::string> port;
    bool help = false;  // --help for the tool or (with a command) for the command
    bool version = false;
    Command command = Command::none;
    std::vector<std::string> files;
    bool json = false;
    bool with_sim_codes = false;
    bool dry_run = false;
    bool replace = false;
    bool tls = false;
    // Options with a value after the command: "--seconds" -> "30", "--broker" -> "host:1883".
    std::map<std::string, std::string> values;

    // The value given for `option`, or null when it was not given.
    const std::string* value(const std::string& option) const {
        const auto it = values.find(option);
        return it == values.end() ? nullptr : &it->second;
    }
};

// False with the message in *error on a usage error.
bool parse_arguments(const std::vector<std::string>& args, Arguments* out, std::string* error);

const char* tool_help();
const char* command_help(Command command);

}  // namespace zavi::cli
