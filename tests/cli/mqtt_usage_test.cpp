// zavi-gsm-cli mqtt refuses what it cannot use before it connects or opens anything.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "sim/simulator.h"

namespace zavi::cli {
namespace {

TEST(MqttUsage, RefusedBeforeAnythingStarts) {
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {{"mqtt"}, kExitUsage, "mqtt needs --broker HOST[:PORT]"},
        {{"mqtt", "--broker"}, kExitUsage, "--broker needs a value"},
        {{"mqtt", "--broker", "h", "--retain"}, kExitUsage, "mqtt has no option --retain"},
        {{"mqtt", "--broker", "h", "extra"}, kExitUsage, "wrong number of files"},
        {{"mqtt", "--broker", "h:0"}, kExitUsage, "the port must be 1 to 65535"},
        {{"mqtt", "--broker", "h", "--interval", "0.1"}, kExitUsage, "--interval needs seconds"},
        {{"mqtt", "--broker", "h", "--topic-prefix", "a/#"}, kExitUsage, "wildcard"},
        {{"mqtt", "--broker", "h", "--topic-prefix", std::string("a\0b", 3)}, kExitUsage, "NUL"},
        {{"mqtt", "--broker", "h", "--cafile", "ca.pem"}, kExitUsage, "--cafile belongs to --tls"},
        {{"mqtt", "--broker", "h", "--password-file", "p"}, kExitUsage, "needs --username"},
        {{"mqtt", "--broker", "h", "--username", "u", "--password-file", "/nonexistent/p"},
         kExitInvalidFile,
         "/nonexistent/p does not exist"},
        {{"mqtt", "--broker", "h", "--tls", "--cafile", "/nonexistent/ca.pem"},
         kExitInvalidFile,
         "the CA file /nonexistent/ca.pem does not exist"},
        {{"mqtt", "--json", "--broker", "h"}, kExitUsage, "mqtt has no option --json"},
    };
    sim::SimDriver module;
    for (const Case& c : cases) {
        std::ostringstream out, err;
        Environment env{out, err};
        env.test_module = &module;
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), "--sim");
        EXPECT_EQ(run(args, env), c.code) << c.args.back();
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
    EXPECT_TRUE(module.journal().empty());  // nothing was sent to the module
    set_driver(nullptr);

    std::ostringstream out, err;
    Environment env{out, err};
    EXPECT_EQ(run({"mqtt", "--help"}, env), kExitDone);
    EXPECT_NE(out.str().find("--topic-prefix"), std::string::npos);
}

}  // namespace
}  // namespace zavi::cli
