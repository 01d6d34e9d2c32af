// What the MQTT bridge publishes and what it accepts on its command line: Home Assistant's
// discovery messages, the state message, topic prefixes, broker addresses, intervals, the
// password file, and the back-off between attempts.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>
#include <set>

#include "bridge/backoff.h"
#include "bridge/bridge_options.h"
#include "bridge/topics.h"
#include "tests/support/temp_dir.h"

namespace zavi::bridge {
namespace {

using nlohmann::json;

DeviceStatus sample_status() {
    DeviceStatus s{};
    s.temp1_negative = 1, s.temp1_whole = 0, s.temp1_tenths = 5;
    s.temp2_whole = 21, s.temp2_tenths = 5;
    s.battery_level = 140, s.battery_flags = 0x01;
    s.gsm_signal = 99, s.gsm_state = 0;
    std::strcpy(s.io_state_text[0], "Door \"open\"");
    std::strcpy(s.io_state_text[5], "Siren \xF3n");  // the module's one byte per character
    std::strcpy(s.operator_name, "Plus");
    return s;
}

TEST(BridgeMessages, DiscoveryGivesHomeAssistantOneDeviceWithAnEntityPerValue) {
    const Topics topics("home/alarm 1");
    const json state = json::parse(state_payload(sample_status()));
    const auto messages = topics.discovery("ZAVI-GSM v1.7");
    ASSERT_EQ(messages.size(), 13u);
    std::set<std::string> ids, keys;
    for (const Message& m : messages) {
        SCOPED_TRACE(m.topic);
        EXPECT_TRUE(m.retain);
        const json c = json::parse(m.payload);  // throws on invalid JSON
        for (const char* key :
             {"name", "unique_id", "state_topic", "value_template", "availability_topic", "device"})
            EXPECT_TRUE(c.contains(key)) << key;
        EXPECT_EQ(c["state_topic"], "home/alarm 1/state");
        EXPECT_EQ(c["availability_topic"], "home/alarm 1/availability");
        EXPECT_EQ(c["payload_not_available"], "offline");
        EXPECT_EQ(c["device"]["identifiers"], json::array({"home_alarm_1"}));
        EXPECT_EQ(c["device"]["sw_version"], "ZAVI-GSM v1.7");
        ids.insert(c["unique_id"].get<std::string>());
        // The template names a key the state message has.
        const std::string t = c["value_template"];
        const std::string key =
            t.substr(t.find("value_json.") + 11, t.find(" }}") - t.find("value_json.") - 11);
        EXPECT_TRUE(state.contains(key)) << key;
        keys.insert(key);
        EXPECT_EQ(m.topic, "homeassistant/sensor/home_alarm_1/" + key + "/config");
    }
    EXPECT_EQ(ids.size(), messages.size());
    EXPECT_EQ(keys.size(), state.size());  // every value has its entity
    EXPECT_FALSE(json::parse(topics.discovery("")[0].payload)["device"].contains("sw_version"));
}

TEST(BridgeMessages, StateCarriesTheModulesMeaningNotItsBytes) {
    const json s = json::parse(state_payload(sample_status()));
    EXPECT_EQ(s["temperature1"], -0.5);
    EXPECT_EQ(s["temperature2"], 21.5);
    EXPECT_EQ(s["battery_percent"], 100);
    EXPECT_EQ(s["battery_state"], "recharge");
    EXPECT_TRUE(s["gsm_signal_dbm"].is_null());  // 99: no reading
    EXPECT_EQ(s["gsm_state"], "ready");
    EXPECT_EQ(s["operator"], "Plus");
    EXPECT_EQ(s["in1"], "Door \"open\"");
    EXPECT_EQ(s["out2"], "Siren \xC3\xB3n");
    EXPECT_EQ(s["in2"], "");
}

TEST(BridgeOptions, TopicPrefixes) {
    struct Case {
        std::string prefix;
        bool ok;
    };
    const Case cases[] = {
        {"zavi-gsm", true},
        {"home/alarm 1", true},
        {"a/b/c", true},
        {"", false},
        {"#", false},
        {"home/#", false},
        {"a/+/b", false},
        {"a+b", false},
        {std::string("a\0b", 3), false},
        {"/a", false},
        {"a/", false},
        {"a//b", false},
        {"$SYS/x", false},
        {std::string(200, 'a'), true},
        {std::string(201, 'a'), false},
    };
    for (const Case& c : cases) {
        std::string why;
        EXPECT_EQ(check_prefix(c.prefix, &why), c.ok) << c.prefix;
        EXPECT_EQ(why.empty(), c.ok) << c.prefix;
    }
}

TEST(BridgeOptions, BrokerAddressesAndIntervals) {
    struct Case {
        const char* text;
        bool ok;
        const char* host;
        int port;
    };
    const Case cases[] = {
        {"broker", true, "broker", 0},
        {"broker:1884", true, "broker", 1884},
        {"10.0.0.2:65535", true, "10.0.0.2", 65535},
        {"[::1]:1883", true, "::1", 1883},
        {"[::1]", true, "::1", 0},
        {"fe80::1", true, "fe80::1", 0},
        {"", false, "", 0},
        {":1883", false, "", 0},
        {"broker:", false, "", 0},
        {"broker:0", false, "", 0},
        {"broker:65536", false, "", 0},
        {"broker:18x3", false, "", 0},
        {"broker:-1", false, "", 0},
        {"[::1", false, "", 0},
        {"[::1]1883", false, "", 0},
        {"[]:1883", false, "", 0},
        {"bro ker", false, "", 0},
        {"mqtt://broker", false, "", 0},
    };
    for (const Case& c : cases) {
        BrokerAddress a;
        std::string why;
        EXPECT_EQ(parse_broker(c.text, &a, &why), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(a.host, c.host) << c.text;
            EXPECT_EQ(a.port, c.port) << c.text;
        } else {
            EXPECT_NE(why.find("--broker"), std::string::npos) << c.text;
        }
    }
    for (const auto& [text, ok] : std::vector<std::pair<std::string, bool>>{{"10", true},
                                                                            {"0.5", true},
                                                                            {"3600", true},
                                                                            {"0.4", false},
                                                                            {"3601", false},
                                                                            {"0", false},
                                                                            {"-1", false},
                                                                            {"nan", false},
                                                                            {"1s", false},
                                                                            {"", false}}) {
        double s = 0;
        std::string why;
        EXPECT_EQ(parse_interval(text, &s, &why), ok) << text;
    }
}

TEST(BridgeOptions, PasswordFile) {
    test::TempDir dir;
    struct Case {
        const char* name;
        const char* bytes;  // null: no file
        mode_t mode;
        bool ok;
        const char* password;
        std::size_t warnings;
    };
    const Case cases[] = {
        {"missing", nullptr, 0600, false, "", 0},
        {"private", "s3cret\nsecond line\n", 0600, true, "s3cret", 0},
        {"crlf", "s3cret\r\n", 0600, true, "s3cret", 0},
        {"no-newline", "pass word", 0600, true, "pass word", 0},
        {"readable", "s3cret\n", 0644, true, "s3cret", 1},
        {"group", "s3cret\n", 0640, true, "s3cret", 1},
        {"empty", "", 0600, true, "", 1},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file(c.name);
        if (c.bytes) {
            test::write_file(path, c.bytes);
            ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
        }
        PasswordFile f;
        std::string why;
        EXPECT_EQ(read_password_file(path, &f, &why), c.ok) << c.name;
        EXPECT_EQ(f.password, c.password) << c.name;
        EXPECT_EQ(f.warnings.size(), c.warnings) << c.name;
        if (!c.ok) {
            EXPECT_NE(why.find(path), std::string::npos) << why;
        }
    }
    std::string why;
    PasswordFile f;
    test::write_file(dir.file("big"), std::string(5000, 'x'));
    EXPECT_FALSE(read_password_file(dir.file("big"), &f, &why));
    // The limit itself is allowed; one byte more is not.
    test::write_file(dir.file("limit"), std::string(4096, 'y'));
    EXPECT_TRUE(read_password_file(dir.file("limit"), &f, &why)) << why;
    EXPECT_EQ(f.password, std::string(4096, 'y'));
    test::write_file(dir.file("over"), std::string(4097, 'y'));
    EXPECT_FALSE(read_password_file(dir.file("over"), &f, &why));
    EXPECT_FALSE(read_password_file(dir.path().string(), &f, &why));  // a folder
}

TEST(BridgeBackoff, DoublesUpToAMinuteAndStartsOverAfterASuccess) {
    Backoff b;
    std::vector<long> waits;
    for (int i = 0; i < 9; ++i) waits.push_back(b.next().count() / 1000);
    EXPECT_EQ(waits, (std::vector<long>{1, 2, 4, 8, 16, 32, 60, 60, 60}));
    b.reset();
    EXPECT_EQ(b.next().count(), 1000);
}

}  // namespace
}  // namespace zavi::bridge
