#include "ui/file_problem.h"

#include <filesystem>
#include <system_error>

#include "common/three_languages.h"

namespace zavi {

namespace {

namespace fs = std::filesystem;

fs::path utf8_path(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string size_text(std::size_t bytes) {
    if (bytes % (1024 * 1024) == 0) return std::to_string(bytes / (1024 * 1024)) + " MiB";
    return std::to_string(bytes / 1024) + " KiB";
}

const char* is_folder(uint8_t l) {
    return pick_text(l, "To jest folder, a nie plik.", "It is a folder, not a file.",
                     "Das ist ein Ordner, keine Datei.");
}

}  // namespace

std::string file_read_problem(const std::string& path, std::size_t max_bytes, uint8_t l) {
    std::error_code ec;
    const fs::path p = utf8_path(path);
    const fs::file_status status = fs::status(p, ec);
    if (!fs::exists(status))
        return pick_text(l, "Plik nie istnieje.", "The file does not exist.",
                         "Die Datei existiert nicht.");
    if (fs::is_directory(status)) return is_folder(l);
    if (fs::is_regular_file(status)) {
        const std::uintmax_t size = fs::file_size(p, ec);
        if (!ec && size > max_bytes)
            return pick_text(l, "Plik jest większy niż ", "The file is larger than ",
                             "Die Datei ist größer als ") +
                   size_text(max_bytes) + ".";
    }
    return pick_text(l, "Nie można go otworzyć ani odczytać (brak uprawnień?).",
                     "It cannot be opened or read (no permission?).",
                     "Sie kann nicht geöffnet oder gelesen werden (keine Berechtigung?).");
}

std::string file_save_problem(const std::string& path, uint8_t l) {
    std::error_code ec;
    const fs::path p = utf8_path(path);
    const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec))
        return pick_text(l, "Folder nie istnieje.", "The folder does not exist.",
                         "Der Ordner existiert nicht.");
    const fs::file_status status = fs::symlink_status(p, ec);
    if (fs::is_directory(status)) return is_folder(l);
    if (fs::exists(status) && !fs::is_regular_file(status) && !fs::is_symlink(status))
        return pick_text(l, "To nie jest zwykły plik.", "It is not an ordinary file.",
                         "Das ist keine gewöhnliche Datei.");
    return pick_text(l, "Nie można zapisać go w tym folderze (brak uprawnień lub pełny dysk).",
                     "It cannot be written in this folder (no permission, or the disk is full).",
                     "Sie kann in diesem Ordner nicht geschrieben werden (keine Berechtigung "
                     "oder Datenträger voll).");
}

}  // namespace zavi
