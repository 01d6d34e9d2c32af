// Number lists compared as lists (with multiplicity), and the CSV separator and header found
// over the whole file.
#include <gtest/gtest.h>

#include "config/compare.h"
#include "config/numbers_csv.h"
#include "tests/config/config_sample.h"

namespace zavi::config {
namespace {

using test::sample_configuration;

constexpr char A[] = "48600100200", B[] = "48600100201", C[] = "48600100202";

TEST(CompareLists, AddedAndRemovedCountRepeatsAndOrderOnlyForTheSameNumbers) {
    struct Case {
        const char* name;
        std::vector<std::string> module, file;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a repeat removed",
         {A, A, B, C},
         {A, B, C},
         {"accepted_numbers: 0 added, 1 removed", "-48600100200 (1 of 2)"}},
        {"a repeat added",
         {A, B},
         {B, A, A},
         {"accepted_numbers: 1 added, 0 removed", "+48600100200 (1 of 2)"}},
        {"all repeats removed",
         {A, B, A, A},
         {B},
         {"accepted_numbers: 0 added, 3 removed", "-48600100200 (3 of 3)"}},
        {"one kept of three, one new",
         {A, A, A},
         {A, C},
         {"accepted_numbers: 1 added, 2 removed", "+48600100202", "-48600100200 (2 of 3)"}},
        {"same repeats, other order", {A, B, A}, {A, A, B}, {"accepted_numbers: order changed"}},
        {"same list", {A, A, B}, {A, A, B}, {}},
    };
    for (const Case& c : cases) {
        Configuration module = sample_configuration(), file = module;
        module.accepted_numbers = c.module;
        file.accepted_numbers = c.file;
        EXPECT_EQ(difference_lines(compare(module, file)), c.lines) << c.name;
    }
}

TEST(CompareLists, JsonCountsARepeatedNumber) {
    Configuration module = sample_configuration(), file = module;
    module.accepted_numbers = {A, A, B, C};
    file.accepted_numbers = {A, B, C};
    EXPECT_EQ(differences_json(compare(module, file)),
              "[\n  {\n    \"path\": \"accepted_numbers\",\n    \"old\": \"48600100200\",\n"
              "    \"new\": null,\n    \"old_count\": 2,\n    \"new_count\": 1\n  }\n]\n");
}

TEST(NumbersCsv, SeparatorAndHeaderAreFoundOverTheWholeFile) {
    struct Case {
        const char* name;
        std::string text;
        char separator;
        bool header;
        std::vector<std::string> valid;
        int rows, rejected;
    };
    const Case cases[] = {
        {"one-column header, then semicolons",
         "Telefon\r\n+48 600 100 300;biuro\r\n",
         ';',
         true,
         {"48600100300"},
         1,
         0},
        {"blank first line", "\r\n48600100300;a\r\n", ';', false, {"48600100300"}, 1, 0},
        {"whitespace-only lines are empty",
         "number\n   \n\t\n48600100300\n \t \n",
         ',',
         true,
         {"48600100300"},
         1,
         0},
        {"semicolons with commas in the names",
         "48600100300;Kowalski, Jan\n48600100301;Nowak, Anna\n",
         ';',
         false,
         {"48600100300", "48600100301"},
         2,
         0},
        {"tabs, a line without a second field",
         "48600100300\tbiuro\n48600100301\n48600100302\tdom\n",
         '\t',
         false,
         {"48600100300", "48600100301", "48600100302"},
         3,
         0},
        {"commas and quoted semicolons",
         "\"a;b\",48600100300\n48600100301,\"x;y\"\n",
         ',',
         true,
         {"48600100301"},
         1,
         0},
        {"a bad row stays rejected",
         "Telefon;Name\n+48 600 100 300;biuro\n12;x\n",
         ';',
         true,
         {"48600100300"},
         2,
         1},
        {"one column, no separator",
         "48600100300\n48600100301\n",
         ',',
         false,
         {"48600100300", "48600100301"},
         2,
         0},
        {"a header with a digit", "Tel. 1;Name\n48600100300;a\n", ';', true, {"48600100300"}, 1, 0},
        {"a mistyped first number is no header",
         "+48 600 100;a\n48600100300;b\n",
         ';',
         false,
         {"48600100300"},
         2,
         1},
        {"nothing but blanks", "  \n\n\t\n", ',', false, {}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportReport r = import_numbers_csv(c.text, {}, ImportMode::replace);
        EXPECT_EQ(r.separator, c.separator);
        EXPECT_EQ(r.header, c.header);
        std::vector<std::string> valid;
        for (const CsvRow& row : r.valid) valid.push_back(row.number);
        EXPECT_EQ(valid, c.valid);
        EXPECT_EQ(r.rows, c.rows);
        EXPECT_EQ(static_cast<int>(r.rejected.size()), c.rejected);
    }
}

TEST(NumbersCsv, EveryRowThatIsNotTakenCarriesItsReasonCode) {
    const ImportReport r = import_numbers_csv(
        "number;n\nx;1\n+4860010030;2\n486001003001234;3\n48600100200;4\n48600100300;"
        "5\n48600100300;6\n",
        {A}, ImportMode::add);
    ASSERT_EQ(r.rejected.size(), 3u);
    EXPECT_EQ(r.rejected[0].code, RowReason::not_a_number);
    EXPECT_EQ(r.rejected[1].code, RowReason::too_few_digits);
    EXPECT_EQ(r.rejected[2].code, RowReason::too_many_digits);
    ASSERT_EQ(r.duplicates.size(), 2u);
    EXPECT_EQ(r.duplicates[0].code, RowReason::already_in_list);
    EXPECT_EQ(r.duplicates[1].code, RowReason::earlier_in_file);
    EXPECT_EQ(r.duplicates[1].reason, "already earlier in the file");  // the command line's words
}

}  // namespace
}  // namespace zavi::config
