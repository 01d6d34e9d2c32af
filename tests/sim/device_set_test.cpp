// The drop-in library's modules as separate devices: a silent or unplugged one fails alone,
// journal and state file still speak of every module by its scenario number.
#include "sim/device_set.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "tests/sim/wire_helpers.h"
#include "tests/support/temp_dir.h"

namespace zavi::sim {
namespace {

using Clock = std::chrono::steady_clock;

Scenario three_modules(std::vector<Fault> faults_of_second) {
    Scenario s;
    s.modules.resize(3);
    for (int i = 0; i < 3; ++i) s.modules[i].serial = "DEV0000" + std::to_string(i);
    s.modules[1].faults = std::move(faults_of_second);
    return s;
}

// A set on `scenario` written to a file in `dir`, with a journal and a state file there.
DeviceSet set_on(const test::TempDir& dir, const Scenario& scenario) {
    test::write_file(dir.file("scenario.json"), scenario_to_json(scenario));
    return DeviceSet(
        {dir.path() / "journal.jsonl", dir.path() / "state.json", dir.path() / "scenario.json"});
}

void* open_at(DeviceSet& set, int index, uint32_t read_ms) {
    void* handle = nullptr;
    EXPECT_EQ(set.open(index, &handle), kDriverOk) << "device " << index;
    EXPECT_EQ(set.set_timeouts(handle, read_ms, 0), kDriverOk);
    return handle;
}

// Sends a request and reads its answer up to the end byte; empty when none came in time.
Bytes exchange(DeviceSet& set, void* handle, const Bytes& request, DriverStatus* status) {
    uint32_t n = 0;
    *status = set.write(handle, request.data(), static_cast<uint32_t>(request.size()), &n);
    Bytes answer;
    uint8_t byte = 0;
    while (*status == kDriverOk && answer.size() < 64) {
        *status = set.read(handle, &byte, 1, &n);
        if (n == 0) break;
        answer.push_back(byte);
        if (byte == kFrameEnd) break;
    }
    return answer;
}

uint8_t auto_reset_of(DeviceSet& set, void* handle) {
    DriverStatus status = kDriverOk;
    const Bytes data = answer_data_of(exchange(set, handle, request_wire(20), &status), 20);
    return data.size() == 1 ? data[0] : 0xFF;
}

TEST(DeviceSet, ASilentDeviceHoldsUpOnlyItsOwnReads) {
    test::TempDir dir;
    DeviceSet set = set_on(dir, three_modules({{.kind = FaultKind::no_answer, .command = 20}}));
    uint32_t n = 0;
    ASSERT_EQ(set.count(&n), kDriverOk);
    ASSERT_EQ(n, 3u);
    void* silent = open_at(set, 1, 1500);
    void* others[] = {open_at(set, 0, 1500), open_at(set, 2, 1500)};

    std::atomic<bool> waiting{false};
    Bytes unanswered{1};
    std::thread reader([&] {
        waiting = true;
        DriverStatus status = kDriverOk;
        unanswered = exchange(set, silent, request_wire(20), &status);
    });
    while (!waiting) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto begin = Clock::now();
    for (void* h : others) EXPECT_EQ(auto_reset_of(set, h), ModuleState{}.auto_reset);
    // Behind one lock the two answers would wait for the silent device's time-out.
    EXPECT_LT(Clock::now() - begin, std::chrono::milliseconds(1000));
    reader.join();
    EXPECT_TRUE(unanswered.empty());
    for (void* h : {silent, others[0], others[1]}) EXPECT_EQ(set.close(h), kDriverOk);
}

TEST(DeviceSet, AnUnpluggedDeviceVanishesAlone) {
    test::TempDir dir;
    DeviceSet set = set_on(dir, three_modules({{.kind = FaultKind::unplug, .command = 20}}));
    void* handles[] = {open_at(set, 0, 200), open_at(set, 1, 200), open_at(set, 2, 200)};
    DriverStatus status = kDriverOk;
    EXPECT_TRUE(exchange(set, handles[1], request_wire(20), &status).empty());
    EXPECT_EQ(status, kDriverNotFound);
    EXPECT_EQ(set.purge(handles[1], 1), kDriverNotFound);
    EXPECT_EQ(auto_reset_of(set, handles[0]), ModuleState{}.auto_reset);
    EXPECT_EQ(auto_reset_of(set, handles[2]), ModuleState{}.auto_reset);
    // The list holds the two left, in their order.
    uint32_t n = 0;
    EXPECT_EQ(set.count(&n), kDriverOk);
    EXPECT_EQ(n, 2u);
    const struct {
        uint32_t index;
        DriverStatus status;
        std::string serial;
    } listed[] = {{0, kDriverOk, "DEV00000"}, {1, kDriverOk, "DEV00002"}, {2, kDriverNotFound, ""}};
    for (const auto& row : listed) {
        std::string serial;
        EXPECT_EQ(set.serial_of(row.index, &serial), row.status) << row.index;
        EXPECT_EQ(serial, row.serial) << row.index;
    }
    EXPECT_EQ(set.close(handles[1]), kDriverNotFound);
    for (void* h : {handles[0], handles[2]}) EXPECT_EQ(set.close(h), kDriverOk);
    // With every device gone the count fails, as with one module unplugged.
    test::write_file(dir.file("scenario.json"),
                     R"({"modules": [{"faults": [{"kind": "unplug"}]}]})");
    ASSERT_EQ(set.count(&n), kDriverOk);
    void* only = open_at(set, 0, 200);
    EXPECT_TRUE(exchange(set, only, request_wire(20), &status).empty());
    EXPECT_EQ(set.count(&n), kDriverNotFound);
}

TEST(DeviceSet, JournalAndStateFileNameModulesByTheirScenarioNumber) {
    test::TempDir dir;
    DeviceSet set = set_on(dir, three_modules({}));
    void* last = open_at(set, 2, 200);
    void* first = open_at(set, 0, 200);
    DriverStatus status = kDriverOk;
    EXPECT_FALSE(exchange(set, last, request_wire(21, {4}), &status).empty());
    const std::string journal = test::read_file(dir.file("journal.jsonl"));
    EXPECT_NE(journal.find(R"("command":21,"data":"04","event":"frame","module":2)"),
              std::string::npos)
        << journal;
    Scenario saved;
    std::string error;
    ASSERT_TRUE(scenario_from_json(test::read_file(dir.file("state.json")), &saved, &error))
        << error;
    ASSERT_EQ(saved.modules.size(), 3u);
    EXPECT_EQ(saved.modules[2].state.auto_reset, 4);
    EXPECT_EQ(saved.modules[0].state.auto_reset, ModuleState{}.auto_reset);

    // Someone else changes the file: every module takes its part before its next request.
    saved.modules[0].state.auto_reset = 1;
    saved.modules[2].state.auto_reset = 5;
    test::write_file(dir.file("state.json"), scenario_to_json(saved));
    const auto later = std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5);
    std::filesystem::last_write_time(dir.path() / "state.json", later);
    EXPECT_EQ(auto_reset_of(set, first), 1);
    EXPECT_EQ(auto_reset_of(set, last), 5);
}

// Three threads writing at once, another counting: every frame is journaled whole under its
// module, and the state file ends with each module's last write.
TEST(DeviceSet, WritesOnSeveralDevicesAtOnceLoseNothing) {
    test::TempDir dir;
    DeviceSet set = set_on(dir, three_modules({}));
    constexpr int kWrites = 40;
    void* handles[] = {open_at(set, 0, 200), open_at(set, 1, 200), open_at(set, 2, 200)};
    std::vector<std::thread> threads;
    for (int m = 0; m < 3; ++m)
        threads.emplace_back([&, m] {
            for (int i = 1; i <= kWrites; ++i) {
                const Bytes request = request_wire(21, {static_cast<uint8_t>(m * 50 + i)});
                uint32_t n = 0;
                EXPECT_EQ(set.write(handles[m], request.data(), uint32_t(request.size()), &n),
                          kDriverOk);
            }
        });
    threads.emplace_back([&] {
        uint32_t n = 0;
        for (int i = 0; i < 50; ++i) EXPECT_EQ(set.count(&n), kDriverOk);
    });
    for (auto& t : threads) t.join();

    std::istringstream journal(test::read_file(dir.file("journal.jsonl")));
    int frames[3] = {};
    for (std::string line; std::getline(journal, line);) {
        ASSERT_TRUE(nlohmann::json::accept(line)) << line;
        const auto j = nlohmann::json::parse(line);
        if (j["event"] == "frame") ++frames[j["module"].get<int>()];
    }
    Scenario saved;
    std::string error;
    ASSERT_TRUE(scenario_from_json(test::read_file(dir.file("state.json")), &saved, &error));
    for (int m = 0; m < 3; ++m) {
        EXPECT_EQ(frames[m], kWrites) << m;
        EXPECT_EQ(saved.modules[m].state.auto_reset, m * 50 + kWrites) << m;
    }
}

}  // namespace
}  // namespace zavi::sim
