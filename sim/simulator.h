// A simulated ZAVI-GSM module (or several) behind the driver interface. It keeps each module's
// state, decodes requests with its own checks, answers them as the module would, keeps what is
// written, records every frame it receives and can be told to misbehave. Used in-process by
// unit tests and benchmarks, and inside the drop-in FTD2XX.dll.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/driver.h"

namespace zavi::sim {

using Number = std::array<uint8_t, 7>;  // packed BCD as on the wire

// Everything one module keeps. Texts are raw bytes as they go on the wire and may be longer
// than the program's slots, so that tests can send what a real module must never send.
struct ModuleState {
    std::string firmware = "ZAVI-GSM v1.7";
    // Status part 0
    uint8_t temp1_negative = 0, temp1_whole = 21, temp1_tenths = 5;
    uint8_t temp2_negative = 0, temp2_whole = 19, temp2_tenths = 0;
    uint8_t battery_level = 80, battery_flags = 0x01, gsm_signal = 20, gsm_state = 0;
    std::array<std::string, 6>
        io_state_text{};  // IN-1, IN-2, P-IN-1, P-IN-2 (part 0), OUT-1, OUT-2 (part 1)
    std::string operator_name = "Plus";                      // part 2
    std::array<uint8_t, 14> alarm_settings{};                // the 14 bytes of commands 6/7
    std::array<uint8_t, 9> actions{};                        // commands 11/12
    uint8_t call_answer_sms = 0, call_answer_reactions = 0;  // commands 22/23
    uint8_t auto_status = 0;                                 // commands 26/27
    uint8_t auto_reset = 0;                                  // commands 20/21
    uint16_t pin = 0xFFFF;                                   // commands 9/10
    uint32_t puk = 0xFFFFFFFF;
    uint8_t accept_all = 0;                  // commands 18/19
    std::vector<Number> emergency_numbers;   // commands 13/14; may hold more than 6
    std::vector<Number> accepted_numbers;    // commands 16/17; may hold more than 260
    std::array<std::string, 12> io_names{};  // commands 24/25
    uint32_t resets = 0;                     // how many times command 15 was received

    bool operator==(const ModuleState&) const = default;
};

enum class FaultKind : uint8_t {
    no_answer,        // the request is taken but nothing comes back
    bad_header_crc,   // header CRC byte flipped
    bad_data_crc,     // data CRC byte flipped (answers carrying data)
    wrong_command,    // another command code echoed
    wrong_sub_index,  // another part/half number echoed (commands 8, 24)
    wrong_length,     // length byte one less, with both CRCs right
    short_ack,        // 4-byte acknowledgement
    long_ack,         // 6-byte acknowledgement (an extra byte after a good one)
    wrong_ack,        // acknowledgement echoing another command
    stale_first,      // the previous answer's bytes arrive again ahead of this answer
    previous_answer,  // the previous answer instead of this one
    garbage,          // `value` random bytes (no frame) instead of the answer
    truncated,        // only the first `value` bytes of the answer
    raw_answer,       // `bytes` sent as they are instead of the answer
    drip,             // every answer byte `value` microseconds after the one before
    delay,            // the answer starts `value` microseconds late
    count_override,   // command 13/16: count byte replaced by `value`, numbers as they are
    unplug,           // from this request on every driver call fails
};

// A fault applies to requests with `command` (-1: any) and `sub_index` (-1: any; part, half or
// block number), after `skip` matching requests have been answered normally, `times` times
// (-1: for ever). Only requests the module takes (valid journal entries) count. Several faults
// may hit one request: the frame is changed first, then replaced, cut or preceded, then
// delayed.
struct Fault {
    FaultKind kind = FaultKind::no_answer;
    int command = -1;
    int sub_index = -1;
    int skip = 0;
    int times = -1;
    uint32_t value = 0;
    std::vector<uint8_t> bytes{};

    bool operator==(const Fault&) const = default;
};

// Status fields one timeline event sets; fields left empty keep their value.
struct StatusChange {
    std::optional<uint8_t> temp1_negative, temp1_whole, temp1_tenths;
    std::optional<uint8_t> temp2_negative, temp2_whole, temp2_tenths;
    std::optional<uint8_t> battery_level, battery_flags, gsm_signal, gsm_state;
    std::array<std::optional<std::string>, 6> io_state_text{};
    std::optional<std::string> operator_name;

    bool operator==(const StatusChange&) const = default;
};

struct TimelineEvent {
    uint64_t at_us = 0;  // from the module's first open
    StatusChange set;

    bool operator==(const TimelineEvent&) const = default;
};

// How a module's status changes over time, so that a live view has something to show. The
// events (in time order) are applied as requests arrive; with `repeat_every_us` > 0 they play
// in a loop of that length. Scenario input only: scenario_to_json does not write it, so a saved
// state never carries it.
struct Timeline {
    uint64_t repeat_every_us = 0;
    std::vector<TimelineEvent> events;

