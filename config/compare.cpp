#include "config/compare.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>

#include "config/config_file.h"

namespace zavi::config {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

// Both configurations written out as files: comparing their JSON trees gives the paths and the
// texts exactly as the file shows them.
ordered_json tree(const Configuration& c) {
    return ordered_json::parse(configuration_to_json(c));
}

bool is_number_list(const std::string& path) {
    return path == "emergency_numbers" || path == "accepted_numbers";
}

void compare_lists(const std::string& path, const ordered_json& a, const ordered_json& b,
                   std::vector<Difference>* out) {
    if (a == b) return;
    std::vector<std::string> old_list = a, new_list = b;
    const std::set<std::string> old_set(old_list.begin(), old_list.end());
    const std::set<std::string> new_set(new_list.begin(), new_list.end());
    bool changed = false;
    for (const auto& n : new_list)
        if (!old_set.count(n)) out->push_back({path, "", json(n).dump()}), changed = true;
    for (const auto& n : old_list)
        if (!new_set.count(n)) out->push_back({path, json(n).dump(), ""}), changed = true;
    if (!changed) out->push_back({path, a.dump(), b.dump()});
}

void walk(const std::string& path, const ordered_json& a, const ordered_json& b,
          std::vector<Difference>* out) {
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

std::vector<Difference> compare(const Configuration& old_cfg, const Configuration& new_cfg) {
    ordered_json a = tree(old_cfg), b = tree(new_cfg);
    // When the file was made, and by which firmware, is not configuration.
    for (const char* key : {"saved_at", "firmware"}) a.erase(key), b.erase(key);
    // SIM codes are compared only when both sides hold them.
    if (!a.contains("sim_codes") || !b.contains("sim_codes"))
        a.erase("sim_codes"), b.erase("sim_codes");
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
            for (std::size_t k = i; k < end; ++k) {
                const bool add = diffs[k].old_value.empty();
                const std::string number =
                    json::parse(add ? diffs[k].new_value : diffs[k].old_value);
                lines.push_back((add ? "+" : "-") + number);
            }
        }
        i = end;
    }
    return lines;
}

std::string differences_json(const std::vector<Difference>& diffs) {
    ordered_json out = ordered_json::array();
    for (const Difference& d : diffs) {
        ordered_json item;
        item["path"] = d.path;
        item["old"] =
            d.old_value.empty() ? ordered_json(nullptr) : ordered_json::parse(d.old_value);
        item["new"] =
            d.new_value.empty() ? ordered_json(nullptr) : ordered_json::parse(d.new_value);
        out.push_back(item);
    }
    return out.dump(2) + "\n";
}

}  // namespace zavi::config
