// The module history the program keeps in the prefix's per-user data folder, as the cases read
// it: the index entries added since a case began.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fleet/history.h"

namespace e2e {

// %LOCALAPPDATA%\ZAVI-GSM in UTF-8, where the program keeps the history.
std::string history_folder();

// Every whole entry of the index (none when it does not exist yet).
std::vector<zavi::fleet::HistoryEntry> history_entries();

// The bytes of a file named in UTF-8; "" when it cannot be read.
std::string file_bytes(const std::string& utf8_path);

}  // namespace e2e
