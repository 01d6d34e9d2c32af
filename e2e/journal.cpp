#include "e2e/journal.h"

#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "sim/hex_text.h"
#include "sim/request_decoder.h"

namespace e2e {

namespace {

std::vector<uint8_t> from_hex(const std::string& text) {
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

}  // namespace

std::vector<JournalEvent> read_journal(const std::wstring& path) {
    std::vector<JournalEvent> events;
    std::ifstream in{std::filesystem::path(path)};
    std::string line;
    while (std::getline(in, line)) {
        const auto j = nlohmann::json::parse(line, nullptr, false);
        if (!j.is_object()) {
            JournalEvent unreadable;
            unreadable.event = "unreadable line: " + line;
            events.push_back(std::move(unreadable));
            continue;
        }
        JournalEvent e;
        e.event = j.value("event", "");
        e.module = j.value("module", -1);
        e.index = j.value("index", -1);
        e.status = j.value("status", 0LL);
        e.command = j.value("command", -1);
        e.data = from_hex(j.value("data", ""));
        e.valid = j.value("valid", false);
        e.read_ms = j.value("read_ms", -1LL);
        e.latency_ms = j.value("ms", -1LL);
        e.count = j.value("count", -1LL);
        events.push_back(std::move(e));
    }
    return events;
}

std::vector<JournalEvent> writes(const std::vector<JournalEvent>& journal) {
    std::vector<JournalEvent> found;
    for (const JournalEvent& e : journal)
        if (e.event == "frame" && e.valid && zavi::sim::is_write_command(uint8_t(e.command)))
            found.push_back(e);
    return found;
}

std::vector<std::string> requests(const std::vector<JournalEvent>& journal) {
    std::vector<std::string> found;
    for (const JournalEvent& e : journal) {
        if (e.event != "frame" || !e.valid) continue;
        found.push_back(e.data.empty() ? std::to_string(e.command)
                                       : std::to_string(e.command) + "/" + hex(e.data));
    }
    return found;
}

std::vector<long long> read_timeouts(const std::vector<JournalEvent>& journal) {
    std::vector<long long> found;
    for (const JournalEvent& e : journal)
        if (e.event == "set_timeouts") found.push_back(e.read_ms);
    return found;
}

std::string hex(const std::vector<uint8_t>& bytes) {
    return zavi::sim::hex_digits(bytes.data(), bytes.size());
}

std::string joined(const std::vector<std::string>& items) {
    std::string s;
    for (const std::string& item : items) s += (s.empty() ? "" : " ") + item;
    return s;
}

}  // namespace e2e
