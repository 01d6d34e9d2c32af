#include "sim/journal_lines.h"

#include <nlohmann/json.hpp>

#include "sim/hex_text.h"
#include "sim/request_decoder.h"

namespace zavi::sim {

bool drain_journal(SimDriver& driver, const std::function<void(const std::string&)>& line,
                   int first_module) {
    bool stored = false;
    for (const JournalEntry& e : driver.journal()) {
        line(nlohmann::json{{"event", "frame"},
                            {"module", e.module + first_module},
                            {"command", e.command},
                            {"data", hex_digits(e.data.data(), e.data.size())},
                            {"wire", hex_digits(e.wire.data(), e.wire.size())},
                            {"valid", e.valid}}
                 .dump());
        stored = stored || (e.valid && is_write_command(e.command));
    }
    driver.clear_journal();
    return stored;
}

void take_states(const Scenario& saved, Scenario* scenario) {
    for (std::size_t i = 0; i < scenario->modules.size() && i < saved.modules.size(); ++i)
        scenario->modules[i].state = saved.modules[i].state;
}

}  // namespace zavi::sim
