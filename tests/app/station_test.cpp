// The setup station on simulated modules plugged in and out between ticks: what each module
// got, what the results folder holds, and what it never does (write to a module that failed its
// firmware check, stop after a failure, look more than once a poll interval).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include "app/station.h"
#include "commission/sha256.h"
#include "config/config_file.h"
#include "config/operations.h"
#include "fleet/history.h"
#include "link/connection.h"
#include "sim/request_decoder.h"
#include "sim/simulator.h"
#include "tests/support/temp_dir.h"

namespace zavi::test {
namespace {

namespace fs = std::filesystem;
using config::Configuration;

// A sites table in memory: each site gets the first I/O name; "broken" cannot be made.
class SitesPlan : public StationPlan {
  public:
    SitesPlan(Configuration base, std::vector<std::string> sites)
        : base_(std::move(base)), sites_(std::move(sites)) {}
    std::vector<std::string> sites() const override { return sites_; }
    bool configuration_for(const std::string& site, Configuration* out,
                           std::string* error) const override {
        if (site == "broken") {
            *error = "row 3, column io_names.in1_open: too long";
            return false;
        }
        *out = base_;
        out->io_names[0] = "SITE " + site;
        return true;
    }

  private:
    Configuration base_;
    std::vector<std::string> sites_;
};

class CapturedFirmware : public FirmwareNotice {
  public:
    void firmware_mismatch(std::string_view) override {}
};

class StationTest : public ::testing::Test {
  protected:
    void SetUp() override { plug({}); }
    void TearDown() override {
        set_driver(nullptr);
        sim_.reset();
    }

    // A new module on the port (a fresh driver: an unplugged one stays gone).
    void plug(sim::Module module) {
        sim::Scenario scenario;
        scenario.modules = {std::move(module)};
        replace(std::move(scenario));
    }
    void unplug() {
        sim::Scenario none;
        none.modules.clear();
        replace(std::move(none));
    }
    void replace(sim::Scenario scenario) {
        auto next = std::make_unique<sim::SimDriver>(std::move(scenario));
        set_driver(next.get());
        sim_ = std::move(next);
    }

    // What the module plugged in now holds.
    Configuration module_configuration() {
        DriverHandle h = nullptr;
        EXPECT_EQ(driver()->open_by_index(0, &h), kDriverOk);
        set_link_timeouts(h, kReadTimeoutMs, kWriteTimeoutMs);
        Configuration cfg;
        config::Record failed{};
        EXPECT_EQ(config::read_configuration(h, false, nullptr, &cfg, &failed), LinkResult::ok);
        driver()->close(h);
        sim_->clear_journal();
        return cfg;
    }

    int writes_received() const {
        int n = 0;
        for (const auto& e : sim_->journal()) n += sim::is_write_command(e.command) ? 1 : 0;
        return n;
    }

    // Ticks once a second until the station leaves `state` (at most `ticks` times).
    void tick_while(Station& station, StationState state, int ticks = 5) {
        for (int i = 0; i < ticks && station.state() == state; ++i) {
            now_ += Station::kPollMs;
            station.tick(now_);
        }
    }

    // Runs the job of a module in ready, as the window's thread would.
    void run(Station& station) {
        StationJob job;
        ASSERT_TRUE(station.start(&job));
        ASSERT_EQ(station.state(), StationState::running);
        station.finish(run_station_job(job, 1));
    }

