#include "common/utf16.h"

#include <gtest/gtest.h>

#include <string>

namespace zavi {
namespace {

struct Case {
    const char* name;
    std::string utf8;
    std::u16string utf16;
};

// Well-formed texts the program shows: every language's special letters, and a character
// outside the basic plane that needs a surrogate pair.
TEST(Utf16, WellFormedTextsConvertBothWays) {
    const Case cases[] = {
        {"empty", "", u""},
        {"ascii", "ZAVI ALARM-GSM", u"ZAVI ALARM-GSM"},
        {"polish", "Błąd komunikacji - spróbuj ponownie", u"Błąd komunikacji - spróbuj ponownie"},
        {"german", "Namen für Ein- und Ausgangszustände", u"Namen für Ein- und Ausgangszustände"},
        {"degree", "Thermometer 1     (°C)", u"Thermometer 1     (°C)"},
        {"line breaks", "Battery level\nduring operation", u"Battery level\nduring operation"},
        {"three-byte edge", "\xEF\xBF\xBF", u"\xFFFF"},
        {"surrogate pair", "\xF0\x9F\x94\x94", u"\xD83D\xDD14"},
        {"highest code point", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
        {"embedded nul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8_to_utf16(c.utf8), c.utf16) << c.name;
        EXPECT_EQ(utf16_to_utf8(c.utf16), c.utf8) << c.name;
    }
}

// Malformed UTF-8: each broken piece becomes one U+FFFD and the byte that broke a sequence is
// decoded again on its own, so no valid character next to the damage is lost.
TEST(Utf16, MalformedUtf8BecomesReplacementCharacters) {
    const Case cases[] = {
        {"stray continuation", "a\x80z", u"a\xFFFDz"},
        {"two stray continuations", "\x80\xBF", u"\xFFFD\xFFFD"},
        {"overlong slash", "\xC0\xAF", u"\xFFFD\xFFFD"},
        {"overlong three-byte", "\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
        {"invalid lead F5", "\xF5z", u"\xFFFDz"},
        {"invalid lead FF", "\xFF", u"\xFFFD"},
        {"truncated at end", "ab\xC5", u"ab\xFFFD"},
        {"truncated four-byte at end", "\xF0\x9F\x94", u"\xFFFD"},
        {"ascii interrupts sequence", "\xE2\x82z", u"\xFFFDz"},
        {"new lead interrupts sequence", "\xC5\xC5\x82", u"\xFFFD\x0142"},
        {"latin-1 byte from module",
         "Stra\xDF"
         "e",
         u"Stra\xFFFD"
         "e"},
    };
    for (const Case& c : cases) EXPECT_EQ(utf8_to_utf16(c.utf8), c.utf16) << c.name;
}

TEST(Utf16, UnpairedSurrogatesBecomeReplacementCharacters) {
    const Case cases[] = {
        {"lone high at end", "a\xEF\xBF\xBD", u"a\xD800"},
        {"lone low", "\xEF\xBF\xBDz", u"\xDC00z"},
        {"reversed pair", "\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDC00\xD800"},
        {"high then ascii", "\xEF\xBF\xBDx", u"\xD83Dx"},
        {"high then valid pair", "\xEF\xBF\xBD\xF0\x9F\x94\x94", u"\xD83D\xD83D\xDD14"},
    };
    for (const Case& c : cases) EXPECT_EQ(utf16_to_utf8(c.utf16), c.utf8) << c.name;
}

}  // namespace
}  // namespace zavi
