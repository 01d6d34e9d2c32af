// Appending one record (a line) to a log that must survive a crash: the line goes out in one
// write and is flushed to the disk before the call returns. A line cut short by a crash is
// ended before the next one is added, so only the cut line is lost. Paths are UTF-8.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zavi {

// Appends `line` (which must end with '\n') to `path`, creating the file. False with a reason
// (starting with a verb, to follow the path in a message) when anything fails.
bool append_line_durably(const std::string& path, std::string_view line, std::string* error);

// Tests: called between the two halves of the line, which are then written separately, so a
// test can stop the process in the middle of a line. Null: one write again.
void set_append_pause_for_tests(std::function<void()> pause);

}  // namespace zavi
