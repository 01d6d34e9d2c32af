#include "fleet/module_history.h"

#include <algorithm>
#include <map>

#include "common/path_text.h"
#include "config/config_file.h"
#include "config/files.h"

namespace zavi::fleet {

namespace {

// A copy as the index names it: only under the folder's modules/, never elsewhere.
bool load_copy(const std::string& folder, const std::string& file, config::Configuration* cfg,
               std::string* error) {
    const auto refuse = [error](std::string message) {
        *error = std::move(message);
        return false;
    };
    const std::vector<std::string> parts = path_parts(file);
    if (parts.empty() || parts.front() != "modules" ||
        std::find(parts.begin(), parts.end(), "..") != parts.end())
        return refuse(file + " is not a copy in the history folder");
    const std::string path = join_path(folder, file);
    std::string text, why;
    if (!config::read_text_file(path, config::kMaxFileBytes, &text, &why))
        return refuse(path + " " + why);
    // A copy holds what the module held, also values the program would not write.
    config::FileError fault;
    if (!config::parse_configuration_as_read(text, cfg, &fault))
        return refuse(config::describe(fault, path));
    return true;
}

}  // namespace

bool module_history(const std::string& folder, const std::string& key, ModuleHistory* out,
                    std::string* error) {
    std::vector<HistoryEntry> entries;
    *out = {};
    if (!read_index(folder, &entries, &out->skipped_lines, error)) return false;
    bool by_identity = key.empty();
    for (const HistoryEntry& e : entries) by_identity = by_identity || e.identity == key;

    // Oldest first, so each copy meets the one before it of its module.
    std::map<std::string, const HistoryEntry*> previous;
    for (const HistoryEntry& e : entries) {
        const HistoryEntry* before = previous[e.identity];
        previous[e.identity] = &e;
        if (!key.empty() && (by_identity ? e.identity : e.site) != key) continue;
        HistoryItem item;
        item.entry = e;
        item.first = before == nullptr;
        config::Configuration now, then;
        std::string why;
        if (!load_copy(folder, e.file, &now, &why)) {
            item.problem = why;
        } else if (before && !load_copy(folder, before->file, &then, &why)) {
            item.problem = "the copy before it: " + why;
        } else if (before) {
            item.changes = config::compare(then, now);
        }
        out->items.push_back(std::move(item));
    }
    std::reverse(out->items.begin(), out->items.end());
    return true;
}

}  // namespace zavi::fleet
