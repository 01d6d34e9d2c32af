// What the POSIX and Windows halves of the safe writer and the durable append share; only the
// system calls differ between them.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zavi {

// A temporary name beside `target` that nobody else can guess or be using: a dot, the target's
// name (cut to 200 bytes for any file system's limit), the process, a counter and 48 random
// bits, ".tmp". `separators` are the characters that end a folder on this platform. The name
// set by set_temporary_names_for_tests wins.
std::string temporary_name(const std::string& target, unsigned long long process_id,
                           const char* separators);

// `line` as it goes to the log: after a '\n' first when the log's last line was cut short.
std::string line_to_append(std::string_view line, bool last_line_cut);

// Sends `data` through `write`; with the tests' pause set, in two halves, `sync` and the pause
// between them. False as soon as a write fails.
bool append_in_pieces(std::string_view data, const std::function<bool(std::string_view)>& write,
                      const std::function<void()>& sync);

#ifndef _WIN32
// Writes all of `data` to the open file, again after an interrupted call. False with the
// system's error in *os_error (ENOSPC when a write took nothing).
bool write_all(int fd, std::string_view data, int* os_error);
#endif

}  // namespace zavi
