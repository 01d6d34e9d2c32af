// Partial configuration files: what the reader accepts and refuses, that a template keeps only
// its records through a save, and that restore reads and writes nothing else (journal).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "config/compare.h"
#include "config/config_file.h"
#include "config/operations.h"
#include "config/partial.h"
#include "sim/demo_scenario.h"
#include "tests/config/config_sample.h"
#include "tests/support/sim_fixture.h"

namespace zavi::config {
namespace {

// The read and write commands of each record the simulated module journals.
const std::set<uint8_t> kAlarmSettings = {6, 7}, kIoNames = {24, 25}, kAutoReset = {20, 21},
                        kAccepted = {16, 17},
                        kOthers = {9, 10, 11, 12, 13, 14, 18, 19, 22, 23, 26, 27};

bool parse(const std::string& text, Configuration* cfg, FileError* error) {
    std::vector<std::string> warnings;
    return parse_configuration(text, cfg, error, &warnings);
}

std::string without(const std::string& text, const char* key) {
    nlohmann::ordered_json tree = nlohmann::ordered_json::parse(text);
    tree.erase(key);
    return tree.dump(2);
}

TEST(PartialFile, ReaderTakesLeftOutRecordsOnlyWhenPartialIsTrue) {
    const std::string full = configuration_to_json(test::sample_configuration());
    const std::string head = "\"version\": 1,";
    auto flagged = [&](const std::string& text, const std::string& flag) {
        std::string t = text;
        return t.replace(t.find(head), head.size(), head + " \"partial\": " + flag + ",");
    };
    const std::string cut = without(without(full, "io_names"), "alarm_procedures");
    struct Case {
        const char* name;
        std::string text;
        const char* error_path;  // nullptr: accepted
        const char* says;
    } const cases[] = {
        {"full file, partial left out", full, nullptr, ""},
        {"cut file, partial left out", cut, "alarm_procedures", "missing"},
        {"cut file, partial false", flagged(cut, "false"), "alarm_procedures", "missing"},
        {"cut file, partial true", flagged(cut, "true"), nullptr, ""},
        {"partial as text", flagged(cut, "\"true\""), "partial", "true or false"},
        {"partial as 1", flagged(cut, "1"), "partial", "true or false"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configuration cfg;
        FileError error;
        const bool ok = parse(c.text, &cfg, &error);
        EXPECT_EQ(ok, c.error_path == nullptr) << error.path << ": " << error.message;
        if (!ok) {
            EXPECT_EQ(error.path, c.error_path);
            EXPECT_NE(error.message.find(c.says), std::string::npos) << error.message;
        }
    }
    // A record named twice is refused whichever of the two would win.
    std::string twice = flagged(cut, "true");
    twice.replace(twice.find("\"accept_all\""), 0, "\"auto_reset\": {\"period_days\": 9},\n  ");
    Configuration cfg;
    FileError error;
    EXPECT_FALSE(parse(twice, &cfg, &error));
    EXPECT_EQ(error.path, "auto_reset");
    EXPECT_NE(error.message.find("twice"), std::string::npos);
    // A value inside a held record is checked as in a full file.
    std::string bad = flagged(cut, "true");
    bad.replace(bad.find("\"period_days\": 3"), 16, "\"period_days\": 300");
    EXPECT_FALSE(parse(bad, &cfg, &error));
    EXPECT_EQ(error.path, "auto_reset.period_days");
}

TEST(PartialFile, TemplateHoldsItsRecordsAloneThroughASave) {
    Configuration full = test::sample_configuration();
    full.sim_codes = SimCodesValue{"1234", std::nullopt};
    Configuration t;
    std::string why;
    ASSERT_TRUE(make_template(full, {"io_names", "accepted_numbers"}, &t, &why)) << why;
    const std::string text = configuration_to_json(t);
    EXPECT_NE(text.find("\"partial\": true"), std::string::npos);
    for (const char* gone : {"alarm_settings", "alarm_procedures", "call_answer", "auto_status",
                             "auto_reset", "emergency_numbers", "accept_all", "sim_codes"})
        EXPECT_EQ(text.find(std::string("\"") + gone + "\""), std::string::npos) << gone;
    Configuration back;
    FileError error;
    ASSERT_TRUE(parse(text, &back, &error)) << error.path << ": " << error.message;
    EXPECT_TRUE(back.partial);
    EXPECT_EQ(back.held, t.held);
    EXPECT_EQ(back.io_names, full.io_names);
    EXPECT_EQ(back.accepted_numbers, full.accepted_numbers);
    EXPECT_FALSE(back.sim_codes);

    // Compared with anything, only the held records can differ.
    Configuration other = full;
    other.auto_reset_days = 7;
    other.io_names[3] = "changed";
    const auto diffs = compare(other, back);
    ASSERT_EQ(diffs.size(), 1u);
    EXPECT_EQ(diffs[0].path, "io_names.in2_closed");
    EXPECT_EQ(differing_records(other, back), std::vector<Record>{Record::io_names_first});

    struct Refusal {
        std::vector<std::string> keys;
        const char* says;
    } const refusals[] = {
        {{"io_names", "procedures"}, "unknown record \"procedures\""},
        {{"io_names (1-6)"}, "unknown record"},
        {{"sim_codes"}, "the file holds no sim_codes"},
    };
    full.sim_codes.reset();
    for (const Refusal& r : refusals) {
        EXPECT_FALSE(make_template(full, r.keys, &t, &why));
        EXPECT_NE(why.find(r.says), std::string::npos) << why;
    }
}

class PartialRestore : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        state() = sim::demo_scenario().modules[0].state;
    }
    std::set<uint8_t> commands() const {
        const auto list = commands_received();
        return {list.begin(), list.end()};
    }
};

TEST_F(PartialRestore, ReadsAndWritesTheHeldRecordsAlone) {
    Configuration module;
    ASSERT_EQ(read_configuration(handle(), false, {}, &module, nullptr), kOk);
    Configuration t;
    std::string why;
    ASSERT_TRUE(make_template(module, {"io_names", "auto_reset", "alarm_settings"}, &t, &why));
    t.io_names[8] = "Syrena";
    t.auto_reset_days = 5;
    // Unheld values that differ from the module must not be written.
    t.accepted_numbers.clear();
    t.accept_all = !module.accept_all;

    Configuration backed_up;
    RestoreOptions options;
    options.save_backup = [&](const Configuration& c, std::string* path, std::string*) {
        backed_up = c;
        *path = "backup";
        return true;
    };
    sim().clear_journal();
    const RestoreReport r = restore_configuration(handle(), t, options, {});
    EXPECT_EQ(r.outcome, RestoreOutcome::verified);
    EXPECT_EQ(r.written, (std::vector<Record>{Record::auto_reset, Record::io_names_second}));
    const std::set<uint8_t> seen = commands();
    for (const uint8_t c : {6, 20, 21, 24, 25}) EXPECT_TRUE(seen.count(c)) << int(c);
    for (const auto* set : {&kAccepted, &kOthers})
        for (const uint8_t c : *set) EXPECT_FALSE(seen.count(c)) << "command " << int(c);
    EXPECT_EQ(state().auto_reset, 5);
    EXPECT_EQ(state().io_names[8], "Syrena");

    // The automatic backup holds what was read, and says it is partial: a full file of it
    // would carry values never read from this module.
    EXPECT_TRUE(backed_up.partial);
    EXPECT_EQ(backed_up.held, t.held);
    EXPECT_EQ(backed_up.auto_reset_days, module.auto_reset_days);
    const std::string text = configuration_to_json(backed_up);
    EXPECT_EQ(text.find("accepted_numbers"), std::string::npos);
    EXPECT_NE(text.find("\"io_names\""), std::string::npos);
}

}  // namespace
}  // namespace zavi::config
