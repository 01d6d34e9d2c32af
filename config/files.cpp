#include "config/files.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "common/file_queries.h"
#include "common/path_text.h"
#include "config/config_file.h"
#ifdef _WIN32
#include "common/utf16.h"
#endif

namespace zavi::config {

namespace {

#ifdef _WIN32
// The wide variable, so that a user name outside the ANSI code page survives.
std::string env(const wchar_t* name) {
    const wchar_t* v = _wgetenv(name);
    if (!v) return "";
    const std::wstring w(v);
    return utf16_to_utf8(std::u16string(w.begin(), w.end()));
}
#else
std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}
#endif

std::string size_text(std::size_t bytes) {
    if (bytes % (1024 * 1024) == 0) return std::to_string(bytes / (1024 * 1024)) + " MiB";
    return std::to_string(bytes / 1024) + " KiB";
}

}  // namespace

bool read_text_file(const std::string& path, std::size_t max_bytes, std::string* text,
                    std::string* error) {
    if (file_facts(path).kind == PathKind::folder) {
        *error = "is a folder, not a file";
        return false;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(open_for_reading(path), std::fclose);
    if (!in) {
        *error = "cannot be opened for reading";
        return false;
    }
    std::string data;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0) {
        data.append(buffer, got);
        if (data.size() > max_bytes) {
            *error = "is larger than " + size_text(max_bytes);
            return false;
        }
    }
    if (std::ferror(in.get())) {
        *error = "could not be read";
        return false;
    }
    *text = std::move(data);
    return true;
}

bool write_configuration_file(const std::string& path, const Configuration& cfg, std::string* error,
                              FileOrigin origin) {
    return write_file_safely(path, configuration_to_json(cfg, origin),
                             cfg.sim_codes ? FileAccess::secret : FileAccess::normal, error);
}

std::string automatic_backup_folder() {
#ifdef _WIN32
    const std::string base = env(L"LOCALAPPDATA");
    if (base.empty()) return "";
    return join_path(join_path(base, "ZAVI-GSM"), "backups");
#else
    std::string base = env("XDG_DATA_HOME");
    if (base.empty() || base[0] != '/') {
        const std::string home = env("HOME");
        if (home.empty()) return "";
        base = home + "/.local/share";
    }
    return base + "/zavi-gsm/backups";
#endif
}

bool save_automatic_backup(const std::string& folder, Configuration cfg, std::string* path,
                           std::string* error) {
    if (folder.empty()) {
        *error = "no folder for automatic backups (no home folder known)";
        return false;
    }
    std::string why;
    if (!make_private_folder(folder, &why)) {
        *error = "the folder " + folder + " " + why;
        return false;
    }
    cfg.saved_at = utc_timestamp();
    const FileAccess access = cfg.sim_codes ? FileAccess::secret : FileAccess::normal;
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &now);
#else
    localtime_r(&now, &tm);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    const auto name_for = [&](int n) {
        std::string name = stamp;
        if (n > 1) {
            name += '-';
            name += std::to_string(n);
        }
        return join_path(folder, name + ".zavi.json");
    };
    // The file appears complete under the first free name; a run in the same second gets the
    // next one.
    if (!write_new_file_safely(name_for, 999, configuration_to_json(cfg, FileOrigin::module_backup),
                               access, path, &why)) {
        *error = name_for(1) + " " + why;
        return false;
    }
    return true;
}

}  // namespace zavi::config
