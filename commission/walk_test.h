// The walk test's bookkeeping: which of the inputs' states have been seen (and when), the
// outputs the installer confirms, thermometers and battery against their thresholds, GSM, the
// manual confirmations, and what is still missing. The 12 configured names tell which state a
// state text means.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "commission/snapshot.h"
#include "config/configuration.h"

namespace zavi::commission {

enum class RowNote {
    none,
    equal_names,   // both states carry the same name: a text cannot tell them apart
    unknown_text,  // the module showed a text matching neither name (see `unknown`)
};

struct StateCheck {
    std::string name;  // the configured name of this state
    bool seen = false;
    std::string first_seen;   // clock time, ISO-8601 with offset
    double first_seen_s = 0;  // seconds from the start of the test
};

struct InputRow {
    std::array<StateCheck, 2> states;  // open / closed; no voltage / voltage
    std::string present;               // the state text now
    RowNote note = RowNote::none;
    std::string unknown;  // the last text matching neither name
};

struct OutputRow {
    std::array<std::string, 2> names;  // on / off
    std::string present;
    int present_state = -1;  // 0 on, 1 off, -1 neither name
    bool confirmed = false;  // the installer saw it switch
};

struct ThermometerRow {
    int reading_tenths = 0;
    int low = 0, high = 0;  // whole degrees
    bool within() const { return reading_tenths >= low * 10 && reading_tenths <= high * 10; }
};

struct WalkTestResult {
    std::string started;  // clock time
    double duration_s = 0;
    bool interrupted = false;  // the reads stopped on a failure
    bool has_reading = false;  // at least one status was read
    std::array<InputRow, 4> inputs{};
    std::array<OutputRow, 2> outputs{};
    std::array<ThermometerRow, 2> thermometers{};
    std::optional<int> battery_percent;
    int battery_state = 0;
    int battery_threshold = 0;
    int gsm_state = 0;
    std::string operator_name;
    std::optional<int> signal_dbm;
    bool sms_received = false;
    bool call_received = false;

    bool inputs_done() const;
    // Everything still to do, as keys: "in1_open", "out1", "test_sms", ...
    std::vector<std::string> missing() const;
};

// One newly seen state, for a caller that prints ticks as they happen.
struct Tick {
    int input = 0;  // 0..3
    int state = 0;  // 0 or 1
};

class WalkTest {
  public:
    WalkTest(const config::Configuration& cfg, std::string started);

    // Takes one live status seen at `clock` (`elapsed_s` into the test); returns the states
    // seen for the first time.
    std::vector<Tick> observe(const Snapshot& s, const std::string& clock, double elapsed_s);
    void confirm_output(int output, bool seen) { result_.outputs.at(output).confirmed = seen; }
    void confirm_sms(bool received) { result_.sms_received = received; }
    void confirm_call(bool received) { result_.call_received = received; }
    void interrupt() { result_.interrupted = true; }

    const WalkTestResult& result() const { return result_; }

  private:
    WalkTestResult result_;
};

// The summary line in the language (0 Polish, 1 English, else German).
std::string summary_line(const WalkTestResult& r, uint8_t language);
// "in1_open", "pin2_voltage", ...: the key of an input state.
std::string state_key(int input, int state);
// The text of a missing key ("IN-1 open", "test SMS", ...).
std::string missing_text(const std::string& key, uint8_t language);

// The result as JSON (test --json) and back; false with a reason on a bad file.
std::string walk_test_to_json(const WalkTestResult& r);
bool walk_test_from_json(const std::string& text, WalkTestResult* r, std::string* error);

}  // namespace zavi::commission
