// The one place where text goes into HTML: everything that comes from the module, a file or
// the user is escaped here, so a name such as "<script>" shows as text and runs nothing.
#pragma once

#include <string>
#include <string_view>

namespace zavi::commission {

std::string escape_html(std::string_view text);

// Builds a page: markup of the report's own (tags, attributes) goes in with raw(); any other
// text only through text() or cell().
class Html {
  public:
    Html& raw(std::string_view markup) {
        out_ += markup;
        return *this;
    }
    Html& text(std::string_view t) {
        out_ += escape_html(t);
        return *this;
    }
    // <tag>text</tag>
    Html& element(std::string_view tag, std::string_view t) {
        return raw("<").raw(tag).raw(">").text(t).raw("</").raw(tag).raw(">");
    }
    // A table row of text cells, the first `heads` of them header cells.
    Html& row(std::initializer_list<std::string_view> cells, std::size_t heads = 0);
    const std::string& str() const { return out_; }

  private:
    std::string out_;
};

}  // namespace zavi::commission
