// Differences as the user reads them, and the CSV numbers: export form, import report whose
// counts add up, add and replace.
#include <gtest/gtest.h>

#include "config/compare.h"
#include "config/numbers_csv.h"
#include "tests/config/config_sample.h"

namespace zavi::config {
namespace {

using test::sample_configuration;

TEST(Compare, LinesShowPathOldAndNewWithListsAsSets) {
    const Configuration a = sample_configuration();
    Configuration b = a;
    b.alarm_settings.t1_high = 35;
    b.io_names[0] = "Gate";
    b.call_answer.out2 = 2;
    b.accepted_numbers = {"4915112345678", "48600100299", "48600100298"};
    b.saved_at = "2027-01-01T00:00:00Z";  // not configuration
    const std::vector<std::string> expected = {
        "alarm_settings.thermometer1_high: 30 -> 35",
        "call_answer.out2: 7 -> \"on_2s\"",
        "accepted_numbers: 2 added, 1 removed",
        "+48600100299",
        "+48600100298",
        "-48600100201",
        "io_names.in1_open: \"Door open\" -> \"Gate\"",
    };
    EXPECT_EQ(difference_lines(compare(a, b)), expected);
}

TEST(Compare, OrderOnlyAndEqualAndSimCodesOnlyWhenBothHoldThem) {
    const Configuration a = sample_configuration();
    Configuration b = a;
    std::swap(b.emergency_numbers[0], b.emergency_numbers[1]);
    EXPECT_EQ(difference_lines(compare(a, b)),
              std::vector<std::string>{"emergency_numbers: order changed"});
    EXPECT_TRUE(compare(a, a).empty());

    Configuration with_codes = a;
    with_codes.sim_codes = SimCodesValue{"1234", "12345678"};
    EXPECT_TRUE(compare(a, with_codes).empty());
    Configuration other_codes = with_codes;
    other_codes.sim_codes->pin.reset();
    EXPECT_EQ(difference_lines(compare(with_codes, other_codes)),
              std::vector<std::string>{"sim_codes.pin: \"1234\" -> null"});
}

TEST(Compare, JsonFormHasNullForANumberNotThere) {
    Configuration a = sample_configuration();
    Configuration b = a;
    b.accepted_numbers.push_back("48111222333");
    b.accept_all = false;
    EXPECT_EQ(
        differences_json(compare(a, b)),
        "[\n  {\n    \"path\": \"accept_all\",\n    \"old\": true,\n    \"new\": false\n  },\n"
        "  {\n    \"path\": \"accepted_numbers\",\n    \"old\": null,\n"
        "    \"new\": \"48111222333\"\n  }\n]\n");
}

TEST(NumbersCsv, ExportIsHeaderThenPlusNumbersEachEndingInCrLf) {
    EXPECT_EQ(export_numbers_csv({"48600100200", "4915112345678"}),
              "number\r\n+48600100200\r\n+4915112345678\r\n");
    EXPECT_EQ(export_numbers_csv({}), "number\r\n");
}

TEST(NumbersCsv, NormalisingATypedNumber) {
    struct Case {
        const char* field;
        const char* digits;
        const char* reason;
    };
    const Case cases[] = {
        {"+48 600-100.200", "48600100200", ""},
        {"0048 (600) 100 200", "48600100200", ""},
        {"48600100200", "48600100200", ""},
        {"+4860010020", "", "fewer than 11 digits"},
        {"486001002001234", "", "more than 14 digits"},
        {"00 4860010020012", "4860010020012", ""},
        {"abc", "", "not a number"},
        {"++48600100200", "", "not a number"},
        {"", "", "not a number"},
    };
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_EQ(normalise_number(c.field, &reason), c.digits) << c.field;
        EXPECT_EQ(reason, c.reason) << c.field;
    }
}

TEST(NumbersCsv, ImportReportsEveryRowOnceAndCountsAddUp) {
    struct Case {
        const char* name;
        std::string text;
        char separator;
        bool header;
        std::size_t valid, duplicates, rejected;
    };
    const Case cases[] = {
        {"comma_header_bom", "\xEF\xBB\xBFnumber,name\r\n+48600100299,Ann\r\n48600100201,Bob\r\n",
         ',', true, 1, 1, 0},
        {"semicolon_no_header", "48600100299;x\n\n48600100299;y\n12;z\n", ';', false, 1, 1, 1},
        {"tab_quoted", "\"phone\"\t\"n\"\n\"+48 600 100 298\"\tq\n\"48,600\"\tq\n", '\t', true, 1,
         0, 1},
        {"quoted_comma", "\"+48600100297\",a\n", ',', false, 1, 0, 0},
        {"only_header", "number\r\n", ',', true, 0, 0, 0},
    };
    const std::vector<std::string> current = {"48600100201"};
    for (const Case& c : cases) {
        const ImportReport r = import_numbers_csv(c.text, current, ImportMode::add);
        EXPECT_EQ(r.separator, c.separator) << c.name;
        EXPECT_EQ(r.header, c.header) << c.name;
        EXPECT_EQ(r.valid.size(), c.valid) << c.name;
        EXPECT_EQ(r.duplicates.size(), c.duplicates) << c.name;
        EXPECT_EQ(r.rejected.size(), c.rejected) << c.name;
        EXPECT_EQ(r.valid.size() + r.duplicates.size() + r.rejected.size(),
                  static_cast<std::size_t>(r.rows))
            << c.name;
    }
}

TEST(NumbersCsv, LineNumbersAddReplaceAndTheLimit) {
    const std::string text = "number\n48600100201\n\n+48600100202\nx\n48600100202\n";
    const std::vector<std::string> current = {"48600100201", "48600100200"};
    const ImportReport add = import_numbers_csv(text, current, ImportMode::add);
    ASSERT_EQ(add.valid.size(), 1u);
    EXPECT_EQ(add.valid[0].line, 4);
    ASSERT_EQ(add.rejected.size(), 1u);
    EXPECT_EQ(add.rejected[0].line, 5);
    ASSERT_EQ(add.duplicates.size(), 2u);
    EXPECT_EQ(add.duplicates[0].line, 2);
    EXPECT_EQ(add.duplicates[1].line, 6);
    EXPECT_EQ(apply_import(add, current, ImportMode::add),
              (std::vector<std::string>{"48600100201", "48600100200", "48600100202"}));

    // Replacing: a number the list already holds is simply kept.
    const ImportReport replace = import_numbers_csv(text, current, ImportMode::replace);
    EXPECT_EQ(apply_import(replace, current, ImportMode::replace),
              (std::vector<std::string>{"48600100201", "48600100202"}));

    std::string many;
    for (int i = 0; i < 259; ++i) many += "4860000" + std::to_string(1000 + i) + "\n";
    EXPECT_TRUE(import_numbers_csv(many, {"48111111111"}, ImportMode::add).fits);
    EXPECT_FALSE(import_numbers_csv(many, current, ImportMode::add).fits);
    EXPECT_TRUE(import_numbers_csv(many, current, ImportMode::replace).fits);
}

}  // namespace
}  // namespace zavi::config
