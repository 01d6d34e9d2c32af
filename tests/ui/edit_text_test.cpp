// Texts for a multi-line edit: every line break must reach the control as "\r\n", and one that
// already is must not get a second "\r".
#include "ui/edit_text.h"

#include <gtest/gtest.h>

namespace zavi {
namespace {

TEST(EditText, LinesAreJoinedByCarriageReturnAndLineFeed) {
    const struct {
        std::vector<std::string> lines;
        std::string text;
    } cases[] = {
        {{}, ""},
        {{"one"}, "one"},
        {{"one", "two"}, "one\r\ntwo"},
        {{"one", "", "three"}, "one\r\n\r\nthree"},
    };
    for (const auto& c : cases) EXPECT_EQ(edit_text(c.lines), c.text) << c.text;
}

TEST(EditText, EachLoneLineFeedGetsItsCarriageReturn) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"", ""},         {"a\nb", "a\r\nb"},   {"a\r\nb", "a\r\nb"},
        {"\n", "\r\n"},   {"\n\n", "\r\n\r\n"}, {"a\r\n\nb\n", "a\r\n\r\nb\r\n"},
        {"a\rb", "a\rb"},
    };
    for (const auto& c : cases) EXPECT_EQ(edit_lines(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace zavi
