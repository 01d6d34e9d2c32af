// Texts for a multi-line edit control, which breaks lines at "\r\n" only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zavi {

// The lines joined by "\r\n".
std::string edit_text(const std::vector<std::string>& lines);

// `text` with each "\n" that has no "\r" before it as "\r\n".
std::string edit_lines(std::string_view text);

}  // namespace zavi
