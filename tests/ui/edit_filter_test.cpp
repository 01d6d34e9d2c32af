#include "ui/edit_filter.h"

#include <gtest/gtest.h>

namespace zavi {
namespace {

// The boundaries of each allowed range, their neighbours in ASCII, control characters that
// the edit control would act on (Enter, Tab, Ctrl+V) and letters outside ASCII.
TEST(EditFilter, PassesOnlyTheAllowedCharacters) {
    struct Case {
        char32_t ch;
        bool digits, io_name;
    };
    const Case cases[] = {
        {U'0', true, true},        {U'9', true, true},        {U'/', false, false},
        {U':', false, false},      {U'\b', true, true},       {U' ', false, true},
        {U'A', false, true},       {U'Z', false, true},       {U'a', false, true},
        {U'z', false, true},       {U'@', false, false},      {U'[', false, false},
        {U'`', false, false},      {U'{', false, false},      {U'-', false, false},
        {U'+', false, false},      {U'.', false, false},      {U'\r', false, false},
        {U'\t', false, false},     {0x16, false, false},      {0x7F, false, false},
        {U'\u00FC', false, false}, {U'\u0105', false, false}, {U'\uFF10', false, false},
    };
    for (const Case& c : cases) {
        const auto code = static_cast<unsigned>(c.ch);
        EXPECT_EQ(edit_filter_passes(EditFilterKind::digits, c.ch), c.digits) << code;
        EXPECT_EQ(edit_filter_passes(EditFilterKind::io_name, c.ch), c.io_name) << code;
        EXPECT_FALSE(edit_filter_passes(EditFilterKind::block_input, c.ch)) << code;
        EXPECT_TRUE(edit_filter_passes(EditFilterKind::none, c.ch)) << code;
    }
}

}  // namespace
}  // namespace zavi
