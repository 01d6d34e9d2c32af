// Start-up of the main window: settings file, device discovery and the first read.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/connection.h"
#include "link/records.h"
#include "resources/ids.h"
#include "tests/support/main_window_fixture.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

using test::MainWindowTest;
using test::write_file;

sim::Scenario modules(int n) {
    sim::Scenario s;
    s.modules.assign(n, sim::Module{});
    return s;
}

sim::Fault fault(sim::FaultKind kind, int command, int sub_index = -1, int times = -1) {
    sim::Fault f;
    f.kind = kind;
    f.command = command;
    f.sub_index = sub_index;
    f.times = times;
    return f;
}

TEST_F(MainWindowTest, NoSettingsFileStartsInEnglishAndCreatesIt) {
    start_default();
    EXPECT_FALSE(view().is_closed());
    EXPECT_TRUE(view().messages().empty());
    EXPECT_EQ(ui_language, 1);
    EXPECT_EQ(settings_bytes(), std::string("\x01", 1));
    EXPECT_TRUE(view().menu(IDM_ENGLISH).checked);
    EXPECT_EQ(view().text(IDC_REFRESH), "Refresh");
    EXPECT_EQ(view().window_icon(), IDI_APP);
}

TEST_F(MainWindowTest, StoredLanguageIsUsed) {
    struct Case {
        std::string file;
        uint8_t language;
        int checked;
        const char* refresh;
        std::string file_after;
    };
    const Case cases[] = {
        {std::string("\x00", 1), 0, IDM_POLISH, "Aktualizuj", std::string("\x00", 1)},
        {"\x02", 2, IDM_GERMAN, "Aktualisieren", "\x02"},
        {"\x07", 7, IDM_GERMAN, "Aktualisieren", "\x07"},
        // Not one byte: English, and the file is written anew.
        {std::string("\x00\x02", 2), 1, IDM_ENGLISH, "Refresh", "\x01"},
        {"", 1, IDM_ENGLISH, "Refresh", "\x01"},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        write_file(settings_path, c.file);
        start_default();
        SCOPED_TRACE(int(c.language));
        EXPECT_EQ(ui_language, c.language);
        EXPECT_TRUE(view().menu(c.checked).checked);
        EXPECT_EQ(view().text(IDC_REFRESH), c.refresh);
        EXPECT_EQ(settings_bytes(), c.file_after);
        EXPECT_FALSE(view().is_closed());
    }
}

TEST_F(MainWindowTest, UnusableSettingsFileEndsTheProgram) {
    std::filesystem::create_directory(settings_path);  // neither readable nor creatable
    start_default();
    expect_only_box("Operation failed", MessageIcon::warning, "Error");
    EXPECT_TRUE(view().is_closed());
    EXPECT_TRUE(sim().journal().empty());  // no module was looked for
    EXPECT_EQ(sim().open_handles(), 0);
}

TEST_F(MainWindowTest, MissingDriverLibraryIsNamedAndEndsTheProgram) {
    struct Case {
        std::string file;
        const char* start;
    };
    const Case cases[] = {
        {std::string("\x00", 1), "Sterownik USB FTD2XX.dll"},
        {"\x01", "The USB driver FTD2XX.dll"},
        {"\x02", "Der USB-Treiber FTD2XX.dll"},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        write_file(settings_path, c.file);
        make_sim(sim::Scenario{});
        open_window(nullptr);
        ASSERT_EQ(view().messages().size(), 1u);
        EXPECT_EQ(view().messages()[0].text.rfind(c.start, 0), 0u) << view().messages()[0].text;
        EXPECT_EQ(view().messages()[0].title, "ZAVI ALARM-GSM");
        EXPECT_EQ(view().messages()[0].icon, MessageIcon::error);
        EXPECT_TRUE(view().is_closed());
        EXPECT_EQ(settings_bytes(), c.file);
    }
}

TEST_F(MainWindowTest, NoModuleShowsNotConnectedInTheStoredLanguage) {
    struct Case {
        std::string file;
        const char* text;
    };
    const Case cases[] = {
        {std::string("\x00", 1), "ZAVI-GSM - brak połączenia"},
        {"\x01", "ZAVI-GSM is not connected"},
        {"\x07", "ZAVI-GSM - keine Verbindung"},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        write_file(settings_path, c.file);
        start(modules(0));
        expect_only_box(c.text, MessageIcon::information);
        EXPECT_TRUE(view().is_closed());
        EXPECT_EQ(settings_bytes(), c.file);
    }
}

