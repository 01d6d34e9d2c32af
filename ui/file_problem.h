// Why a file could not be read or saved, in the user's language, told from what is at the
// path when the attempt has failed. (The file code's own reason is English, for the
// command-line tool.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zavi {

// One sentence without the path: "The file does not exist." and the like.
std::string file_read_problem(const std::string& path, std::size_t max_bytes, uint8_t language);
std::string file_save_problem(const std::string& path, uint8_t language);

// "The file could not be saved:", the path and why, for a message box.
std::string file_not_saved_text(const std::string& path, uint8_t language);

}  // namespace zavi
