#include "config/files.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "config/config_file.h"

namespace zavi::config {

namespace fs = std::filesystem;

namespace {

fs::path utf8_path(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string path_text(const fs::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

#ifdef _WIN32
// The wide variable, so that a user name outside the ANSI code page survives.
std::string env(const wchar_t* name) {
    const wchar_t* v = _wgetenv(name);
    if (!v) return "";
    return path_text(fs::path(std::wstring(v)));
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
    std::error_code ec;
    const fs::path p = utf8_path(path);
    if (fs::is_directory(p, ec)) {
        *error = "is a folder, not a file";
        return false;
    }
    std::ifstream in(p, std::ios::binary);
    if (!in) {
        *error = "cannot be opened for reading";
        return false;
    }
    std::string data;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        data.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (data.size() > max_bytes) {
            *error = "is larger than " + size_text(max_bytes);
            return false;
        }
    }
    if (in.bad()) {
        *error = "could not be read";
        return false;
    }
    *text = std::move(data);
    return true;
}

bool write_file_atomic(const std::string& path, const std::string& text, std::string* error,
                       FileAccess access) {
    return write_file_safely(path, text, access, error);
}

bool write_configuration_file(const std::string& path, const Configuration& cfg,
                              std::string* error, FileOrigin origin) {
    return write_file_safely(path, configuration_to_json(cfg, origin),
                             cfg.sim_codes ? FileAccess::secret : FileAccess::normal, error);
}

std::string automatic_backup_folder() {
#ifdef _WIN32
    const std::string base = env(L"LOCALAPPDATA");
    if (base.empty()) return "";
    return path_text(utf8_path(base) / "ZAVI-GSM" / "backups");
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
    const fs::path dir = utf8_path(folder);
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
        return path_text(dir / utf8_path(name + ".zavi.json"));
    };
    // The file appears complete under the first free name; a run in the same second gets the
    // next one.
    if (!write_new_file_safely(name_for, 999, configuration_to_json(cfg, FileOrigin::module_backup), access, path, &why)) {
        *error = name_for(1) + " " + why;
        return false;
    }
    return true;
}

}  // namespace zavi::config
