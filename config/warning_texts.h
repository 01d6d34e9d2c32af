// What a configuration file warns about, in the user's language and in the program's words
// ("Termometr 1: próg górny nie jest wyższy od dolnego"), for the program's message boxes. The
// command line keeps describe_warning's JSON paths.
#pragma once

#include <cstdint>
#include <string>

#include "config/config_file.h"

namespace zavi::config {

// The labels of the I/O names dialog, in the order of kIoNameKeys.
inline constexpr const char* kIoNameLabels[kNameCount] = {
    "IN-1 (Open)",        "IN-1 (Close)",    "IN-2 (Open)",        "IN-2 (Close)",
    "PIN-1 (No-Voltage)", "PIN-1 (Voltage)", "PIN-2 (No-Voltage)", "PIN-2 (Voltage)",
    "OUT-1 (ON)",         "OUT-1 (OFF)",     "OUT-2 (ON)",         "OUT-2 (OFF)"};

std::string warning_text(const FileError& warning, uint8_t language);

}  // namespace zavi::config
