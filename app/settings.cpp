#include "app/settings.h"

#include <cstdio>

#include "ui/ui_language.h"

namespace zavi {

uint8_t load_settings(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return 1;
    // Two bytes are enough to tell a one-byte file from any other; a directory or a huge file
    // is never read further.
    unsigned char bytes[2];
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || got != 1) return 1;
    ui_language = bytes[0];
    return 0;
}

uint8_t save_settings(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return 1;
    const unsigned char byte = ui_language;
    const bool written = std::fwrite(&byte, 1, 1, file) == 1;
    // fclose flushes; a full disk shows up only here.
    const bool closed = std::fclose(file) == 0;
    return written && closed ? 0 : 1;
}

}  // namespace zavi
