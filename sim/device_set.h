// The simulated modules of the drop-in FTD2XX.dll as separate USB devices: each module runs on
// its own SimDriver behind its own lock, with its own faults and timeline, so a module that
// stops answering holds up only its own reads and an unplugged one vanishes alone, as real
// devices do. The set keeps the journal and the state file for all of them.
//
// Files (any may be empty):
//   journal   every call and every received frame is appended at once, one JSON object per
//             line ({"event":"frame","module":0,...}, "count", "open", "set_timeouts",
//             "latency", "close" and "device_info" events)
//   state     module states: loaded at start when the file exists, saved after every write
//             command; a change made by someone else is taken before the next request
//   scenario  the modules; without it one demo module. It is read again at each count with no
//             module open, and a changed text replaces the modules.
// Module numbers in the journal and the state file are the scenario's; device indices are
// those of the devices still plugged in, as a driver lists them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/driver.h"
#include "sim/simulator.h"

namespace zavi::sim {

struct DeviceFiles {
    std::filesystem::path journal;
    std::filesystem::path state;
    std::filesystem::path scenario;
};

class DeviceSet {
  public:
    explicit DeviceSet(DeviceFiles files);
    ~DeviceSet();
    DeviceSet(const DeviceSet&) = delete;
    DeviceSet& operator=(const DeviceSet&) = delete;

    // The driver calls, safe from any thread. Handles are this set's own values.
    DriverStatus count(uint32_t* count);  // reads a changed scenario first
    DriverStatus open(int index, void** handle);
    DriverStatus set_timeouts(void* handle, uint32_t read_ms, uint32_t write_ms);
    DriverStatus purge(void* handle, uint32_t mask);
    DriverStatus write(void* handle, const void* buffer, uint32_t count, uint32_t* written);
    DriverStatus read(void* handle, void* buffer, uint32_t count, uint32_t* got);
    DriverStatus close(void* handle);
    DriverStatus set_latency_timer(void* handle, uint8_t ms);
    // The device information list: the count without reading the scenario again, and the
    // serial number of a listed device.
    DriverStatus count_listed(uint32_t* count);
    DriverStatus serial_of(uint32_t index, std::string* serial);

  private:
    struct Device;
    struct Opened {
        std::shared_ptr<Device> device;
        DriverHandle inner = nullptr;
    };

    bool ready();  // list lock held
    void start();
    void take(Scenario scenario);
    DriverStatus count_locked(uint32_t* count) const;
    std::shared_ptr<Device> listed(int index) const;
    bool find(void* handle, Opened* opened);
    template <class Call>
    DriverStatus on_device(void* handle, Call call);

    void load_state(Scenario* scenario);  // state lock held
    void save_state();                    // state lock held
    void before_write(Device& device);
    void after_write(Device& device);
    void log(const std::string& line);
    void log_lines(const std::vector<std::string>& lines);

    const DeviceFiles files_;

    std::mutex list_lock_;  // the devices, the handles, the scenario text
    bool tried_ = false;
    std::string failure_;
    std::string scenario_text_;
    bool count_fails_ = false;
    std::vector<std::shared_ptr<Device>> devices_;
    std::map<uintptr_t, Opened> handles_;
    uintptr_t next_handle_ = 0x1000;

    std::mutex state_lock_;  // what the state file holds and when it was last read or written
    Scenario saved_;
    std::filesystem::file_time_type state_stamp_{};
    uint64_t state_generation_ = 0;  // counts the times the file changed under us

    std::mutex journal_lock_;
};

}  // namespace zavi::sim
