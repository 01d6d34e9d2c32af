// The connection to the MQTT broker on libmosquitto, driven from the caller's loop (no thread
// of its own): connects when due, comes back with back-off after a refusal, a reset or a
// broker that stops answering, and tells a refusal of the credentials apart, which no retry
// can fix.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "bridge/backoff.h"
#include "bridge/bridge_options.h"
#include "bridge/topics.h"

struct mosquitto;

namespace zavi::bridge {

struct ConnectSettings {
    BrokerAddress broker;
    bool tls = false;
    std::string cafile;  // with tls; empty: the system's certificates
    std::string username;
    std::optional<std::string> password;
    Message will;
    int keepalive_s = 15;
};

class MqttLink {
  public:
    // `log` gets one line (without the line end) when the connection comes or goes.
    MqttLink(ConnectSettings settings, std::function<void(const std::string&)> log);
    ~MqttLink();
    MqttLink(const MqttLink&) = delete;
    MqttLink& operator=(const MqttLink&) = delete;

    // Creates the client with its last will and credentials. False with the reason in *why.
    bool set_up(std::string* why);
    // Network work for up to `ms` milliseconds: a due connection attempt, reads, keep-alive.
    void poll(int ms);
    bool connected() const { return state_ == State::connected; }
    // Sends (QoS 1) while connected; false otherwise.
    bool publish(const Message& m);
    bool all_delivered() const { return pending_.empty(); }
    // Set when the broker refused in a way no retry changes (credentials, not authorised).
    const std::optional<std::string>& fatal() const { return fatal_; }
    void disconnect();

    // Called after the broker has accepted the connection.
    std::function<void()> on_connected;

  private:
    enum class State { idle, connecting, connected };
    static void connect_callback(struct mosquitto*, void* self, int rc);
    static void disconnect_callback(struct mosquitto*, void* self, int rc);
    static void publish_callback(struct mosquitto*, void* self, int mid);
    void attempt();
    void lost(const std::string& why);
    std::string where() const;

    ConnectSettings settings_;
    std::function<void(const std::string&)> log_;
    struct mosquitto* client_ = nullptr;
    State state_ = State::idle;
    bool started_ = false;
    bool ever_connected_ = false;
    Backoff backoff_;
    std::chrono::steady_clock::time_point next_attempt_{};
    std::chrono::steady_clock::time_point attempt_started_{};
    std::string last_failure_;
    std::set<int> pending_;
    std::optional<std::string> fatal_;
};

}  // namespace zavi::bridge
