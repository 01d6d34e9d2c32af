// Every text exists three times; the language byte picks one: 0 Polish, 1 English, anything
// else German.
#pragma once

#include <cstdint>

namespace zavi {

constexpr uint8_t kPolish = 0;
constexpr uint8_t kEnglish = 1;
constexpr uint8_t kGerman = 2;

constexpr const char* pick_text(uint8_t language, const char* polish, const char* english,
                                const char* german) {
    return language == kPolish ? polish : language == kEnglish ? english : german;
}

// One text in the three languages.
struct Texts {
    const char* polish;
    const char* english;
    const char* german;
    constexpr const char* in(uint8_t language) const {
        return pick_text(language, polish, english, german);
    }
};

}  // namespace zavi
