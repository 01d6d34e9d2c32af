// Between the device records the link commands fill and send, and the configuration value.
// Capturing normalises as the program does when it reads a value; applying sets the records
// to exactly what the program would send for the value.
#pragma once

#include "config/configuration.h"

namespace zavi::config {

// The configuration held in the device records now (as the last reads left them). SIM codes
// are taken only when `with_sim_codes`. saved_at is left empty, firmware is the one the
// program accepts.
Configuration capture_records(bool with_sim_codes);

// Puts `record`'s values of `cfg` into the device records, ready for its write command.
void apply_record(Record record, const Configuration& cfg);

// The firmware as the file names it ("v1.7").
std::string accepted_firmware();

// Digits of a packed number up to its first nibble above 9 (at most 14), and back
// (link/phone_number.h).
std::string number_digits(const uint8_t (&bytes)[7]);
void pack_number(const std::string& digits, uint8_t (&bytes)[7]);

// Bytes of the module's character set to UTF-8 (one code point each) and back
// (link/module_text.h). The way back fails on any code point above U+00FF or invalid UTF-8,
// leaving *bytes empty.
std::string latin1_to_utf8(std::string_view bytes);
bool utf8_to_latin1(std::string_view text, std::string* bytes);

}  // namespace zavi::config