TEST_F(MainWindowTest, FailedCountStillTriesIndexZero) {
    sim::Scenario s = modules(1);
    s.count_fails = true;
    start(s);
    EXPECT_FALSE(view().is_closed());
    EXPECT_TRUE(view().messages().empty());
    ASSERT_FALSE(requests(1).empty());
    EXPECT_EQ(requests(1)[0].module, 0);
    EXPECT_NE(device_handle, nullptr);
}

// A driver whose count call fails and leaves a stray number behind.
class FailingCountDriver : public Driver {
  public:
    explicit FailingCountDriver(Driver& inner) : inner_(inner) {}
    DriverStatus count_devices(uint32_t* count) override {
        *count = 3;
        return 4;
    }
    DriverStatus open_by_index(int i, DriverHandle* h) override {
        return inner_.open_by_index(i, h);
    }
    DriverStatus set_timeouts(DriverHandle h, uint32_t r, uint32_t w) override {
        return inner_.set_timeouts(h, r, w);
    }
    DriverStatus purge(DriverHandle h, uint32_t m) override { return inner_.purge(h, m); }
    DriverStatus write(DriverHandle h, const void* b, uint32_t n, uint32_t* done) override {
        return inner_.write(h, b, n, done);
    }
    DriverStatus read(DriverHandle h, void* b, uint32_t n, uint32_t* got) override {
        return inner_.read(h, b, n, got);
    }
    DriverStatus close(DriverHandle h) override { return inner_.close(h); }

  private:
    Driver& inner_;
};

TEST_F(MainWindowTest, FailedCountIsTakenAsNoModuleWhateverItReported) {
    // Only index 0 is tried, as for a single module: its firmware message ends the program.
    sim::Scenario s = modules(1);
    s.modules[0].state.firmware = "ZAVI-GSM v1.5";
    make_sim(s);
    FailingCountDriver usb(sim());
    open_window(&usb);
    EXPECT_EQ(view().messages().size(), 1u);
    EXPECT_TRUE(view().is_closed());
}

TEST_F(MainWindowTest, OneModuleWithOtherFirmwareShowsOnlyTheFirmwareMessage) {
    sim::Scenario s = modules(1);
    s.modules[0].state.firmware = "ZAVI-GSM v1.6";
    start(s);
    expect_only_box("Required firmware:   ZAVI-GSM v1.7\nthe device is:   v1.6\n",
                    MessageIcon::information);
    EXPECT_TRUE(view().is_closed());
    EXPECT_EQ(sim().open_handles(), 0);
    EXPECT_EQ(device_handle, nullptr);
}

TEST_F(MainWindowTest, OneUnusableModuleShowsTheCommunicationError) {
    sim::Scenario silent = modules(1);
    silent.modules[0].faults.push_back(fault(sim::FaultKind::no_answer, 1));
    sim::Scenario closed = modules(1);
    closed.modules[0].open_fails = true;
    sim::Scenario none_counted = modules(0);
    none_counted.count_fails = true;
    for (const sim::Scenario& s : {silent, closed, none_counted}) {
        TearDown();
        SetUp();
        start(s);
        expect_only_box("Communication error - try again", MessageIcon::error);
        EXPECT_TRUE(view().is_closed());
        EXPECT_EQ(sim().open_handles(), 0);
    }
}

