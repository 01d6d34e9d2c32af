// The Windows build has no MQTT client library; the bridge runs on the Linux tool.
#include "cli/mqtt_command.h"

#include "cli/tool_messages.h"

namespace zavi::cli {

int command_mqtt(const Arguments&, Environment& env, const ModuleOpener&) {
    return fail(env.err, kExitUsage, "mqtt is not part of this build; run it with the Linux tool");
}

}  // namespace zavi::cli
