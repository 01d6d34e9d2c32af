#include "app/settings.h"

#include <cstdio>

#include "config/files.h"
#include "config/json.h"
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

namespace {

constexpr std::size_t kMaxReportNamesBytes = 4096;

// At most kReportNameCharacters code points, never cut inside one; line breaks become spaces
// (a hand-edited file must not put them into the one-line edits).
std::string report_name(const Json& value) {
    if (!value.is_string()) return {};
    const std::string& text = value.get_ref<const std::string&>();
    std::string out;
    int characters = 0;
    for (const char c : text) {
        const bool starts_character = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (starts_character && ++characters > kReportNameCharacters) break;
        out += c == '\r' || c == '\n' ? ' ' : c;
    }
    return out;
}

}  // namespace

std::string report_names_path(const std::string& settings_path) {
    const auto slash = settings_path.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : settings_path.substr(0, slash + 1)) +
           "report.json";
}

ReportNames load_report_names(const std::string& path) {
    std::string text, why;
    if (!config::read_text_file(path, kMaxReportNamesBytes, &text, &why)) return {};
    const Json doc = parse_json(text, nullptr, false);
    if (!doc.is_object()) return {};
    ReportNames names;
    if (const auto site = doc.find("site"); site != doc.end()) names.site = report_name(*site);
    if (const auto installer = doc.find("installer"); installer != doc.end())
        names.installer = report_name(*installer);
    return names;
}

bool save_report_names(const std::string& path, const ReportNames& names) {
    // Keys in byte order, as the file has always held them.
    const Json doc = {{"installer", names.installer}, {"site", names.site}};
    // Text from the edits is UTF-8; anything that is not is stored replaced, not refused.
    const std::string text = doc.dump(2, ' ', false, Json::error_handler_t::replace);
    std::string why;
    return write_file_safely(path, text + "\n", FileAccess::normal, &why);
}

}  // namespace zavi
