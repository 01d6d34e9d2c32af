#include "cli/mqtt_command.h"

#include <csignal>
#include <filesystem>
#include <sstream>

#include "bridge/bridge.h"
#include "cli/stop_signals.h"
#include "cli/tool_messages.h"
#include "link/connection.h"
#include "link/status_commands.h"

namespace zavi::cli {

namespace {

using namespace zavi::bridge;

// The first line the opening wrote, without the tool's name in front.
std::string reason(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (line.starts_with(kToolPrefix)) line.erase(0, kToolPrefix.size());
    return line.empty() ? "no module" : line;
}

int usage(Environment& env, const std::string& message) {
    return fail(env.err, kExitUsage, "mqtt: ", message);
}

// Broker, credentials, prefix and interval from the command line; an exit code on failure.
int settings_from(const Arguments& args, Environment& env, BridgeSettings* s) {
    std::string why;
    if (!parse_broker(*args.value("--broker"), &s->connect.broker, &why)) return usage(env, why);
    if (const std::string* prefix = args.value("--topic-prefix")) {
        if (!check_prefix(*prefix, &why)) return usage(env, "--topic-prefix: " + why);
        s->prefix = *prefix;
    }
    if (const std::string* interval = args.value("--interval"))
        if (!parse_interval(*interval, &s->interval_s, &why)) return usage(env, why);
    s->connect.tls = args.tls;
    if (const std::string* cafile = args.value("--cafile")) {
        if (!args.tls) return usage(env, "--cafile belongs to --tls");
        std::error_code ec;
        if (!std::filesystem::is_regular_file(std::u8string(cafile->begin(), cafile->end()), ec))
            return fail(env.err, kExitInvalidFile, "mqtt: the CA file ", *cafile,
                        " does not exist");
        s->connect.cafile = *cafile;
    }
    const std::string* user = args.value("--username");
    const std::string* password_file = args.value("--password-file");
    if (password_file && !user) return usage(env, "--password-file needs --username");
    if (user) s->connect.username = *user;
    if (password_file) {
        PasswordFile file;
        if (!read_password_file(*password_file, &file, &why))
            return fail(env.err, kExitInvalidFile, "mqtt: ", why);
        for (const std::string& w : file.warnings) warn(env.err, w);
        s->connect.password = file.password;
    }
    return kExitDone;
}

Environment quiet_copy(const Environment& env, std::ostream& err) {
    Environment quiet(env.out, err);
    quiet.usb_driver = env.usb_driver;
    quiet.open_port = env.open_port;
    quiet.unusable_port = env.unusable_port;
    quiet.backup_folder = env.backup_folder;
    quiet.test_module = env.test_module;
    return quiet;
}

}  // namespace

int command_mqtt(const Arguments& args, Environment& env, const ModuleOpener& module) {
    BridgeSettings settings;
    if (const int code = settings_from(args, env, &settings); code != kExitDone) return code;

    // Opening messages are collected, so that a module that stays away is told once.
    std::ostringstream opening;
    Environment quiet = quiet_copy(env, opening);
    DriverHandle handle = nullptr;
    ModuleAccess access;
    access.open = [&](std::string* firmware, std::string* why) {
        opening.str("");
        handle = module.open(quiet);
        if (!handle) {
            *why = reason(opening.str());
            return false;
        }
        *firmware = std::string(kRequiredFirmware, kFirmwareLength);
        return true;
    };
    access.read_status = [&] {
        for (uint8_t part = 0; part < 3; ++part)
            if (read_status(handle, part) != kOk) return false;
        return true;
    };
    access.close = [&] {
        module.close();
        handle = nullptr;
    };

    // A broker that resets the connection shows up as an error of the write, not a signal.
    const auto old_pipe = std::signal(SIGPIPE, SIG_IGN);
    const auto log = [&env](const std::string& line) { tell(env.err, line); };
    BridgeEnd end;
    {
        StopSignals signals;
        end = run_bridge(settings, access, stop_requested, log);
    }
    std::signal(SIGPIPE, old_pipe);
    return end == BridgeEnd::stopped   ? kExitDone
           : end == BridgeEnd::refused ? kExitBrokerRefused
                                       : kExitCommunication;
}

}  // namespace zavi::cli
