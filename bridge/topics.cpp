#include "bridge/topics.h"

#include <nlohmann/json.hpp>

#include "link/status_values.h"

namespace zavi::bridge {

namespace {

using nlohmann::ordered_json;

constexpr std::size_t kMaxPrefix = 200;

struct Entity {
    const char* key;   // object id and JSON key of the state message
    const char* name;  // shown in Home Assistant under the device's name
    const char* device_class;
    const char* unit;
    const char* icon;
};

constexpr Entity kEntities[] = {
    {"temperature1", "Temperature 1", "temperature", "°C", nullptr},
    {"temperature2", "Temperature 2", "temperature", "°C", nullptr},
    {"battery_percent", "Battery", "battery", "%", nullptr},
    {"battery_state", "Battery state", nullptr, nullptr, "mdi:battery-charging"},
    {"gsm_state", "GSM state", nullptr, nullptr, "mdi:sim"},
    {"gsm_signal_dbm", "GSM signal", "signal_strength", "dBm", nullptr},
    {"operator", "GSM operator", nullptr, nullptr, "mdi:radio-tower"},
    {"in1", "IN-1", nullptr, nullptr, "mdi:import"},
    {"in2", "IN-2", nullptr, nullptr, "mdi:import"},
    {"pin1", "P-IN-1", nullptr, nullptr, "mdi:import"},
    {"pin2", "P-IN-2", nullptr, nullptr, "mdi:import"},
    {"out1", "OUT-1", nullptr, nullptr, "mdi:export"},
    {"out2", "OUT-2", nullptr, nullptr, "mdi:export"},
};

}  // namespace

bool check_prefix(const std::string& prefix, std::string* why) {
    if (prefix.empty()) {
        *why = "the topic prefix is empty";
    } else if (prefix.size() > kMaxPrefix) {
        *why = "the topic prefix is longer than 200 bytes";
    } else if (prefix.find('\0') != std::string::npos) {
        *why = "the topic prefix holds a NUL character";
    } else if (prefix.find_first_of("#+") != std::string::npos) {
        *why = "the topic prefix holds a wildcard (# or +); a topic to publish on cannot";
    } else if (prefix.front() == '$') {
        *why = "topics starting with $ belong to the broker";
    } else if (prefix.front() == '/' || prefix.back() == '/' ||
               prefix.find("//") != std::string::npos) {
        *why = "the topic prefix has an empty level (a leading, trailing or double /)";
    } else {
        return true;
    }
    return false;
}

Topics::Topics(std::string prefix)
    : availability_(prefix + "/availability"), state_(prefix + "/state") {
    for (const char c : prefix) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        node_id_ += plain ? c : '_';
    }
}

std::vector<Message> Topics::discovery(const std::string& firmware) const {
    ordered_json device;
    device["identifiers"] = ordered_json::array({node_id_});
    device["name"] = "ZAVI-GSM";
    device["manufacturer"] = "ZAVI";
    device["model"] = "ZAVI-GSM alarm module";
    if (!firmware.empty()) device["sw_version"] = firmware;

    std::vector<Message> out;
    for (const Entity& e : kEntities) {
        ordered_json c;
        c["name"] = e.name;
        c["unique_id"] = node_id_ + "_" + e.key;
        c["state_topic"] = state_;
        c["value_template"] = std::string("{{ value_json.") + e.key + " }}";
        c["availability_topic"] = availability_;
        c["payload_available"] = kOnline;
        c["payload_not_available"] = kOffline;
        if (e.device_class) c["device_class"] = e.device_class;
        if (e.unit) {
            c["unit_of_measurement"] = e.unit;
            c["state_class"] = "measurement";
        }
        if (e.icon) c["icon"] = e.icon;
        c["device"] = device;
        out.push_back(
            {std::string(kDiscoveryPrefix) + "/sensor/" + node_id_ + "/" + e.key + "/config",
             c.dump(), true});
    }
    return out;
}

std::string state_payload(const DeviceStatus& s) {
    ordered_json o = status_fields<ordered_json>(s);
    for (int i = 0; i < 6; ++i)
        o[kIoStateKeys[i]] = status_slot_text(s.io_state_text[i], sizeof s.io_state_text[i]);
    return o.dump();
}

}  // namespace zavi::bridge
