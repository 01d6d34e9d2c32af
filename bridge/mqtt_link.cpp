#include "bridge/mqtt_link.h"

#include <mosquitto.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

namespace zavi::bridge {

namespace {

using Clock = std::chrono::steady_clock;

void init_library() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

std::string error_text(int rc) {
    if (rc == MOSQ_ERR_ERRNO) return std::strerror(errno);
    if (rc == MOSQ_ERR_KEEPALIVE) return "no answer from the broker within the keep-alive time";
    const std::string text = mosquitto_strerror(rc);
    return text == "Unknown error." ? "libmosquitto error " + std::to_string(rc) : text;
}

}  // namespace

MqttLink::MqttLink(ConnectSettings settings, std::function<void(const std::string&)> log)
    : settings_(std::move(settings)), log_(std::move(log)) {}

MqttLink::~MqttLink() {
    if (client_) mosquitto_destroy(client_);
}

std::string MqttLink::where() const {
    return "the broker at " + settings_.broker.host + ":" + std::to_string(settings_.broker.port);
}

bool MqttLink::set_up(std::string* why) {
    init_library();
    if (settings_.broker.port == 0)
        settings_.broker.port = settings_.tls ? kDefaultTlsPort : kDefaultPort;
    client_ = mosquitto_new(nullptr, true, this);
    if (!client_) {
        *why = "cannot create the MQTT client";
        return false;
    }
    mosquitto_connect_callback_set(client_, connect_callback);
    mosquitto_disconnect_callback_set(client_, disconnect_callback);
    mosquitto_publish_callback_set(client_, publish_callback);
    const Message& w = settings_.will;
    int rc = mosquitto_will_set(client_, w.topic.c_str(), static_cast<int>(w.payload.size()),
                                w.payload.data(), 1, w.retain);
    if (rc == MOSQ_ERR_SUCCESS && !settings_.username.empty())
        rc = mosquitto_username_pw_set(client_, settings_.username.c_str(),
                                       settings_.password ? settings_.password->c_str() : nullptr);
    if (rc == MOSQ_ERR_SUCCESS && settings_.tls)
        rc = mosquitto_tls_set(
            client_, settings_.cafile.empty() ? nullptr : settings_.cafile.c_str(),
            settings_.cafile.empty() ? "/etc/ssl/certs" : nullptr, nullptr, nullptr, nullptr);
    if (rc != MOSQ_ERR_SUCCESS) {
        *why = "cannot set up the MQTT client: " + error_text(rc);
        return false;
    }
    return true;
}

void MqttLink::attempt() {
    const int rc = started_ ? mosquitto_reconnect_async(client_)
                            : mosquitto_connect_async(client_, settings_.broker.host.c_str(),
                                                      settings_.broker.port, settings_.keepalive_s);
    started_ = true;
    state_ = State::connecting;  // also on a failure, so that lost() schedules the next attempt
    attempt_started_ = Clock::now();
    if (rc != MOSQ_ERR_SUCCESS) lost(error_text(rc));
}

void MqttLink::lost(const std::string& why) {
    if (state_ == State::idle) return;
    const bool was_connected = state_ == State::connected;
    state_ = State::idle;
    pending_.clear();
    const auto wait = backoff_.next();
    next_attempt_ = Clock::now() + wait;
    // One line per kind of trouble, not one per attempt.
    if (was_connected || why != last_failure_)
        log_((was_connected ? "lost the connection to " : "cannot reach ") + where() + " (" + why +
             "); trying again with back-off up to 60 s");
    last_failure_ = why;
}

void MqttLink::poll(int ms) {
    if (!client_ || fatal_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    if (state_ == State::idle) {
        if (Clock::now() < next_attempt_) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(next_attempt_ - Clock::now());
            std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(ms)));
            return;
        }
        attempt();
        if (state_ == State::idle) return;
    }
    const int rc = mosquitto_loop(client_, ms, 1);
    if (rc != MOSQ_ERR_SUCCESS && state_ != State::idle && !fatal_) lost(error_text(rc));
    // A broker that takes the connection but never answers it.
    if (state_ == State::connecting &&
        Clock::now() - attempt_started_ > std::chrono::seconds(2 * settings_.keepalive_s)) {
        mosquitto_disconnect(client_);
        lost("no answer to the connection request");
    }
}

bool MqttLink::publish(const Message& m) {
    if (state_ != State::connected) return false;
    int mid = 0;
    const int rc =
        mosquitto_publish(client_, &mid, m.topic.c_str(), static_cast<int>(m.payload.size()),
                          m.payload.data(), 1, m.retain);
    if (rc != MOSQ_ERR_SUCCESS) return false;
    pending_.insert(mid);
    return true;
}

void MqttLink::disconnect() {
    if (client_ && state_ != State::idle) {
        state_ = State::idle;
        mosquitto_disconnect(client_);
        mosquitto_loop(client_, 100, 1);
    }
}

void MqttLink::connect_callback(struct mosquitto*, void* self, int rc) {
    auto* link = static_cast<MqttLink*>(self);
    if (rc == 0) {
        link->state_ = State::connected;
        link->backoff_.reset();
        link->log_((link->ever_connected_ ? "connected again to " : "connected to ") +
                   link->where());
        link->ever_connected_ = true;
        link->last_failure_.clear();
        if (link->on_connected) link->on_connected();
        return;
    }
    const std::string reason = mosquitto_connack_string(rc);
    // 4: bad user name or password, 5: not authorised; the same request fails the same way.
    if (rc == 4 || rc == 5) {
        link->fatal_ = link->where() + " refused the connection: " + reason +
                       " (check --username and --password-file)";
        link->state_ = State::idle;
        return;
    }
    link->lost("refused: " + reason);
}

void MqttLink::disconnect_callback(struct mosquitto*, void* self, int rc) {
    auto* link = static_cast<MqttLink*>(self);
    if (rc != 0 && !link->fatal_) link->lost(error_text(rc));
}

void MqttLink::publish_callback(struct mosquitto*, void* self, int mid) {
    static_cast<MqttLink*>(self)->pending_.erase(mid);
}

}  // namespace zavi::bridge
