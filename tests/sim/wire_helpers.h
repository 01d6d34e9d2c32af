// Byte-level access to a simulated module for its own tests: requests built with the codec,
// answers decoded with it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/codec.h"
#include "sim/simulator.h"

namespace zavi::sim {

using Bytes = std::vector<uint8_t>;

inline Bytes request_wire(uint8_t command, const Bytes& data = {}) {
    WireFrame out;
    EXPECT_TRUE(encode_frame(kRequestStart, command, data, out));
    return Bytes(out.bytes, out.bytes + out.size);
}

// The decoded plain frame of an answer (last "S" to last end byte, unescaped).
inline Bytes decode_answer(const Bytes& wire) {
    std::span<const uint8_t> payload;
    if (!extract_payload(wire, &payload)) return {};
    Bytes plain(payload.size());
    plain.resize(unescape_bytes(payload, plain));
    return plain;
}

// Data bytes of an accepted answer to `command` (the frame must pass the program's checks).
inline Bytes answer_data_of(const Bytes& wire, uint8_t command, int sub_index = kNoSubIndex) {
    const Bytes plain = decode_answer(wire);
    EXPECT_EQ(check_response(plain, command, kAnyLength, sub_index), FrameCheck::ok)
        << "answer to command " << int(command);
    if (plain.size() < 4) return {};
    return Bytes(plain.begin() + 3, plain.begin() + 2 + plain[1]);
}

inline Bytes text_bytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// One module opened through a SimDriver, talked to with raw bytes.
class SimLink {
  public:
    explicit SimLink(Scenario scenario = {}, uint32_t read_ms = 1000) : sim(std::move(scenario)) {
        EXPECT_EQ(sim.open_by_index(0, &handle), kDriverOk);
        EXPECT_EQ(sim.set_timeouts(handle, read_ms, 0), kDriverOk);
    }

    DriverStatus write(const Bytes& bytes) {
        uint32_t written = 0;
        const DriverStatus st = sim.write(handle, bytes.data(), uint32_t(bytes.size()), &written);
        if (st == kDriverOk) {
            EXPECT_EQ(written, bytes.size());
        }
        return st;
    }

    Bytes read(uint32_t count = 600) {
        Bytes buf(count);
        uint32_t got = 0;
        EXPECT_EQ(sim.read(handle, buf.data(), count, &got), kDriverOk);
        buf.resize(got);
        return buf;
    }

    // Purge, write the request, read everything that comes within the read time-out.
    Bytes exchange(uint8_t command, const Bytes& data = {}) {
        sim.purge(handle, kPurgeRxTx);
        write(request_wire(command, data));
        return read();
    }

    SimDriver sim;
    DriverHandle handle = nullptr;
};

}  // namespace zavi::sim
