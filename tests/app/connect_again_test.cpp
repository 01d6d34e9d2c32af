// Connect again over ports known by name that come and go between counts, and the window while
// no module is connected.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "link/connection.h"
#include "link/named_port_driver.h"
#include "resources/ids.h"
#include "tests/support/main_window_fixture.h"

namespace zavi::test {
namespace {

// COM ports in front of the simulated modules: each listed name leads to one module, and the
// list may change between counts as when an adapter is plugged in or a mapping is made.
class FakeComPorts : public NamedPortDriver {
  public:
    explicit FakeComPorts(sim::SimDriver& sim)
        : NamedPortDriver([this] {
              ++lists;
              std::vector<std::string> names;
              for (const auto& [name, module] : ports) names.push_back(name);
              return names;
          }),
          sim_(sim) {}

    std::vector<std::pair<std::string, int>> ports;  // name, index of the simulated module
    int lists = 0;

    DriverStatus set_timeouts(DriverHandle h, uint32_t read_ms, uint32_t write_ms) override {
        return sim_.set_timeouts(h, read_ms, write_ms);
    }
    DriverStatus purge(DriverHandle h, uint32_t mask) override { return sim_.purge(h, mask); }
    DriverStatus write(DriverHandle h, const void* b, uint32_t n, uint32_t* done) override {
        return sim_.write(h, b, n, done);
    }
    DriverStatus read(DriverHandle h, void* b, uint32_t n, uint32_t* got) override {
        return sim_.read(h, b, n, got);
    }

  protected:
    DriverStatus open_port(const std::string& name, DriverHandle* handle) override {
        for (const auto& [port, module] : ports)
            if (port == name) return sim_.open_by_index(module, handle);
        return kDriverNotFound;
    }
    DriverStatus close_port(DriverHandle handle) override { return sim_.close(handle); }

  private:
    sim::SimDriver& sim_;
};

FakeComPorts* com_ports = nullptr;

std::string port_in_use() {
    return com_ports ? com_ports->port_of(device_handle) : std::string();
}

constexpr int kPanelControls[] = {IDC_REFRESH,      IDC_READ,
                                  IDC_SAVE,         IDC_MODE_IN1,
                                  IDC_MODE_PIN2,    IDC_T1_HIGH_SPIN,
                                  IDC_T2_LOW_SPIN,  IDC_T1_LOW_EDIT,
                                  IDC_T2_HIGH_EDIT, IDC_BATTERY_THRESHOLD_SPIN};
constexpr int kModuleMenuItems[] = {IDM_BACKUP, IDM_RESTORE,   IDM_COMPARE, IDM_AUTO_RESET,
                                    IDM_RESET,  IDM_WALK_TEST, IDM_SURVEY,  IDM_REPORT};

class ConnectAgain : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        sim::Scenario s;
        s.modules.assign(2, sim::Module{});
        s.modules[0].state.operator_name = "Orange";
        s.modules[0].state.temp1_whole = 18;
        s.modules[1].state.operator_name = "Plus";
        s.modules[1].state.temp1_whole = 25;
        s.modules[1].state.alarm_settings = {0x02, 0, 30, 0, 1, 5, 0, 0, 40, 0, 0, 10, 0, 20};
        make_sim(std::move(s));
        ports = std::make_unique<FakeComPorts>(sim());
        ports->ports = {{"COM3", 0}};
        com_ports = ports.get();
        shell.connection = port_in_use;
        open_window(ports.get());
        ASSERT_FALSE(view().is_closed());
        ASSERT_TRUE(view().messages().empty());
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        com_ports = nullptr;
    }
    void pull_and_connect_again() {
        ports->ports.clear();
        view().clear_messages();
        view().click(IDM_CONNECT_AGAIN);
        expect_only_box("ZAVI-GSM is not connected", MessageIcon::information);
        view().clear_messages();
    }
    std::unique_ptr<FakeComPorts> ports;
};

