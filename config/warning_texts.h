// What a configuration file warns about, in the user's language and in the program's words
// ("Termometr 1: próg górny nie jest wyższy od dolnego"), for the program's message boxes. The
// command line keeps describe_warning's JSON paths.
#pragma once

#include <cstdint>
#include <string>

#include "config/config_file.h"

namespace zavi::config {

std::string warning_text(const FileError& warning, uint8_t language);

}  // namespace zavi::config
