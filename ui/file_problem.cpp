#include "ui/file_problem.h"

#include "common/file_queries.h"
#include "common/path_text.h"
#include "common/three_languages.h"

namespace zavi {

namespace {

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
    const FileFacts facts = file_facts(path);
    if (facts.kind == PathKind::missing)
        return pick_text(l, "Plik nie istnieje.", "The file does not exist.",
                         "Die Datei existiert nicht.");
    if (facts.kind == PathKind::folder) return is_folder(l);
    if (facts.kind == PathKind::file && facts.size > max_bytes)
        return pick_text(l, "Plik jest większy niż ", "The file is larger than ",
                         "Die Datei ist größer als ") +
               size_text(max_bytes) + ".";
    return pick_text(l, "Nie można go otworzyć ani odczytać (brak uprawnień?).",
                     "It cannot be opened or read (no permission?).",
                     "Sie kann nicht geöffnet oder gelesen werden (keine Berechtigung?).");
}

std::string file_save_problem(const std::string& path, uint8_t l) {
    const std::string parent = parent_folder(path);
    if (file_facts(parent.empty() ? "." : parent).kind != PathKind::folder)
        return pick_text(l, "Folder nie istnieje.", "The folder does not exist.",
                         "Der Ordner existiert nicht.");
    const FileFacts facts = file_facts(path, false);
    if (facts.kind == PathKind::folder) return is_folder(l);
    if (facts.kind == PathKind::other && !facts.link)
        return pick_text(l, "To nie jest zwykły plik.", "It is not an ordinary file.",
                         "Das ist keine gewöhnliche Datei.");
    return pick_text(l, "Nie można zapisać go w tym folderze (brak uprawnień lub pełny dysk).",
                     "It cannot be written in this folder (no permission, or the disk is full).",
                     "Sie kann in diesem Ordner nicht geschrieben werden (keine Berechtigung "
                     "oder Datenträger voll).");
}

std::string file_not_saved_text(const std::string& path, uint8_t l) {
    return pick_text(l, "Nie można zapisać pliku:\n", "The file could not be saved:\n",
                     "Die Datei konnte nicht gespeichert werden:\n") +
           path + "\n" + file_save_problem(path, l);
}

}  // namespace zavi
