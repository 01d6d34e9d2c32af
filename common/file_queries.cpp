#include "common/file_queries.h"

#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include "common/path_text.h"
#include "common/utf16.h"
#endif

namespace zavi {

namespace {

#ifdef _WIN32
std::wstring wide(const std::string& utf8) {
    const std::u16string w = utf8_to_utf16(utf8);
    return std::wstring(w.begin(), w.end());
}
#endif

}  // namespace

FileFacts file_facts(const std::string& path, bool follow_links) {
    FileFacts facts;
#ifdef _WIN32
    // Windows has no links the C runtime would tell apart.
    (void)follow_links;
    // The C runtime cannot look at "folder\", only at "folder".
    const std::string parent = parent_folder(path);
    const bool trailing = !path.empty() && is_path_separator(path.back()) && parent != path;
    struct _stat64 st {};
    if (_wstat64(wide(trailing ? parent : path).c_str(), &st) != 0) return facts;
    const auto mode = st.st_mode;
#else
    struct stat st {};
    if ((follow_links ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) return facts;
    const auto mode = st.st_mode;
    if (S_ISLNK(mode)) {
        facts.kind = PathKind::other;
        facts.link = true;
        return facts;
    }
#endif
    if ((mode & S_IFMT) == S_IFDIR) {
        facts.kind = PathKind::folder;
    } else if ((mode & S_IFMT) == S_IFREG) {
        facts.kind = PathKind::file;
        facts.size = static_cast<std::uint64_t>(st.st_size);
    } else {
        facts.kind = PathKind::other;
    }
    return facts;
}

std::FILE* open_for_reading(const std::string& path) {
#ifdef _WIN32
    return _wfopen(wide(path).c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

}  // namespace zavi
