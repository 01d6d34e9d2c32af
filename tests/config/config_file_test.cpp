// The configuration file: what is written reads back equal, and every kind of bad file is
// refused with the place of the fault, leaving the output alone.
#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>

#include "config/config_file.h"
#include "tests/config/config_sample.h"

namespace zavi::config {
namespace {

using nlohmann::ordered_json;
using test::sample_configuration;

TEST(ConfigFile, WrittenFileReadsBackEqualWithAndWithoutSimCodes) {
    Configuration with_codes = sample_configuration();
    with_codes.sim_codes = SimCodesValue{"1234", std::nullopt};
    for (const Configuration& c : {sample_configuration(), with_codes}) {
        Configuration back;
        FileError error;
        std::vector<std::string> warnings;
        ASSERT_TRUE(parse_configuration(configuration_to_json(c), &back, &error, &warnings))
            << error.path << ": " << error.message;
        EXPECT_EQ(back, c);
        EXPECT_TRUE(warnings.empty());
    }
}

TEST(ConfigFile, FieldNamesAndValuesAreTheOnesOutsideToolsRead) {
    const ordered_json j = ordered_json::parse(configuration_to_json(sample_configuration()));
    EXPECT_EQ(j["format"], "zavi-gsm-configuration");
    EXPECT_EQ(j["alarm_settings"]["in1"], "active_open");
    EXPECT_EQ(j["alarm_settings"]["in2"], "active_closed");
    EXPECT_EQ(j["alarm_settings"]["pin1"], "active_no_voltage");
    EXPECT_EQ(j["alarm_settings"]["input_modes_high_bits"], 10);
    EXPECT_EQ(j["alarm_settings"]["thermometer1_low"], -5);
    EXPECT_EQ(j["alarm_procedures"][3]["event"], "pin2");
    EXPECT_EQ(j["alarm_procedures"][3]["out1"], "on_2s");
    EXPECT_EQ(j["call_answer"]["out1"], "change");
    EXPECT_EQ(j["call_answer"]["out2"], 7);
    EXPECT_EQ(j["io_names"]["in1_closed"], "T\xC3\xBCr zu \xC3\xBF");
    EXPECT_FALSE(j.contains("sim_codes"));
}

struct BadFile {
    const char* name;
    std::function<void(ordered_json&)> change;
    const char* path;  // the path the error must name
};

class ConfigFileRefuses : public ::testing::TestWithParam<BadFile> {};

TEST_P(ConfigFileRefuses, NamesThePathAndLeavesTheOutputAlone) {
    ordered_json j = ordered_json::parse(configuration_to_json(sample_configuration()));
    GetParam().change(j);
    Configuration out;
    out.firmware = "untouched";
    FileError error;
    std::vector<std::string> warnings;
    EXPECT_FALSE(parse_configuration(j.dump(), &out, &error, &warnings));
    EXPECT_EQ(error.path, GetParam().path) << error.message;
    EXPECT_FALSE(error.message.empty());
    EXPECT_EQ(out.firmware, "untouched");
}

const BadFile kBadFiles[] = {
    {"record_missing", [](auto& j) { j.erase("auto_reset"); }, "auto_reset"},
    {"field_missing", [](auto& j) { j["call_answer"].erase("sms"); }, "call_answer.sms"},
    {"saved_at_not_utc", [](auto& j) { j["saved_at"] = "2026-12-07T17:45:00+01:00"; }, "saved_at"},
    {"other_format", [](auto& j) { j["format"] = "something"; }, "format"},
    {"newer_version", [](auto& j) { j["version"] = 2; }, "version"},
    {"wrong_input_mode", [](auto& j) { j["alarm_settings"]["pin2"] = "active_open"; },
     "alarm_settings.pin2"},
    {"high_bits_too_big", [](auto& j) { j["alarm_settings"]["input_modes_high_bits"] = 16; },
     "alarm_settings.input_modes_high_bits"},
    {"threshold_too_low", [](auto& j) { j["alarm_settings"]["thermometer2_low"] = -56; },
     "alarm_settings.thermometer2_low"},
    {"threshold_not_whole", [](auto& j) { j["alarm_settings"]["thermometer1_high"] = 30.5; },
     "alarm_settings.thermometer1_high"},
    {"high_not_above_low", [](auto& j) { j["alarm_settings"]["thermometer1_low"] = 30; },
     "alarm_settings.thermometer1_high"},
    {"battery_over_100", [](auto& j) { j["alarm_settings"]["battery_threshold"] = 101; },
     "alarm_settings.battery_threshold"},
    {"eight_procedures", [](auto& j) { j["alarm_procedures"].erase(8); }, "alarm_procedures"},
    {"procedure_out_of_order", [](auto& j) { j["alarm_procedures"][2]["event"] = "in1"; },
     "alarm_procedures[2].event"},
    {"unknown_output", [](auto& j) { j["alarm_procedures"][3]["out1"] = "blink"; },
     "alarm_procedures[3].out1"},
    {"procedure_high_bits", [](auto& j) { j["alarm_procedures"][0]["high_bits"] = 4; },
     "alarm_procedures[0].high_bits"},
    {"sms_not_boolean", [](auto& j) { j["auto_status"]["sms"] = 1; }, "auto_status.sms"},
    {"call_nibble_too_big", [](auto& j) { j["call_answer"]["out2"] = 16; }, "call_answer.out2"},
    {"period_too_big", [](auto& j) { j["auto_status"]["period_days"] = 16; },
     "auto_status.period_days"},
    {"number_with_plus", [](auto& j) { j["accepted_numbers"][1] = "+4915112345678"; },
     "accepted_numbers[1]"},
    {"number_too_long", [](auto& j) { j["emergency_numbers"][0] = "123456789012345"; },
     "emergency_numbers[0]"},
    {"number_empty", [](auto& j) { j["accepted_numbers"].push_back(""); }, "accepted_numbers[2]"},
    {"duplicate_number", [](auto& j) { j["accepted_numbers"].push_back("48600100201"); },
     "accepted_numbers[2]"},
    {"seven_emergency_numbers",
     [](auto& j) {
         for (int i = 0; i < 5; ++i)
             j["emergency_numbers"].push_back("4860010030" + std::to_string(i));
     },
     "emergency_numbers"},
    {"number_not_text", [](auto& j) { j["accepted_numbers"][0] = 48600100201LL; },
     "accepted_numbers[0]"},
    {"name_too_long", [](auto& j) { j["io_names"]["out2_off"] = std::string(41, 'y'); },
     "io_names.out2_off"},
    {"name_control_character", [](auto& j) { j["io_names"]["in2_open"] = "a\tb"; },
     "io_names.in2_open"},
    {"name_c1_character",
     [](auto& j) {
         j["io_names"]["in2_open"] =
             "a\xC2\x85"
             "b";
     },
     "io_names.in2_open"},
    {"name_beyond_latin1", [](auto& j) { j["io_names"]["in2_open"] = "\xE2\x82\xAC"; },
     "io_names.in2_open"},
    {"name_missing", [](auto& j) { j["io_names"].erase("pin1_voltage"); }, "io_names.pin1_voltage"},
    {"nested_unknown_field", [](auto& j) { j["auto_reset"]["period"] = 1; }, "auto_reset.period"},
    {"pin_three_digits",
     [](auto& j) {
         j["sim_codes"] = {{"pin", "123"}, {"puk", nullptr}};
     },
     "sim_codes.pin"},
    {"puk_letters",
     [](auto& j) {
         j["sim_codes"] = {{"pin", nullptr}, {"puk", "1234567A"}};
     },
     "sim_codes.puk"},
    {"not_an_object", [](auto& j) { j = ordered_json::array(); }, ""},
};

INSTANTIATE_TEST_SUITE_P(Table, ConfigFileRefuses, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigFile, SyntaxErrorsGiveLineAndByteColumnFromOne) {
    struct Case {
        const char* text;
        int line, column;
    };
    const Case cases[] = {
        {"{\n  \"format\": ,\n}", 2, 13},
        {"{\"a\": 1,\n\n   }", 3, 4},
        {"", 1, 1},
        {"{\"n\": \"\xC3\xBC\" x}", 1, 12},  // the column counts bytes, not characters
    };
    for (const Case& c : cases) {
        Configuration out;
        FileError error;
        std::vector<std::string> warnings;
        EXPECT_FALSE(parse_configuration(c.text, &out, &error, &warnings));
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_EQ(error.column, c.column) << c.text;
        EXPECT_EQ(
            describe(error, "f.zavi.json").rfind("f.zavi.json:" + std::to_string(c.line) + ":", 0),
            0u);
    }
}

TEST(ConfigFile, ANumberTooLargeForAnyTypeIsRefusedNotThrown) {
    Configuration out;
    FileError error;
    std::vector<std::string> warnings;
    const std::string text = "{\"version\": 1" + std::string(400, '8') + "}";
    EXPECT_FALSE(parse_configuration(text, &out, &error, &warnings));
    EXPECT_NE(error.message.find("too large"), std::string::npos);
}

TEST(ConfigFile, UnknownTopLevelFieldIsAWarningAndOverOneMebibyteIsRefused) {
    ordered_json j = ordered_json::parse(configuration_to_json(sample_configuration()));
    j["comment"] = "cloned for site 7";
    Configuration out;
    FileError error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(parse_configuration(j.dump(), &out, &error, &warnings));
    EXPECT_EQ(out, sample_configuration());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("comment"), std::string::npos);

    std::string big = j.dump();
    big.insert(big.size() - 1, std::string(kMaxFileBytes, ' '));
    EXPECT_FALSE(parse_configuration(big, &out, &error, &warnings));
    EXPECT_NE(error.message.find("1 MiB"), std::string::npos);
}

}  // namespace
}  // namespace zavi::config