    std::unique_ptr<sim::SimDriver> sim_;
    TempDir dir_;
    int64_t now_ = 0;
};

std::map<std::string, bool> folder_files(const std::string& folder) {
    std::map<std::string, bool> out;
    for (const char* name : {"before.zavi.json", "after.zavi.json", "result.txt"})
        out[name] = fs::exists(fs::path(folder) / name);
    return out;
}

TEST_F(StationTest, ThreeModulesPassFailPassWithTheirFoldersAndNothingWrittenToTheWrongOne) {
    Configuration file = module_configuration();
    file.io_names[0] = "STATION";
    SingleFilePlan plan(file);
    DriverPorts ports(1);
    Station station(ports, plan, dir_.path().string(), 1);

    sim::Module wrong;
    wrong.state.firmware = "ZAVI-GSM v1.6";
    const struct {
        const char* what;
        bool wrong_firmware;
        bool pass;
        bool after_saved;
    } rows[] = {{"first", false, true, true},
                {"wrong firmware", true, false, false},
                {"third", false, true, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        unplug();
        tick_while(station, StationState::unplug);
        ASSERT_EQ(station.state(), StationState::waiting);
        plug(row.wrong_firmware ? wrong : sim::Module{});
        tick_while(station, StationState::waiting);
        // Without a sites table nothing waits for a click.
        EXPECT_FALSE(station.needs_start_click());
        if (station.state() == StationState::ready) run(station);
        EXPECT_EQ(station.state(), StationState::unplug);
        const StationEntry& entry = station.entries().back();
        EXPECT_EQ(entry.pass, row.pass) << entry.reason;
        const auto files = folder_files(entry.folder);
        EXPECT_EQ(files.at("before.zavi.json"), !row.wrong_firmware);
        EXPECT_EQ(files.at("after.zavi.json"), row.after_saved);
        EXPECT_TRUE(files.at("result.txt"));
        if (row.wrong_firmware) {
            EXPECT_EQ(writes_received(), 0);
            EXPECT_NE(entry.reason.find("1.6"), std::string::npos) << entry.reason;
        } else {
            EXPECT_EQ(sim_->state().io_names[0], "STATION");
            // The saved configuration after is what the module holds (time apart).
            const std::string saved = read_file(entry.folder + "/after.zavi.json");
            Configuration held = module_configuration();
            const auto at = saved.find("\"saved_at\": \"");
            ASSERT_NE(at, std::string::npos);
            held.saved_at = saved.substr(at + 13, 20);
            EXPECT_EQ(saved, config::configuration_to_json(held));
        }
        // The module stays where it is: it is not taken again.
        tick_while(station, StationState::unplug, 3);
        EXPECT_EQ(station.state(), StationState::unplug);
    }
    EXPECT_EQ(station.passed(), 2);
    EXPECT_EQ(station.failed(), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator{}), 3);
}

TEST_F(StationTest, UnpluggedDuringTheWritesFailsWithTheBackupAndWaitsForTheNext) {
    Configuration file = module_configuration();
    file.io_names[0] = "STATION";
    file.io_names[7] = "SECOND";
    SingleFilePlan plan(file);
    DriverPorts ports(1);
    Station station(ports, plan, dir_.path().string(), 1);

    sim::Module module;
    module.faults.push_back({sim::FaultKind::unplug, 25, -1, 0, -1, 0, {}});
    plug(module);
    tick_while(station, StationState::waiting);
    run(station);
    const StationEntry& entry = station.entries().back();
    EXPECT_FALSE(entry.pass);
    const std::string backup = entry.folder + "/before.zavi.json";
    EXPECT_TRUE(fs::exists(backup));
    EXPECT_NE(entry.reason.find(backup), std::string::npos) << entry.reason;
    EXPECT_FALSE(fs::exists(entry.folder + "/after.zavi.json"));

    // The unplugged module is seen gone, and the next one is taken.
    tick_while(station, StationState::unplug);
    EXPECT_EQ(station.state(), StationState::waiting);
    plug({});
    tick_while(station, StationState::waiting);
    EXPECT_EQ(station.state(), StationState::ready);
}

TEST_F(StationTest, SitesArePreselectedInTableOrderAndAFailedSiteIsNotDone) {
    SitesPlan plan(module_configuration(), {"A-1", "broken", "C/3"});
    DriverPorts ports(1);
    Station station(ports, plan, dir_.path().string(), 1);
    StationJob job;

    const struct {
        int choose;  // -1: keep the preselected site
        int preselected;
        bool pass;
        const char* io_name;  // what the module holds afterwards ("" when nothing is written)
        const char* folder_end;
    } rows[] = {{-1, 0, true, "SITE A-1", "-A-1"},
                {-1, 1, false, "", "-broken"},  // its configuration cannot be made
                {2, 1, true, "SITE C/3", "-C_3"},
                {-1, 1, false, "", "-broken"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.folder_end);
        unplug();
        tick_while(station, StationState::unplug);
        plug({});
        tick_while(station, StationState::waiting);
        ASSERT_EQ(station.state(), StationState::ready);
        EXPECT_TRUE(station.needs_start_click());
        EXPECT_EQ(station.site(), row.preselected);
        if (row.choose >= 0) {
            EXPECT_TRUE(station.choose_site(row.choose));
        }
        if (row.pass) {
            run(station);
        } else {
            EXPECT_FALSE(station.start(&job));
            EXPECT_EQ(writes_received(), 0);
        }
        EXPECT_EQ(station.state(), StationState::unplug);
        const StationEntry& entry = station.entries().back();
        EXPECT_EQ(entry.pass, row.pass) << entry.reason;
        EXPECT_EQ(entry.folder.substr(entry.folder.size() - std::string(row.folder_end).size()),
                  row.folder_end);
        if (*row.io_name) {
            EXPECT_EQ(sim_->state().io_names[0], row.io_name);
        }
        EXPECT_FALSE(station.choose_site(0));  // only while the module waits for Start
    }
    EXPECT_TRUE(station.site_passed(0));
    EXPECT_FALSE(station.site_passed(1));
    EXPECT_TRUE(station.site_passed(2));
}

TEST_F(StationTest, LooksOncePerIntervalAndStopWaitsForTheRunningModule) {
    SingleFilePlan plan(module_configuration());
    unplug();
    DriverPorts ports(1);
    Station station(ports, plan, dir_.path().string(), 1);
    // A module plugged in between two looks is found at the next one, not before.
    EXPECT_FALSE(station.tick(0));
    plug({});
    EXPECT_FALSE(station.tick(Station::kPollMs - 1));
    EXPECT_EQ(station.state(), StationState::waiting);
    EXPECT_TRUE(station.tick(Station::kPollMs));
    EXPECT_EQ(station.state(), StationState::ready);

    StationJob job;
    ASSERT_TRUE(station.start(&job));
    station.stop();
    EXPECT_EQ(station.state(), StationState::running);
    station.finish(run_station_job(job, 1));
    EXPECT_EQ(station.state(), StationState::stopped);
    EXPECT_EQ(sim_->open_handles(), 0);
    EXPECT_FALSE(station.tick(10 * Station::kPollMs));
}

// On the module's line timing, plug-in to result costs no more than opening it, one full read,
// the differing writes and their read-back (virtual time; the poll interval comes on top).
TEST_F(StationTest, PlugInToResultStaysWithinTheBoundOfItsExchanges) {
    Configuration file = module_configuration();
    file.io_names[0] = "STATION";
    file.emergency_numbers = {"48600100200"};
    sim::Scenario timed;
    timed.timing.realistic = true;

    // The bound, on a module alike: open with the firmware check, read all, write, read back.
    replace(timed);
    const uint64_t b0 = sim_->now_us();
    DriverHandle h = nullptr;
    CapturedFirmware notice;
    ASSERT_EQ(open_device(0, &h, 1, notice), kOpenOk);
    Configuration before;
    config::Record failed{};
    ASSERT_EQ(config::read_configuration(h, false, nullptr, &before, &failed), LinkResult::ok);
    config::RestoreOptions options;
    options.module_now = &before;
    ASSERT_EQ(config::restore_configuration(h, file, options, nullptr).outcome,
              config::RestoreOutcome::verified);
    const uint64_t bound = sim_->now_us() - b0;
    driver()->close(h);

    replace(timed);
    SingleFilePlan plan(file);
    DriverPorts ports(1);
    Station station(ports, plan, dir_.path().string(), 1);
    const uint64_t s0 = sim_->now_us();
    ASSERT_TRUE(station.tick(0));
    run(station);
    const uint64_t took = sim_->now_us() - s0;
    ASSERT_TRUE(station.entries().back().pass) << station.entries().back().reason;
    RecordProperty("bound_ms", static_cast<int>(bound / 1000));
    RecordProperty("station_ms", static_cast<int>(took / 1000));
    std::printf("plug-in to result %llu ms, bound %llu ms\n",
                static_cast<unsigned long long>(took / 1000),
                static_cast<unsigned long long>(bound / 1000));
    EXPECT_LE(took, bound * 110 / 100);
}

// Tells each module's serial number, as the platform layer does for the program (its Shell).
struct SerialIdentifier : ModuleIdentifier {
    ModuleIdentity module_identity(DriverHandle) const override { return {serial, "D2XX (USB)"}; }
    std::string serial;
};

// The process's driver, whose modules the identifier above names.
class SerialPorts : public DriverPorts {
  public:
    SerialPorts() : DriverPorts(1, &identifier) {}
    SerialIdentifier identifier;
};

// Every module the station read keeps its copy under its identity with its site: a pass as
// written and verified, a cut-off write as what was sent, never one whose firmware was refused.
// A pass also leaves the report that names the configuration saved beside it.
TEST_F(StationTest, EachModuleReadKeepsItsHistoryEntryAndAPassItsReport) {
    SitesPlan plan(module_configuration(), {"North-1", "North-2", "North-3"});
    SerialPorts ports;
    const std::string history = (dir_.path() / "data").string();
    Station station(ports, plan, (dir_.path() / "results").string(), 1, history);

    sim::Module wrong;
    wrong.state.firmware = "ZAVI-GSM v1.6";
    sim::Module pulled;
    pulled.faults.push_back({sim::FaultKind::unplug, 25, -1, 0, -1, 0, {}});
    const struct {
        const char* serial;
        const sim::Module* module;
        bool pass;
        const char* result;  // of its history entry; null: none
        const char* site;
    } rows[] = {{"SER-A", nullptr, true, "verified", "North-1"},
                {"SER-B", &wrong, false, nullptr, ""},
                {"SER-C", &pulled, false, "write-failed", "North-2"},
                {"SER-D", nullptr, true, "verified", "North-2"}};
    std::vector<fleet::HistoryEntry> expected;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.serial);
        unplug();
        tick_while(station, StationState::unplug);
        ports.identifier.serial = row.serial;
        plug(row.module ? *row.module : sim::Module{});
        tick_while(station, StationState::waiting);
        if (station.state() == StationState::ready) run(station);
        const StationEntry& entry = station.entries().back();
        ASSERT_EQ(entry.pass, row.pass) << entry.reason;
        EXPECT_EQ(entry.identity, row.module == &wrong ? "unknown" : row.serial);
        const std::string report = read_file(entry.folder + "/report.html");
        EXPECT_EQ(!report.empty(), row.pass);
        if (row.pass) {
            const std::string sha =
                commission::sha256_hex(read_file(entry.folder + "/after.zavi.json"));
            EXPECT_NE(report.find(sha), std::string::npos);
            EXPECT_NE(report.find(row.site), std::string::npos);
        }
        if (!row.result) continue;
        fleet::HistoryEntry e;
        e.identity = row.serial;
        e.site = row.site;
        e.operation = "station";
        e.result = row.result;
        expected.push_back(e);
    }
    std::vector<fleet::HistoryEntry> index;
    int skipped = 0;
    std::string why;
    ASSERT_TRUE(fleet::read_index(history, &index, &skipped, &why)) << why;
    ASSERT_EQ(index.size(), expected.size());
    for (std::size_t i = 0; i < index.size(); ++i) {
        SCOPED_TRACE(index[i].identity);
        EXPECT_EQ(index[i].file.rfind("modules/" + expected[i].identity + "/", 0), 0u);
        Configuration copy;
        config::FileError fault;
        ASSERT_TRUE(config::parse_configuration_as_read(read_file(history + "/" + index[i].file),
                                                        &copy, &fault));
        // Both the pass and the cut-off write keep what was sent to the module.
        EXPECT_EQ(copy.io_names[0], "SITE " + expected[i].site);
        expected[i].time = index[i].time;
        expected[i].file = index[i].file;
        EXPECT_EQ(index[i], expected[i]);
    }
}

TEST(StationFolder, SiteLabelsBecomeSafeFolderNames) {
    const struct {
        const char* label;
        const char* folder;
    } rows[] = {{"Kraków 7", "Krak__w_7"},
                {"../etc", ".._etc"},
                {"a\\b:c", "a_b_c"},
                {"..", "._"},
                {"", "_"},
                {"NORTH-2.b_x", "NORTH-2.b_x"}};
    for (const auto& row : rows) EXPECT_EQ(folder_safe(row.label), row.folder) << row.label;
}

}  // namespace
}  // namespace zavi::test
