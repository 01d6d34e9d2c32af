// How the simulator's values look in a scenario file: module texts as UTF-8 strings (byte =
// code point, so every byte value survives), telephone numbers as digit strings, SIM codes as
// 4/8-digit strings, and "hex:..." for anything that is not what a module should hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/simulator.h"

namespace zavi::sim::json_values {

using Json = nlohmann::json;

// Each reader returns false with a message (without the field path) in *error.
bool read_text(const Json& j, std::size_t max_bytes, std::string* out, std::string* error);
bool read_number(const Json& j, Number* out, std::string* error);
bool read_code(const Json& j, int digits, uint32_t* out, std::string* error);  // PIN 4, PUK 8
bool read_bytes(const Json& j, std::size_t max_bytes, std::vector<uint8_t>* out,
                std::string* error);

Json text_json(const std::string& bytes);
Json number_json(const Number& number);
Json code_json(uint32_t code, int digits);
Json bytes_json(const std::vector<uint8_t>& bytes);

}  // namespace zavi::sim::json_values
