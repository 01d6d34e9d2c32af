#include "ui/edit_text.h"

namespace zavi {

std::string edit_text(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    return text;
}

std::string edit_lines(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace zavi
