// What a file says is what is read: no key twice, nothing after the document, the parser's own
// words at the place of the fault, saved_at a real moment, and the values only a module can hold
// kept from a backup of one but refused from a hand-made file.
#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>

#include "config/config_file.h"
#include "tests/config/config_sample.h"

namespace zavi::config {
namespace {

using nlohmann::ordered_json;
using test::sample_configuration;

std::string sample_text(FileOrigin origin = FileOrigin::hand_made) {
    return configuration_to_json(sample_configuration(), origin);
}

// Replaces the first `from` in the sample file.
std::string changed(const std::string& from, const std::string& to) {
    std::string t = sample_text();
    const std::size_t at = t.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? t : t.replace(at, from.size(), to);
}

TEST(FileStrictness, AmbiguousOrMalformedTextIsRefusedWithItsPlace) {
    struct Case {
        const char* name;
        std::string text;
        std::string path;  // for a value fault
        int line, column;  // for a syntax fault
        const char* says;
    };
    const std::string sample = sample_text();
    const Case cases[] = {
        {"key_twice",
         changed("\"battery_threshold\": 20",
                 "\"battery_threshold\": 20,\n    "
                 "\"battery_threshold\": 50"),
         "alarm_settings.battery_threshold", 0, 0, "given twice"},
        {"top_key_twice",
         changed("\"accept_all\": true", "\"accept_all\": true, \"accept_all\": 1"), "accept_all",
         0, 0, "given twice"},
        {"key_twice_in_a_list_entry",
         changed("\"event\": \"in2\",", "\"event\": \"in2\", \"sms\": false,"),
         "alarm_procedures[1].sms", 0, 0, "given twice"},
        {"nul_and_second_document", sample + std::string(1, '\0') + sample, "",
         static_cast<int>(std::count(sample.begin(), sample.end(), '\n')) + 1, 1, "NUL"},
        {"nul_inside", changed("\"v1.7\"", std::string("\"v1.7\"\0", 7)), "", 5, 21, "NUL"},
        {"second_document", sample + sample, "",
         static_cast<int>(std::count(sample.begin(), sample.end(), '\n')) + 1, 1,
         "expected end of input"},
        {"trailing_byte", sample + "x", "",
         static_cast<int>(std::count(sample.begin(), sample.end(), '\n')) + 1, 1,
         "invalid literal"},
        // The reader gives up on the comma; the word it could not read ends one byte before.
        {"broken_literal", changed("\"sms\": true,", "\"sms\": tru,"), "", 21, 16,
         "while parsing value - invalid literal"},
        {"nested_too_deep",
         changed("\"auto_reset\": {", "\"deep\": " + std::string(40, '[') + std::string(40, ']') +
                                          ", \"auto_reset\": {"),
         "deep[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0]"
         "[0][0][0]",
         0, 0, "nested deeper than 32"},
    };
    for (const Case& c : cases) {
        Configuration out;
        out.firmware = "untouched";
        FileError error;
        std::vector<FileError> warnings;
        EXPECT_FALSE(parse_configuration(c.text, &out, &error, &warnings)) << c.name;
        EXPECT_EQ(error.path, c.path) << c.name << ": " << error.message;
        EXPECT_EQ(error.line, c.line) << c.name << ": " << error.message;
        EXPECT_EQ(error.column, c.column) << c.name << ": " << error.message;
        EXPECT_NE(error.message.find(c.says), std::string::npos) << c.name << ": " << error.message;
        EXPECT_EQ(out.firmware, "untouched") << c.name;
    }
    // Whitespace after the document is still fine.
    Configuration out;
    FileError error;
    std::vector<FileError> warnings;
    EXPECT_TRUE(parse_configuration(sample + "\n\t \r\n", &out, &error, &warnings))
        << error.message;
}

TEST(FileStrictness, SavedAtIsARealMomentOrAWarningThatLeavesTheFileUsable) {
    struct Case {
        const char* saved_at;
        bool real;
    };
    const Case cases[] = {
        {"2026-12-07T17:45:00Z", true},  {"2024-02-29T00:00:00Z", true},
        {"2016-12-31T23:59:60Z", true},  {"2026-12-07T17:45:00.125Z", true},
        {"2026-13-45T99:99:99Z", false}, {"2025-02-29T12:00:00Z", false},
        {"1900-02-29T12:00:00Z", false}, {"2026-04-31T12:00:00Z", false},
        {"2026-12-07T24:00:00Z", false}, {"2026-12-07T12:60:00Z", false},
        {"2026-12-07T12:00:60Z", false}, {"2026-00-10T12:00:00Z", false},
    };
    for (const Case& c : cases) {
        ordered_json j = ordered_json::parse(sample_text());
        j["saved_at"] = c.saved_at;
        Configuration out;
        FileError error;
        std::vector<FileError> warnings;
        ASSERT_TRUE(parse_configuration(j.dump(), &out, &error, &warnings))
            << c.saved_at << ": " << error.message;
        EXPECT_EQ(out.saved_at, c.saved_at);
        if (c.real) {
            EXPECT_TRUE(warnings.empty()) << c.saved_at;
        } else {
            ASSERT_EQ(warnings.size(), 1u) << c.saved_at;
            EXPECT_EQ(warnings[0].path, "saved_at");
            EXPECT_EQ(warnings[0].fault, FileFault::impossible_time);
            EXPECT_EQ(describe_warning(warnings[0]).rfind("saved_at: ", 0), 0u);
        }
    }
}

struct OddValue {
    const char* name;
    std::function<void(ordered_json&)> change;
    const char* path;
    bool module_may_hold;  // a backup of a module keeps it
};

const OddValue kOddValues[] = {
    {"repeated_number", [](auto& j) { j["accepted_numbers"].push_back("48600100201"); },
     "accepted_numbers[2]", true},
    {"empty_number", [](auto& j) { j["emergency_numbers"][1] = ""; }, "emergency_numbers[1]", true},
    {"high_not_above_low", [](auto& j) { j["alarm_settings"]["thermometer2_high"] = 0; },
     "alarm_settings.thermometer2_high", true},
    {"control_byte_in_name", [](auto& j) { j["io_names"]["out1_on"] = "Siren\x01"; },
     "io_names.out1_on", true},
    {"pin_hex_digit",
     [](auto& j) {
         j["sim_codes"] = {{"pin", "12A4"}, {"puk", nullptr}};
     },
     "sim_codes.pin", true},
    // What a module can never send stays refused, whatever the file says it is.
    {"number_with_plus", [](auto& j) { j["accepted_numbers"][0] = "+48600100201"; },
     "accepted_numbers[0]", false},
    {"name_too_long", [](auto& j) { j["io_names"]["out1_on"] = std::string(41, 'a'); },
     "io_names.out1_on", false},
    {"long_name_with_control",
     [](auto& j) { j["io_names"]["out1_on"] = "\x02" + std::string(40, 'a'); }, "io_names.out1_on",
     false},
    {"nul_in_name", [](auto& j) { j["io_names"]["out1_on"] = std::string("a\0b", 3); },
     "io_names.out1_on", false},
    {"name_beyond_latin1", [](auto& j) { j["io_names"]["out1_on"] = "\xE2\x82\xAC"; },
     "io_names.out1_on", false},
    {"puk_lower_hex",
     [](auto& j) {
         j["sim_codes"] = {{"pin", nullptr}, {"puk", "1234567a"}};
     },
     "sim_codes.puk", false},
};

class OddValues : public ::testing::TestWithParam<OddValue> {};

TEST_P(OddValues, KeptWithAWarningFromABackupAndRefusedFromAHandMadeFile) {
    for (const FileOrigin origin : {FileOrigin::hand_made, FileOrigin::module_backup}) {
        ordered_json j = ordered_json::parse(sample_text(origin));
        GetParam().change(j);
        Configuration out;
        FileError error;
        std::vector<FileError> warnings;
        FileOrigin read_origin = FileOrigin::hand_made;
        const bool kept = origin == FileOrigin::module_backup && GetParam().module_may_hold;
        ASSERT_EQ(parse_configuration(j.dump(), &out, &error, &warnings, &read_origin), kept)
            << error.path << ": " << error.message;
        if (!kept) {
            EXPECT_EQ(error.path, GetParam().path);
            continue;
        }
        EXPECT_EQ(read_origin, FileOrigin::module_backup);
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].path, GetParam().path);
        EXPECT_NE(describe_warning(warnings[0]).find("kept"), std::string::npos);
        // Written again, it is still a backup and reads back equal.
        Configuration again;
        std::vector<FileError> again_warnings;
        ASSERT_TRUE(parse_configuration(configuration_to_json(out, FileOrigin::module_backup),
                                        &again, &error, &again_warnings));
        EXPECT_EQ(again, out);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, OddValues, ::testing::ValuesIn(kOddValues),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileStrictness, OnlyModuleBackupIsAnOrigin) {
    ordered_json j = ordered_json::parse(sample_text(FileOrigin::module_backup));
    EXPECT_EQ(j["origin"], "module backup");
    j["origin"] = "hand made";
    Configuration out;
    FileError error;
    std::vector<FileError> warnings;
    EXPECT_FALSE(parse_configuration(j.dump(), &out, &error, &warnings));
    EXPECT_EQ(error.path, "origin");
}

// Unknown keys are named in byte order whatever order the file holds them in: the warnings
// at the top, and the one refused inside a record.
TEST(FileStrictness, UnknownKeysAreNamedInByteOrderWhateverTheFileOrder) {
    const struct {
        const char* top;     // inserted before "format"
        const char* nested;  // inserted into auto_status, "" for none
        std::vector<std::string> warned;
        const char* refused;
    } cases[] = {
        {R"("zz": 1, "Beta": 2, "a": 3,)", "", {"Beta", "a", "zz"}, ""},
        {R"("a": 3, "zz": 1, "Beta": 2,)", "", {"Beta", "a", "zz"}, ""},
        {"", R"("zeta": 1, "alpha": 2,)", {}, "auto_status.alpha"},
        {"", R"("alpha": 2, "zeta": 1,)", {}, "auto_status.alpha"},
        {R"("zz": 1,)", R"("m": 1, "Zed": 2,)", {}, "auto_status.Zed"},
    };
    for (const auto& c : cases) {
        std::string text = changed("\"format\"", std::string(c.top) + "\"format\"");
        const std::size_t at = text.find("\"period_days\"");
        ASSERT_NE(at, std::string::npos);
        text.insert(at, c.nested);
        Configuration out;
        FileError error;
        std::vector<FileError> warnings;
        const bool read = parse_configuration(text, &out, &error, &warnings);
        EXPECT_EQ(read, *c.refused == 0) << c.top << c.nested;
        if (!read) {
            EXPECT_EQ(error.path, c.refused) << c.nested;
            EXPECT_EQ(error.message, "unknown field");
            continue;
        }
        std::vector<std::string> warned;
        for (const FileError& w : warnings) warned.push_back(w.path);
        EXPECT_EQ(warned, c.warned) << c.top;
    }
}

}  // namespace
}  // namespace zavi::config
