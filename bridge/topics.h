// What the bridge publishes: its topics under one prefix, Home Assistant's discovery messages
// for the module's entities, and the state message made from the live status.
#pragma once

#include <string>
#include <vector>

#include "link/records.h"

namespace zavi::bridge {

constexpr char kDefaultPrefix[] = "zavi-gsm";
constexpr char kDiscoveryPrefix[] = "homeassistant";
constexpr char kOnline[] = "online";
constexpr char kOffline[] = "offline";

// A prefix the bridge may publish under: not empty, at most 200 bytes, no wildcard (# +), no
// NUL, no empty level, no leading "$" (the broker's own topics) and no leading or trailing "/".
// False with the reason in *why.
bool check_prefix(const std::string& prefix, std::string* why);

struct Message {
    std::string topic;
    std::string payload;
    bool retain = true;
};

class Topics {
  public:
    explicit Topics(std::string prefix);
    const std::string& availability() const { return availability_; }
    const std::string& state() const { return state_; }

    // One retained config message per entity; `firmware` becomes the device's software version
    // (left out while empty).
    std::vector<Message> discovery(const std::string& firmware) const;

  private:
    std::string availability_, state_;
    std::string node_id_;  // the prefix in letters, digits, '_' and '-': the device in HA
};

// The state message (JSON) of a status read into `s`.
std::string state_payload(const DeviceStatus& s);

}  // namespace zavi::bridge
