// Fuzzes the simulated module's scenario and saved-state files (the drop-in driver reads both
// with this parser). A file that parses must survive a round trip through the writer unchanged,
// and the module it describes must answer a first exchange without crashing or hanging.
#include <string>

#include "fuzz/fuzz_check.h"
#include "sim/simulator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zavi;
    const std::string text(reinterpret_cast<const char*>(data), size);
    sim::Scenario scenario;
    std::string error;
    if (!sim::scenario_from_json(text, &scenario, &error)) {
        FUZZ_CHECK(!error.empty(), "a refused file says why");
        FUZZ_CHECK(scenario == sim::Scenario{}, "a refused file leaves the scenario alone");
        return 0;
    }
    const std::string written = sim::scenario_to_json(scenario);
    sim::Scenario again;
    FUZZ_CHECK(sim::scenario_from_json(written, &again, &error), "what is written reads back");
    FUZZ_CHECK(again == scenario, "the round trip keeps every field");

    // A first exchange with the module, on virtual time whatever the file asked for.
    scenario.virtual_time = true;
    sim::SimDriver usb(scenario);
    uint32_t count = 0;
    usb.count_devices(&count);
    DriverHandle handle = nullptr;
    if (usb.open_by_index(0, &handle) != kDriverOk) return 0;
    usb.set_timeouts(handle, 1000, 0);
    const uint8_t status_part0[] = {0x4D, 0x08, 0x02, 0xCA, 0x00, 0x00, 0x16};
    uint32_t written_count = 0;
    usb.write(handle, status_part0, sizeof status_part0, &written_count);
    uint8_t answer[600];
    uint32_t got = 0;
    usb.read(handle, answer, sizeof answer, &got);
    FUZZ_CHECK(got <= sizeof answer, "a read stays within its buffer");
    usb.close(handle);
    return 0;
}