TEST_F(MainWindowTest, ScanUsesTheHighestGoodModuleAndClosesTheOthers) {
    struct Case {
        const char* what;
        std::vector<const char*> firmware;  // null: does not answer
        int used;                           // -1: none
        int firmware_messages;
    };
    const Case cases[] = {
        {"first wrong, second right", {"ZAVI-GSM v1.6", "ZAVI-GSM v1.7"}, 1, 1},
        {"both right", {"ZAVI-GSM v1.7", "ZAVI-GSM v1.7"}, 1, 0},
        {"first right, second wrong", {"ZAVI-GSM v1.7", "ZAVI-GSM v1.5"}, 0, 1},
        {"right, right, silent", {"ZAVI-GSM v1.7", "ZAVI-GSM v1.7", nullptr}, 1, 0},
        {"none usable", {"ZAVI-GSM v1.6", nullptr}, -1, 1},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        sim::Scenario s = modules(static_cast<int>(c.firmware.size()));
        for (std::size_t i = 0; i < c.firmware.size(); ++i) {
            if (c.firmware[i]) {
                s.modules[i].state.firmware = c.firmware[i];
            } else {
                s.modules[i].faults.push_back(fault(sim::FaultKind::no_answer, 1));
            }
        }
        start(s);
        SCOPED_TRACE(c.what);
        int firmware_messages = 0;
        for (const auto& m : view().messages()) {
            if (m.text.rfind("Required firmware:", 0) == 0) ++firmware_messages;
        }
        EXPECT_EQ(firmware_messages, c.firmware_messages);
        if (c.used < 0) {
            EXPECT_TRUE(view().is_closed());
            EXPECT_EQ(view().messages().back().text, "Communication error - try again");
            EXPECT_EQ(sim().open_handles(), 0);
            continue;
        }
        EXPECT_FALSE(view().is_closed());
        EXPECT_EQ(sim().open_handles(), 1);
        // The first read went to the module in use.
        const auto status = requests(8);
        ASSERT_FALSE(status.empty());
        for (const auto& r : status) EXPECT_EQ(r.module, c.used);
    }
}

TEST_F(MainWindowTest, FirstReadFillsThePanels) {
    sim::Scenario s = modules(1);
    sim::ModuleState& m = s.modules[0].state;
    m.temp1_negative = 1;
    m.temp1_whole = 3;
    m.temp1_tenths = 5;
    m.io_state_text = {"closed", "open", "on", "off", "out on", "out off"};
    m.operator_name = "Plus";
    m.alarm_settings = {0x02, 0, 30, 0, 1, 5, 0, 0, 40, 0, 0, 10, 0, 20};
    start(s);
    EXPECT_TRUE(view().messages().empty());
    EXPECT_EQ(commands(), (std::vector<int>{1, 8, 8, 8, 6}));
    EXPECT_EQ(view().text(IDC_TEMP1), "-3.5 °C");
    EXPECT_EQ(view().text(IDC_STATE_IN1), "closed");
    EXPECT_EQ(view().text(IDC_STATE_OUT2), "out off");
    EXPECT_EQ(view().text(IDC_STATUS_LINE), "GSM: ready   ( Plus )      Battery: recharge");
    EXPECT_EQ(view().selected_item(IDC_MODE_IN2), 1);
    EXPECT_EQ(view().control(IDC_T1_LOW_SPIN).updown_pos, -5);
    EXPECT_EQ(view().control(IDC_BATTERY_THRESHOLD_SPIN).updown_pos, 20);
}

TEST_F(MainWindowTest, FirstReadTriesThreeTimesAndFailsSilently) {
    sim::Scenario s = modules(1);
    // Status block 0 answers on the third try; block 2 and the alarm settings never.
    s.modules[0].faults.push_back(fault(sim::FaultKind::no_answer, 8, 0, 2));
    s.modules[0].faults.push_back(fault(sim::FaultKind::no_answer, 8, 2));
    s.modules[0].faults.push_back(fault(sim::FaultKind::bad_data_crc, 6));
    s.modules[0].state.temp2_whole = 19;
    s.modules[0].state.operator_name = "Plus";
    s.modules[0].state.alarm_settings[2] = 44;
    start(s);
    EXPECT_TRUE(view().messages().empty());
    EXPECT_FALSE(view().is_closed());
    EXPECT_EQ(commands(), (std::vector<int>{1, 8, 8, 8, 8, 8, 8, 8, 6, 6, 6}));
    EXPECT_EQ(view().text(IDC_TEMP2), "19.0 °C");
    // What was not read shows zeros and empty texts.
    EXPECT_EQ(view().text(IDC_STATUS_LINE), "GSM: ready   (  )      Battery: recharge");
    EXPECT_EQ(view().control(IDC_T1_HIGH_SPIN).updown_pos, 0);
    EXPECT_EQ(view().selected_item(IDC_MODE_IN1), 0);
}

}  // namespace
}  // namespace zavi
