#include "link/module_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace zavi {
namespace {

TEST(ModuleText, AsciiPassesHighBytesBecomeTwoByteUtf8) {
    EXPECT_EQ(module_text_to_utf8("IN-1 open"), "IN-1 open");
    EXPECT_EQ(module_text_to_utf8(std::string_view("\xFC\x80\xFF", 3)), "\xC3\xBC\xC2\x80\xC3\xBF");
    EXPECT_EQ(module_text_to_utf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(ModuleText, Utf8BackToModuleBytesOnlyWhenEveryCharacterFits) {
    const struct {
        std::string_view text;
        std::optional<std::string_view> bytes;
    } cases[] = {
        {"", ""},
        {"IN-1 open", "IN-1 open"},
        {std::string_view("a\0b", 3), std::string_view("a\0b", 3)},
        {"Wej\xC5\x9B"
         "cie",
         std::nullopt},                                      // U+015B: Polish letters do not fit
        {"T\xC3\xBCr \xC2\xA0\xC3\xBF", "T\xFCr \xA0\xFF"},  // U+00FC, U+00A0, U+00FF
        {"\xC2\x80", "\x80"},
        {"\xC4\x80", std::nullopt},          // U+0100, the first that does not fit
        {"\xE2\x82\xAC", std::nullopt},      // euro sign
        {"\xF0\x9F\x98\x80", std::nullopt},  // outside the BMP
        {"\xC1\xBF", std::nullopt},          // overlong "?"
        {"ab\xC3", std::nullopt},            // cut after the lead byte
        {"\xC3(", std::nullopt},             // lead byte without continuation
        {"\xBC", std::nullopt},              // continuation alone
    };
    for (const auto& c : cases) {
        const std::optional<std::string> got = utf8_to_module_text(c.text);
        ASSERT_EQ(got.has_value(), c.bytes.has_value()) << c.text;
        if (got) {
            EXPECT_EQ(*got, *c.bytes) << c.text;
        }
    }

    // Every byte the module can send comes back unchanged.
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(utf8_to_module_text(module_text_to_utf8(all)), all);
}

}  // namespace
}  // namespace zavi
