#include "commission/html_text.h"

namespace zavi::commission {

std::string escape_html(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const char* entity = c == '&'    ? "&amp;"
                             : c == '<'  ? "&lt;"
                             : c == '>'  ? "&gt;"
                             : c == '"'  ? "&quot;"
                             : c == '\'' ? "&#39;"
                                         : nullptr;
        // Control characters have no place in a page (and some are not allowed).
        if (entity)
            out += entity;
        else if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t')
            out += "&#xFFFD;";
        else
            out += c;
    }
    return out;
}

Html& Html::row(std::initializer_list<std::string_view> cells, std::size_t heads) {
    raw("<tr>");
    std::size_t i = 0;
    for (std::string_view c : cells) {
        const bool th = i++ < heads;
        raw(th ? "<th>" : "<td>").text(c).raw(th ? "</th>" : "</td>");
    }
    return raw("</tr>\n");
}

}  // namespace zavi::commission
