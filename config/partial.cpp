#include "config/partial.h"

#include "config/record_table.h"

namespace zavi::config {

namespace {

// Values every check accepts, standing in for the records a partial file leaves out. They are
// never written, compared or saved: `held` says they are not there.
Configuration filler() {
    Configuration c;
    c.alarm_settings.t1_high = c.alarm_settings.t2_high = 1;
    return c;
}

bool on_request(const FileRecord& r) {
    return record_row(r.first).on_request;
}

bool holds(const Configuration& cfg, const FileRecord& r) {
    if (on_request(r)) return cfg.sim_codes.has_value();
    return cfg.held[static_cast<std::size_t>(r.first)];
}

void set_held(Configuration* cfg, const FileRecord& r, bool value) {
    for (auto i = static_cast<std::size_t>(r.first); i <= static_cast<std::size_t>(r.last); ++i)
        cfg->held[i] = value;
}

}  // namespace

// A record with no key of its own belongs to the key before it.
std::span<const FileRecord> file_records() {
    static const std::vector<FileRecord> records = [] {
        std::vector<FileRecord> out;
        for (const Record r : file_order()) {
            auto last = static_cast<std::size_t>(r);
            while (last + 1 < kRecordCount && !record_row(static_cast<Record>(last + 1)).file_key)
                ++last;
            out.push_back({record_row(r).file_key, r, static_cast<Record>(last)});
        }
        return out;
    }();
    return records;
}

const FileRecord* find_file_record(std::string_view key) {
    for (const FileRecord& r : file_records())
        if (key == r.key) return &r;
    return nullptr;
}

std::string file_record_names() {
    std::string out;
    for (const FileRecord& r : file_records())
        out += (out.empty() ? "" : ", ") + std::string(r.key);
    return out;
}

bool open_partial(Json* root, Configuration* shape, FileError* error) {
    if (!root->is_object() || !root->contains(kPartialKey)) return true;
    const Json& flag = (*root)[kPartialKey];
    if (!flag.is_boolean()) {
        *error = {0, 0, kPartialKey, "must be true or false"};
        return false;
    }
    const bool partial = flag.get<bool>();
    root->erase(kPartialKey);
    if (!partial) return true;
    shape->partial = true;
    const Json neutral = parse_json(configuration_to_json(filler()));
    for (const FileRecord& r : file_records()) {
        if (on_request(r)) continue;  // optional in every file
        const bool present = root->contains(r.key);
        set_held(shape, r, present);
        if (!present) (*root)[r.key] = neutral[r.key];
    }
    return true;
}

void drop_records_not_held(const Configuration& cfg, Json* root) {
    for (const FileRecord& r : file_records())
        if (!holds(cfg, r)) root->erase(r.key);
}

bool make_template(const Configuration& full, const std::vector<std::string>& keys,
                   Configuration* out, std::string* error) {
    Configuration t = full;
    t.partial = true;
    t.held.reset();
    bool sim_codes = false;
    for (const std::string& key : keys) {
        const FileRecord* r = find_file_record(key);
        if (!r) {
            *error = "unknown record \"" + key + "\" (records: " + file_record_names() + ")";
            return false;
        }
        if (!holds(full, *r)) {
            *error = "the file holds no " + key;
            return false;
        }
        set_held(&t, *r, true);
        sim_codes = sim_codes || on_request(*r);
    }
    // SIM codes are held by having a value.
    t.held.set(static_cast<std::size_t>(Record::sim_codes));
    if (!sim_codes) t.sim_codes.reset();
    *out = std::move(t);
    return true;
}

}  // namespace zavi::config
