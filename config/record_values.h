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

}  // namespace zavi::config
