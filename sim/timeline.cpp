// The simulated module's status over time: events applied in the order they fall.
#include "sim/simulator.h"

namespace zavi::sim {

namespace {

void set(const std::optional<uint8_t>& value, uint8_t* field) {
    if (value) *field = *value;
}

void apply(const StatusChange& c, ModuleState* s) {
    set(c.temp1_negative, &s->temp1_negative);
    set(c.temp1_whole, &s->temp1_whole);
    set(c.temp1_tenths, &s->temp1_tenths);
    set(c.temp2_negative, &s->temp2_negative);
    set(c.temp2_whole, &s->temp2_whole);
    set(c.temp2_tenths, &s->temp2_tenths);
    set(c.battery_level, &s->battery_level);
    set(c.battery_flags, &s->battery_flags);
    set(c.gsm_signal, &s->gsm_signal);
    set(c.gsm_state, &s->gsm_state);
    for (std::size_t i = 0; i < c.io_state_text.size(); ++i)
        if (c.io_state_text[i]) s->io_state_text[i] = *c.io_state_text[i];
    if (c.operator_name) s->operator_name = *c.operator_name;
}

}  // namespace

void apply_timeline(const Timeline& timeline, int64_t from_us, int64_t to_us, ModuleState* state) {
    if (timeline.events.empty() || to_us <= from_us || to_us < 0) return;
    const auto period = static_cast<int64_t>(timeline.repeat_every_us);
    if (period <= 0) {
        for (const TimelineEvent& e : timeline.events) {
            const auto at = static_cast<int64_t>(e.at_us);
            if (at > from_us && at <= to_us) apply(e.set, state);
        }
        return;
    }
    // Every event happens once in any window one loop long, so an older gap changes nothing.
    if (to_us - from_us > period) from_us = to_us - period;
    const int64_t first = from_us < 0 ? 0 : from_us / period;
    for (int64_t loop = first; loop <= to_us / period; ++loop) {
        for (const TimelineEvent& e : timeline.events) {
            const int64_t at = loop * period + static_cast<int64_t>(e.at_us);
            if (at > from_us && at <= to_us) apply(e.set, state);
        }
    }
}

}  // namespace zavi::sim
