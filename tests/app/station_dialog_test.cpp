// The station's window on a simulated module: what it refuses before it begins, the large
// result and its colour, the counter, and a close that waits for the module being set up.
#include <gtest/gtest.h>

#include <memory>

#include "app/station_dialog.h"
#include "app/station_sites.h"
#include "config/config_file.h"
#include "config/operations.h"
#include "resources/ids.h"
#include "sim/request_decoder.h"
#include "sim/simulator.h"
#include "tests/support/fake_shell.h"
#include "tests/support/temp_dir.h"
#include "ui/fake_dialog_view.h"

namespace zavi::test {
namespace {

class StationDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::Scenario none;
        none.modules.clear();
        sim_ = std::make_unique<sim::SimDriver>(none);
        set_driver(sim_.get());
        dialog_.set_clock([this] { return now_; });
    }
    void TearDown() override {
        dialog_.wait_for_module();
        set_driver(nullptr);
    }
    void tick() {
        now_ += 1000;
        dialog_.on_timer(view_);
    }
    // A file of what a module holds, one name changed.
    std::string file_text() {
        plug_module();
        DriverHandle h = nullptr;
        EXPECT_EQ(sim_->open_by_index(0, &h), kDriverOk);
        config::Configuration cfg;
        config::Record failed{};
        EXPECT_EQ(config::read_configuration(h, false, nullptr, &cfg, &failed), LinkResult::ok);
        sim_->close(h);
        sim_->scenario().modules.clear();
        cfg.io_names[0] = "STATION";
        cfg.saved_at = config::utc_timestamp();
        cfg.alarm_settings.t1_high = cfg.alarm_settings.t2_high = 50;
        cfg.alarm_settings.t1_low = cfg.alarm_settings.t2_low = 10;
        return config::configuration_to_json(cfg);
    }
    void plug_module() { sim_->scenario().modules = {sim::Module{}}; }

    std::unique_ptr<sim::SimDriver> sim_;
    TempDir dir_;
    FakeShell shell_;
    StationDialog dialog_{shell_, 1, make_station_sites_plan};
    FakeDialogView view_{IDD_STATION, &dialog_};
    int64_t now_ = 0;
};

TEST_F(StationDialogTest, RefusesToBeginWithoutAUsableFileFolderOrSitesSupport) {
    write_file(dir_.file("bad.zavi.json"), "{ not json");
    write_file(dir_.file("good.zavi.json"), file_text());
    write_file(dir_.file("bad.csv"),
               "site,io_names.in1_open\nA,door\nB," + std::string(41, 'x') + "\n");
    const struct {
        const char* file;
        const char* sites;
        const char* box_part;
    } rows[] = {{"", "", "Pick the configuration file"},
                {"bad.zavi.json", "", "bad.zavi.json:1:"},
                {"missing.zavi.json", "", "missing.zavi.json"},
                {"good.zavi.json", "bad.csv", "bad.csv: row 3, column io_names.in1_open"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.box_part);
        view_.clear_messages();
        view_.set_text(IDC_ST_FILE, *row.file ? dir_.file(row.file) : "");
        view_.set_text(IDC_ST_SITES, *row.sites ? dir_.file(row.sites) : "");
        view_.set_text(IDC_ST_FOLDER, dir_.file("results"));
        view_.click(IDC_ST_BEGIN);
        ASSERT_EQ(view_.messages().size(), 1u);
        EXPECT_NE(view_.messages()[0].text.find(row.box_part), std::string::npos)
            << view_.messages()[0].text;
        EXPECT_EQ(dialog_.station(), nullptr);
        EXPECT_TRUE(view_.enabled(IDC_ST_BEGIN));
    }
}

TEST_F(StationDialogTest, WaitsPassesInGreenAndCloseWaitsForTheRunningModule) {
    write_file(dir_.file("all.zavi.json"), file_text());

    view_.set_text(IDC_ST_FILE, dir_.file("all.zavi.json"));
    view_.set_text(IDC_ST_FOLDER, dir_.file("results"));
    view_.click(IDC_ST_BEGIN);
    ASSERT_TRUE(view_.messages().empty()) << view_.messages()[0].text;
    EXPECT_EQ(view_.text(IDC_ST_RESULT), "Waiting for a module...");
    EXPECT_FALSE(view_.enabled(IDC_ST_BEGIN));
    tick();
    EXPECT_EQ(view_.text(IDC_ST_RESULT), "Waiting for a module...");

    plug_module();
    tick();  // found, and started without a click (no sites table)
    EXPECT_EQ(view_.text(IDC_ST_RESULT), "Setting up the module...");
    view_.click(IDC_ST_CLOSE);
    EXPECT_FALSE(view_.is_closed());  // the module's job goes on
    dialog_.wait_for_module();
    tick();
    EXPECT_EQ(view_.text(IDC_ST_RESULT), "PASS");
    const TextColour green = dialog_.large_text_colour();
    EXPECT_GT(green.green, 100);
    EXPECT_EQ(green.red, 0);
    EXPECT_EQ(view_.text(IDC_ST_COUNTER), "Done: 1      Failed: 0");
    EXPECT_NE(view_.text(IDC_ST_LIST).find("001   PASS"), std::string::npos);
    EXPECT_EQ(sim_->state().io_names[0], "STATION");
    EXPECT_TRUE(view_.is_closed());
}

TEST_F(StationDialogTest, WithASitesTableTheUserPicksTheSiteBeforeAnythingIsWritten) {
    write_file(dir_.file("t.zavi.json"), file_text());
    write_file(dir_.file("sites.csv"),
               "site;io_names.in1_open\nNorth;NORTH DOOR\nSouth;SOUTH DOOR\n");
    view_.set_text(IDC_ST_FILE, dir_.file("t.zavi.json"));
    view_.set_text(IDC_ST_SITES, dir_.file("sites.csv"));
    view_.set_text(IDC_ST_FOLDER, dir_.file("results"));
    view_.click(IDC_ST_BEGIN);
    ASSERT_TRUE(view_.messages().empty()) << view_.messages()[0].text;
    plug_module();
    for (int i = 0; i < 3; ++i) tick();  // found, and it waits for Start
    EXPECT_EQ(view_.text(IDC_ST_RESULT), "Module found");
    EXPECT_EQ(view_.selected_item(IDC_ST_SITE), 0);
    EXPECT_TRUE(view_.enabled(IDC_ST_START));
    for (const auto& e : sim_->journal()) EXPECT_FALSE(sim::is_write_command(e.command));
    view_.choose(IDC_ST_SITE, 1);
    view_.click(IDC_ST_START);
    dialog_.wait_for_module();
    tick();
    EXPECT_EQ(view_.text(IDC_ST_RESULT), "PASS   South");
    EXPECT_EQ(sim_->state().io_names[0], "SOUTH DOOR");
    EXPECT_EQ(view_.item_text(IDC_ST_SITE, 1), "South  \xE2\x9C\x93");
}

}  // namespace
}  // namespace zavi::test
