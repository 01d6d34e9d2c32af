// Test fixture with one simulated module on virtual time, opened through the process's driver
// the way the program opens it (read time-out 1000 ms, write time-out 0), its handle also in
// `device_handle`. Tests change the module with state() and sim().scenario() (faults, more
// modules, timing) and look at what it received with the journal helpers. The link layer also
// remembers the 1000 ms read time-out, whatever an earlier test left there.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "link/connection.h"
#include "link/driver.h"
#include "link/records.h"
#include "sim/simulator.h"

namespace zavi {

class SimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_all_records();
        sim_ = std::make_unique<sim::SimDriver>();
        set_driver(sim_.get());
        ASSERT_EQ(driver()->open_by_index(0, &handle_), kDriverOk);
        ASSERT_EQ(set_link_timeouts(handle_, kReadTimeoutMs, kWriteTimeoutMs), kDriverOk);
        device_handle = handle_;
    }

    void TearDown() override {
        if (handle_) sim_->close(handle_);
        handle_ = nullptr;
        device_handle = nullptr;
        set_driver(nullptr);
        sim_.reset();
    }

    sim::SimDriver& sim() { return *sim_; }
    sim::ModuleState& state(int module = 0) { return sim_->state(module); }
    DriverHandle handle() const { return handle_; }

    // The command code of every frame the module received, in order (invalid ones included).
    std::vector<uint8_t> commands_received() const {
        std::vector<uint8_t> out;
        for (const auto& e : sim_->journal()) out.push_back(e.command);
        return out;
    }

    // Every frame received with `command`, in order.
    std::vector<sim::JournalEntry> frames(uint8_t command) const {
        std::vector<sim::JournalEntry> out;
        for (const auto& e : sim_->journal())
            if (e.command == command) out.push_back(e);
        return out;
    }

    // The last frame received with `command`, or null.
    const sim::JournalEntry* last_frame(uint8_t command) const {
        const auto& j = sim_->journal();
        for (auto it = j.rbegin(); it != j.rend(); ++it)
            if (it->command == command) return &*it;
        return nullptr;
    }

    // Adds a fault to module 0.
    void add_fault(sim::FaultKind kind, int command = -1, int sub_index = -1, int skip = 0,
                   int times = -1, uint32_t value = 0) {
        sim_->scenario().modules[0].faults.push_back(
            {kind, command, sub_index, skip, times, value, {}});
    }

  private:
    std::unique_ptr<sim::SimDriver> sim_;
    DriverHandle handle_ = nullptr;
};

}  // namespace zavi
