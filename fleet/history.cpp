#include "fleet/history.h"

#include <algorithm>

#include "common/append_file.h"
#include "common/file_queries.h"
#include "common/path_text.h"
#include "common/safe_file.h"
#include "config/config_file.h"
#include "config/files.h"
#include "config/json.h"
#include "fleet/identity.h"

namespace zavi::fleet {

namespace {

constexpr std::size_t kMaxIndexBytes = 64u << 20;
// The fields of an index line, in byte order: the order a line has always held them in.
const std::pair<const char*, std::string HistoryEntry::*> kFields[] = {
    {"file", &HistoryEntry::file},           {"identity", &HistoryEntry::identity},
    {"operation", &HistoryEntry::operation}, {"result", &HistoryEntry::result},
    {"site", &HistoryEntry::site},           {"time", &HistoryEntry::time}};

}  // namespace

std::string default_history_folder() {
    return history_folder_for(config::automatic_backup_folder());
}

std::string history_folder_for(const std::string& backup_folder) {
    if (backup_folder.empty()) return "";
    return native_path(parent_folder(backup_folder));
}

std::string index_path(const std::string& folder) {
    return generic_path(join_path(join_path(folder, "modules"), "index.jsonl"));
}

std::string index_line(const HistoryEntry& entry) {
    Json j = Json::object();
    for (const auto& [name, member] : kFields) j[name] = entry.*member;
    // Names and labels come from users and modules: never let them break the line.
    return j.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool from_index_line(const std::string& line, HistoryEntry* entry) {
    const Json j = parse_json(line, nullptr, false);
    if (j.is_discarded() || !j.is_object()) return false;
    HistoryEntry e;
    for (const auto& [name, member] : kFields) {
        const auto it = j.find(name);
        if (it == j.end() || !it->is_string()) return false;
        e.*member = it->get<std::string>();
    }
    if (!is_identity(e.identity) && e.identity != kUnknownIdentity) return false;
    *entry = std::move(e);
    return true;
}

bool keep_copy(const std::string& folder, HistoryEntry entry, const config::Configuration& cfg,
               HistoryEntry* kept, std::string* error) {
    const auto refuse = [error](std::string message) {
        *error = std::move(message);
        return false;
    };
    if (folder.empty()) return refuse("no folder for the module history (no home folder known)");
    entry.identity = identity_or_unknown(entry.identity);
    const std::string modules = join_path(folder, "modules");
    std::string why, path;
    if (!make_private_folder(generic_path(modules), &why))
        return refuse("the folder " + generic_path(modules) + " " + why);
    // The copies of one module are named as the automatic backups are: never the same name.
    if (!config::save_automatic_backup(generic_path(join_path(modules, entry.identity)), cfg, &path,
                                       &why))
        return refuse(why);
    entry.time = config::utc_timestamp();
    entry.file = generic_path(join_path(join_path("modules", entry.identity), file_name(path)));
    const std::string index = index_path(folder);
    // Two runs that add at once take turns, so that neither mends the other's line.
    FileLock lock;
    if (!lock.lock(index, &why) || !append_line_durably(index, index_line(entry), &why))
        return refuse(index + " " + why);
    if (kept) *kept = std::move(entry);
    return true;
}

bool read_index(const std::string& folder, std::vector<HistoryEntry>* entries, int* skipped,
                std::string* error) {
    entries->clear();
    *skipped = 0;
    const std::string index = index_path(folder);
    if (file_facts(index).kind == PathKind::missing) return true;
    std::string text, why;
    if (!config::read_text_file(index, kMaxIndexBytes, &text, &why)) {
        *error = index + " " + why;
        return false;
    }
    // Split by hand: a string stream would pull the locale machinery into the program.
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        if (line.empty()) continue;
        HistoryEntry e;
        if (from_index_line(line, &e))
            entries->push_back(std::move(e));
        else
            ++*skipped;
    }
    return true;
}

}  // namespace zavi::fleet
