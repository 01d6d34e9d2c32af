// Sites tables: each kind of bad cell or table names its row and column and yields no site;
// good rows give the template with their values.
#include <gtest/gtest.h>

#include "config/partial.h"
#include "config/sites_table.h"
#include "tests/config/config_sample.h"

namespace zavi::config {
namespace {

Configuration with_sim_codes() {
    Configuration c = test::sample_configuration();
    c.sim_codes = SimCodesValue{"1111", "12345678"};
    return c;
}

TEST(SitesTable, EachProblemNamesItsRowAndColumnAndNothingIsTaken) {
    struct Case {
        const char* name;
        std::string text;
        int row;
        const char* column;
        const char* says;
    } const cases[] = {
        {"no header", "Warsaw,Door\n", 1, "", "header"},
        {"empty", "", 0, "", "header"},
        {"header only", "site,io_names.in1_open\n", 0, "", "no site"},
        {"unknown column", "site,io_names.in1_opened\nA,x\n", 1, "io_names.in1_opened",
         "unknown column"},
        {"not a record", "site,saved_at\nA,x\n", 1, "saved_at", "unknown column"},
        {"a whole record", "site,io_names\nA,x\n", 1, "io_names", "several values"},
        {"bad path", "site,io_names..in1_open\nA,x\n", 1, "io_names..in1_open", "unknown"},
        {"column twice", "site;auto_reset.period_days;auto_reset.period_days\nA;1;2\n", 1,
         "auto_reset.period_days", "named twice"},
        {"name too long", "site,io_names.out2_off\nA,x\nB," + std::string(41, 'y') + "\n", 3,
         "io_names.out2_off", "longer than 40"},
        {"name outside Latin-1", "site,io_names.in1_open\nA,Drzwi wej\xC5\x9B\x63ie\n", 2,
         "io_names.in1_open", "cannot keep"},
        {"number with letter", "site;accepted_numbers\nA;48600100200 4860010020x\n", 2,
         "accepted_numbers", "accepted_numbers[1]: must be 1 to 14 digits"},
        {"number twice", "site;emergency_numbers\nA;48600100200 48600100200\n", 2,
         "emergency_numbers", "duplicate"},
        {"too many numbers", "site\temergency_numbers\nA\t1 2 3 4 5 6 7\n", 2, "emergency_numbers",
         "more than 6"},
        {"days out of range", "site,auto_reset.period_days\nA,256\n", 2, "auto_reset.period_days",
         "0 to 255"},
        {"days not a number", "site,auto_status.period_days\nA,3.5\n", 2, "auto_status.period_days",
         "whole number"},
        {"boolean", "site,accept_all\nA,yes\n", 2, "accept_all", "true or false"},
        {"choice", "site,alarm_procedures[2].out1\nA,blink\n", 2, "alarm_procedures[2].out1",
         "one of"},
        {"rule across fields", "site,alarm_settings.thermometer1_low\nA,35\n", 2,
         "alarm_settings.thermometer1_low", "alarm_settings.thermometer1_high: must be above"},
        {"pin", "site,sim_codes.pin\nA,12345\n", 2, "sim_codes.pin", "4 digits"},
        {"duplicate site", "site,accept_all\nA,true\nB,false\nA,false\n", 4, "site",
         "also in row 2"},
        {"empty site", "site,accept_all\n,true\n", 2, "site", "empty"},
        {"cells missing", "site,accept_all,auto_reset.period_days\nA,true\n", 2, "",
         "2 cells, the header 3"},
        {"quote not closed", "site,io_names.in1_open\nA,\"Door\n", 2, "", "not closed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SitesTable table;
        table.columns = {"untouched"};
        std::vector<SiteError> errors;
        EXPECT_FALSE(read_sites_table(c.text, with_sim_codes(), &table, &errors));
        EXPECT_EQ(table.columns, std::vector<std::string>{"untouched"});
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].row, c.row);
        EXPECT_EQ(errors[0].column, c.column);
        EXPECT_NE(errors[0].message.find(c.says), std::string::npos) << errors[0].message;
    }

    // A column for a record the template leaves out cannot be set.
    Configuration t;
    std::string why;
    ASSERT_TRUE(make_template(test::sample_configuration(), {"accept_all"}, &t, &why));
    SitesTable table;
    std::vector<SiteError> errors;
    EXPECT_FALSE(read_sites_table("site,io_names.in1_open\nA,x\n", t, &table, &errors));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(describe(errors[0], "s.csv"),
              "s.csv: row 1, column io_names.in1_open: the template holds no io_names");
}

TEST(SitesTable, RowsGiveTheTemplateWithTheirValues) {
    // Semicolons, a quoted cell holding the separator and a quote, CRLF, a BOM, a blank line,
    // and an empty cell that keeps the template's value.
    const std::string text =
        "\xEF\xBB\xBFsite;io_names.in1_open;accepted_numbers;sim_codes.pin;auto_reset.period_days;"
        "accept_all;alarm_procedures[8].sms\r\n"
        "Warsaw;\"Drzwi; \"\"A\"\"\";48600100200  48600100201;4321;7;false;true\r\n"
        "\r\n"
        "Berlin;T\xC3\xBCr;;;0;true;false\r\n";
    const Configuration base = with_sim_codes();
    SitesTable table;
    std::vector<SiteError> errors;
    ASSERT_TRUE(read_sites_table(text, base, &table, &errors))
        << (errors.empty() ? "" : describe(errors[0], "t"));
    ASSERT_EQ(table.sites.size(), 2u);
    EXPECT_TRUE(table.sets("sim_codes"));
    EXPECT_FALSE(table.sets("io"));
    const Site* warsaw = table.find("Warsaw");
    ASSERT_NE(warsaw, nullptr);
    EXPECT_EQ(warsaw->row, 2);
    Configuration want = base;
    want.io_names[0] = "Drzwi; \"A\"";
    want.accepted_numbers = {"48600100200", "48600100201"};
    want.sim_codes->pin = "4321";
    want.auto_reset_days = 7;
    want.accept_all = false;
    want.procedures[8].sms = true;
    EXPECT_EQ(warsaw->configuration, want);

    const Site* berlin = table.find("Berlin");
    ASSERT_NE(berlin, nullptr);
    EXPECT_EQ(berlin->row, 4);
    EXPECT_EQ(berlin->configuration.io_names[0], "T\xC3\xBCr");
    EXPECT_EQ(berlin->configuration.accepted_numbers, base.accepted_numbers);
    EXPECT_EQ(berlin->configuration.sim_codes, base.sim_codes);
    EXPECT_EQ(berlin->configuration.auto_reset_days, 0);
    EXPECT_EQ(table.find("Paris"), nullptr);
}

}  // namespace
}  // namespace zavi::config