    bool operator==(const Timeline&) const = default;
};

// Applies the events that fall in (from_us, to_us] of elapsed time; from_us < 0 means "nothing
// applied yet" (an event at 0 applies). With a loop, a gap longer than one loop applies the
// last loop's worth only, which leaves the same state.
void apply_timeline(const Timeline& timeline, int64_t from_us, int64_t to_us, ModuleState* state);

struct Module {
    std::string serial;  // the USB chip's serial number; "" gives SIM00001, SIM00002 ...
    ModuleState state;
    Timeline timeline;
    bool open_fails = false;
    bool timeouts_fail = false;  // set time-outs returns an error status
    std::vector<Fault> faults;

    bool operator==(const Module&) const = default;
};

// Serial timing. Off: answers are there at once. On: bytes travel at `baud` (10 bits a byte),
// the module answers `answer_us` after the request arrived, and the USB-serial chip hands bytes
// over when 62 have gathered or its latency timer ran out.
struct Timing {
    bool realistic = false;
    uint32_t baud = 9600;
    uint32_t latency_ms = 16;
    uint32_t answer_us = 5000;

    bool operator==(const Timing&) const = default;
};

struct Scenario {
    std::vector<Module> modules{Module{}};
    bool count_fails = false;
    Timing timing;
    // Virtual time: reads that would wait advance a virtual clock instead of sleeping, and the
    // link layer's clock is pointed at it. Real time for the drop-in DLL and benchmarks.
    bool virtual_time = true;

    bool operator==(const Scenario&) const = default;
};

// The serial number of the scenario's module `index`, as its USB chip would report it.
std::string module_serial(const Scenario& scenario, int index);

// One frame as the module received it. Bytes written ahead of a start byte "M" are journaled
// as an invalid frame of their own.
struct JournalEntry {
    int module = 0;
    uint8_t command = 0;
    std::vector<uint8_t> data;  // decoded data bytes (without CRC)
    std::vector<uint8_t> wire;  // the bytes as written
    bool valid = false;  // start, end, CRCs and length all right, and a known command with the
                         // data size it needs (exactly the requests the module acts on)
};

struct TimeoutCall {
    int module = 0;
    uint32_t read_ms = 0;
    uint32_t write_ms = 0;
};

class SimDriver : public Driver {
  public:
    explicit SimDriver(Scenario scenario = {});
    ~SimDriver() override;
    SimDriver(const SimDriver&) = delete;
    SimDriver& operator=(const SimDriver&) = delete;

    DriverStatus count_devices(uint32_t* count) override;
    DriverStatus open_by_index(int index, DriverHandle* handle) override;
    DriverStatus set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) override;
    DriverStatus purge(DriverHandle handle, uint32_t mask) override;
    DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                       uint32_t* written) override;
    DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) override;
    DriverStatus close(DriverHandle handle) override;
    // The USB-serial chip's latency timer, as the vendor library sets it: 1 to 255 ms (0 is
    // refused with kDriverInvalidParameter). It holds until the handle is closed; a module not
    // told otherwise uses the scenario's timing.latency_ms.
    DriverStatus set_latency_timer(DriverHandle handle, uint8_t ms);
    uint32_t latency_ms(int module = 0) const;

    Scenario& scenario();
    ModuleState& state(int module = 0);
    const std::vector<JournalEntry>& journal() const;
    void clear_journal();
    const std::vector<TimeoutCall>& timeout_calls() const;
    int open_handles() const;     // handles opened and not yet closed
    uint64_t now_us() const;      // the clock the driver runs on (virtual or steady)
    void pass_time(uint64_t us);  // moves a virtual clock on; sleeps on a real one
    bool unplugged() const;       // an unplug fault has struck

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Scenario and module state as JSON (the drop-in DLL's scenario file and its saved state).
// Field names are those of the structs above; every field may be left out and keeps its
// default. Module texts are strings (one byte per code point up to U+00FF), telephone numbers
// digit strings ("+" allowed), PIN/PUK 4/8-digit strings, numbers or "none", fault kinds by
// their names above; "hex:..." gives raw bytes wherever a text, number, code or byte list
// goes. For example:
//   {"modules": [{"state": {"firmware": "ZAVI-GSM v1.6", "pin": "1234",
//                           "emergency_numbers": ["491234446570"]},
//                 "faults": [{"kind": "no_answer", "command": 8, "sub_index": 1, "times": 1}]},
//                {"open_fails": true}],
//    "timing": {"realistic": true, "baud": 9600}}
// A module may carry a timeline (seconds from its first open; "0".."5" are IN-1, IN-2, P-IN-1,
// P-IN-2, OUT-1, OUT-2):
//   "timeline": {"repeat_every_s": 12.0,
//                "events": [{"at_s": 2.0, "set": {"io_state_text": {"0": "Door open"}}},
//                           {"at_s": 3.5, "set": {"gsm_signal": 12}}]}
// On a parse or shape error the result is false, *scenario is left alone and *error says
// where and what is wrong; unknown fields are errors too.
bool scenario_from_json(const std::string& text, Scenario* scenario, std::string* error);
std::string scenario_to_json(const Scenario& scenario);

}  // namespace zavi::sim
