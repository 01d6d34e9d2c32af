#include "config/compare.h"

#include <algorithm>
#include <map>

#include "config/config_file.h"
#include "config/json.h"
#include "config/partial.h"

namespace zavi::config {

namespace {

// Both configurations written out as files: comparing their JSON trees gives the paths and the
// texts exactly as the file shows them.
Json tree(const Configuration& c) {
    return parse_json(configuration_to_json(c));
}

// How often each number is in `list`.
std::map<std::string, int> counts(const std::vector<std::string>& list) {
    std::map<std::string, int> out;
    for (const auto& n : list) ++out[n];
    return out;
}

// The occurrences of `list` beyond what `other` holds of the same number, in list order.
void surplus(const std::string& path, const std::vector<std::string>& list,
             const std::map<std::string, int>& own, const std::map<std::string, int>& other,
             bool added, std::vector<Difference>* out) {
    std::map<std::string, int> seen;
    for (const auto& n : list) {
        const auto it = other.find(n);
        const int kept = it == other.end() ? 0 : it->second;
        if (++seen[n] <= kept) continue;
        Difference d{path, "", "", 0, 0};
        (added ? d.new_value : d.old_value) = Json(n).dump();
        d.old_count = added ? kept : own.at(n);
        d.new_count = added ? own.at(n) : kept;
        out->push_back(std::move(d));
    }
}

void compare_lists(const std::string& path, const Json& a, const Json& b,
                   std::vector<Difference>* out) {
    if (a == b) return;
    const std::vector<std::string> old_list = a, new_list = b;
    const auto old_counts = counts(old_list), new_counts = counts(new_list);
    if (old_counts == new_counts) {
        out->push_back({path, a.dump(), b.dump()});
        return;
    }
    surplus(path, new_list, new_counts, old_counts, true, out);
    surplus(path, old_list, old_counts, new_counts, false, out);
}

void walk(const std::string& path, const Json& a, const Json& b, std::vector<Difference>* out) {
    if (is_number_list(path) && a.is_array() && b.is_array()) {
        compare_lists(path, a, b, out);
    } else if (a.is_object() && b.is_object()) {
        for (const auto& [key, value] : a.items()) {
            const std::string sub = path.empty() ? key : path + "." + key;
            if (b.contains(key))
                walk(sub, value, b[key], out);
            else
                out->push_back({sub, value.dump(), ""});
        }
        for (const auto& [key, value] : b.items())
            if (!a.contains(key))
                out->push_back({path.empty() ? key : path + "." + key, "", value.dump()});
    } else if (a.is_array() && b.is_array() && a.size() == b.size()) {
        for (std::size_t i = 0; i < a.size(); ++i)
            walk(path + "[" + std::to_string(i) + "]", a[i], b[i], out);
    } else if (a != b) {
        out->push_back({path, a.dump(), b.dump()});
    }
}

}  // namespace

bool is_number_list(const std::string& path) {
    return path == "emergency_numbers" || path == "accepted_numbers";
}

std::vector<NumberChange> number_changes(std::span<const Difference> items) {
    std::vector<NumberChange> out;
    for (const Difference& d : items) {
        if (d.old_value.empty() == d.new_value.empty()) continue;  // order only
        const bool added = d.old_value.empty();
        const std::string number = parse_json(added ? d.new_value : d.old_value);
        auto same = std::find_if(out.begin(), out.end(), [&](const NumberChange& n) {
            return n.added == added && n.number == number;
        });
        if (same != out.end()) {
            ++same->changed;
        } else {
            out.push_back({number, added, 1, added ? d.new_count : d.old_count});
        }
    }
    return out;
}

std::string multiplicity(const NumberChange& n) {
    if (n.total <= 1) return "";
    return " (" + std::to_string(n.changed) + " of " + std::to_string(n.total) + ")";
}

std::vector<Difference> compare(const Configuration& old_cfg, const Configuration& new_cfg) {
    Json a = tree(old_cfg), b = tree(new_cfg);
    // When the file was made, and by which firmware, is not configuration.
    for (const char* key : {kSavedAtKey, kFirmwareKey}) a.erase(key), b.erase(key);
    // A record is compared only when both sides hold it: SIM codes, a partial file's records.
    a.erase(kPartialKey), b.erase(kPartialKey);
    for (const FileRecord& r : file_records())
        if (!a.contains(r.key) || !b.contains(r.key)) a.erase(r.key), b.erase(r.key);
    std::vector<Difference> out;
    walk("", a, b, &out);
    return out;
}

std::vector<std::string> difference_lines(const std::vector<Difference>& diffs) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < diffs.size();) {
        const Difference& d = diffs[i];
        if (!is_number_list(d.path)) {
            lines.push_back(d.path + ": " + (d.old_value.empty() ? "(none)" : d.old_value) +
                            " -> " + (d.new_value.empty() ? "(none)" : d.new_value));
            ++i;
            continue;
        }
        std::size_t end = i;
        int added = 0, removed = 0;
        while (end < diffs.size() && diffs[end].path == d.path) {
            if (diffs[end].old_value.empty()) ++added;
            if (diffs[end].new_value.empty()) ++removed;
            ++end;
        }
        if (added == 0 && removed == 0) {
            lines.push_back(d.path + ": order changed");
        } else {
            lines.push_back(d.path + ": " + std::to_string(added) + " added, " +
                            std::to_string(removed) + " removed");
            for (const NumberChange& n : number_changes({diffs.data() + i, end - i}))
                lines.push_back((n.added ? "+" : "-") + n.number + multiplicity(n));
        }
        i = end;
    }
    return lines;
}

std::string differences_json(const std::vector<Difference>& diffs) {
    Json out = Json::array();
    for (const Difference& d : diffs) {
        Json item;
        item["path"] = d.path;
        item["old"] = d.old_value.empty() ? Json(nullptr) : parse_json(d.old_value);
        item["new"] = d.new_value.empty() ? Json(nullptr) : parse_json(d.new_value);
        if (d.old_count > 1 || d.new_count > 1) {
            item["old_count"] = d.old_count;
            item["new_count"] = d.new_count;
        }
        out.push_back(item);
    }
    return out.dump(2) + "\n";
}

}  // namespace zavi::config
