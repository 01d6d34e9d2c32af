// The simulated module's journal: every driver call it saw and every frame it received.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct JournalEvent {
    std::string event;  // "count", "open", "latency", "set_timeouts", "close", "frame"
    int module = -1;
    int index = -1;
    long long status = 0;
    int command = -1;
    std::vector<uint8_t> data;
    bool valid = false;
    long long read_ms = -1;
    long long latency_ms = -1;  // "latency": the timer the program asked for
    long long count = -1;       // "count": the modules reported
};

std::vector<JournalEvent> read_journal(const std::wstring& path);

// Frames the module took (valid) with commands that change its state or reset it.
std::vector<JournalEvent> writes(const std::vector<JournalEvent>& journal);
// Frames the module took, as "command" or "command/data-hex" for commands with data, in order.
std::vector<std::string> requests(const std::vector<JournalEvent>& journal);
// The read time-outs set, in order.
std::vector<long long> read_timeouts(const std::vector<JournalEvent>& journal);

std::string hex(const std::vector<uint8_t>& bytes);
std::string joined(const std::vector<std::string>& items);

}  // namespace e2e
