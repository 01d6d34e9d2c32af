// What the fuzz targets check about the device records after a read: every text slot still holds
// a NUL, every count stays within its table, and a failed read leaves every record as it was.
#pragma once

#include <cstdint>
#include <vector>

namespace zavi::fuzz {

// A byte copy of every device record.
std::vector<uint8_t> snapshot_records();

// Fills every record with a recognisable non-zero pattern, so that "unchanged" means something
// and a field that a decoder forgets to fill stays visible.
void prefill_records();

// Aborts (FUZZ_CHECK) when a text slot lost its NUL or a count left its range.
void check_record_invariants();

}  // namespace zavi::fuzz
