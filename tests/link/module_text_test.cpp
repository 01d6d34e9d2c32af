#include "link/module_text.h"

#include <gtest/gtest.h>

namespace zavi {
namespace {

TEST(ModuleText, AsciiPassesHighBytesBecomeTwoByteUtf8) {
    EXPECT_EQ(module_text_to_utf8("IN-1 open"), "IN-1 open");
    EXPECT_EQ(module_text_to_utf8(std::string_view("\xFC\x80\xFF", 3)), "\xC3\xBC\xC2\x80\xC3\xBF");
    EXPECT_EQ(module_text_to_utf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace zavi
