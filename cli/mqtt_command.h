// zavi-gsm-cli mqtt: the module's live status published over MQTT for Home Assistant.
#pragma once

#include <functional>

#include "cli/arguments.h"
#include "cli/cli.h"

namespace zavi::cli {

// Opens the module as every other command does (messages go to the given environment's
// err), and closes it again; the command reopens it after the module went away.
struct ModuleOpener {
    std::function<DriverHandle(Environment& env)> open;
    std::function<void()> close;
};

int command_mqtt(const Arguments& args, Environment& env, const ModuleOpener& module);

}  // namespace zavi::cli