TEST_F(ConnectAgain, FindsAPortThatAppearedAfterStartUpAndSaysWhichModule) {
    EXPECT_EQ(view().text(IDC_TEMP1), "18.5 °C");
    EXPECT_EQ(port_in_use(), "COM3");
    pull_and_connect_again();
    EXPECT_EQ(sim().open_handles(), 0);

    // Plugged in elsewhere: a port the program had never seen.
    ports->ports = {{"COM7", 1}};
    const int lists = ports->lists;
    view().click(IDM_CONNECT_AGAIN);
    EXPECT_TRUE(view().messages().empty());
    EXPECT_EQ(ports->lists, lists + 1);
    EXPECT_EQ(sim().open_handles(), 1);
    EXPECT_EQ(view().text(IDC_STATUS_LINE),
              "Connected: ZAVI-GSM v1.7 (COM7)      GSM: ready   ( Plus )      Battery: recharge");
    EXPECT_EQ(view().text(IDC_TEMP1), "25.5 °C");
    EXPECT_EQ(view().control(IDC_BATTERY_THRESHOLD_SPIN).updown_pos, 20);
    for (int id : kPanelControls) EXPECT_TRUE(view().enabled(id)) << id;
    for (int item : kModuleMenuItems) EXPECT_TRUE(view().menu(item).enabled) << item;

    // The next reading brings the usual status line back.
    view().click(IDC_REFRESH);
    EXPECT_EQ(view().text(IDC_STATUS_LINE), "GSM: ready   ( Plus )      Battery: recharge");

    // The Polish and German notice of the module found.
    view().click(IDM_POLISH);
    view().click(IDM_CONNECT_AGAIN);
    EXPECT_EQ(view().text(IDC_STATUS_LINE).rfind("Połączono: ZAVI-GSM v1.7 (COM7)      GSM: ", 0),
              0u)
        << view().text(IDC_STATUS_LINE);
    view().click(IDM_GERMAN);
    view().click(IDM_CONNECT_AGAIN);
    EXPECT_EQ(view().text(IDC_STATUS_LINE).rfind("Verbunden: ZAVI-GSM v1.7 (COM7)      GSM: ", 0),
              0u)
        << view().text(IDC_STATUS_LINE);
}

TEST_F(ConnectAgain, WithoutAModuleNothingPretendsAndNothingIsSent) {
    struct Row {
        int language_item;
        const char* status_line;
    } const rows[] = {
        {IDM_ENGLISH, "ZAVI-GSM is not connected"},
        {IDM_POLISH, "ZAVI-GSM - brak połączenia"},
        {IDM_GERMAN, "ZAVI-GSM - keine Verbindung"},
    };
    pull_and_connect_again();
    for (const Row& row : rows) {
        view().click(row.language_item);  // redraws the panels in that language
        EXPECT_EQ(view().text(IDC_STATUS_LINE), row.status_line);
        for (int id : {IDC_TEMP1, IDC_TEMP2, IDC_SIGNAL_TEXT, IDC_BATTERY_TEXT})
            EXPECT_EQ(view().text(id), "\u2014") << id;
        EXPECT_EQ(view().text(IDC_STATE_IN1), "");
        EXPECT_EQ(view().text(IDC_T1_HIGH_EDIT), "");
        EXPECT_EQ(view().text(IDC_BATTERY_THRESHOLD_EDIT), "");
        EXPECT_EQ(view().selected_item(IDC_MODE_IN1), -1);
        EXPECT_EQ(view().control(IDC_SIGNAL_BAR).progress_pos, 0);
        EXPECT_EQ(view().control(IDC_BATTERY_BAR).progress_pos, 0);
        for (int id : kPanelControls) EXPECT_FALSE(view().enabled(id)) << id;
        for (int item : kModuleMenuItems) EXPECT_FALSE(view().menu(item).enabled) << item;
    }

    // Clicks that reach the greyed controls anyway find no module to talk to.
    sim().clear_journal();
    const size_t jobs = shell.jobs.size();
    for (int id : {IDC_REFRESH, IDC_READ, IDC_SAVE}) view().command(id, 0);
    view().command(IDC_MODE_IN1, 1);
    EXPECT_EQ(shell.jobs.size(), jobs);
    EXPECT_TRUE(sim().journal().empty());
    EXPECT_TRUE(view().messages().empty());
    EXPECT_FALSE(view().is_closed());

    // The same port back: everything is enabled and read again.
    ports->ports = {{"COM3", 0}};
    view().click(IDM_CONNECT_AGAIN);
    EXPECT_EQ(view().text(IDC_TEMP1), "18.5 °C");
    EXPECT_NE(view().selected_item(IDC_MODE_IN1), -1);
    for (int id : kPanelControls) EXPECT_TRUE(view().enabled(id)) << id;
}

}  // namespace
}  // namespace zavi::test
