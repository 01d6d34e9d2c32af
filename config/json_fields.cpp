#include "config/json_fields.h"

#include <algorithm>

namespace zavi::config {

std::string join(const std::string& path, const char* key) {
    return path.empty() ? key : path + "." + key;
}

const Json& field(const Json& object, const std::string& path, const char* key) {
    const auto it = object.find(key);
    if (it == object.end()) throw Bad{join(path, key), "missing"};
    return *it;
}

const std::string& text(const Json& v, const std::string& where) {
    if (!v.is_string()) throw Bad{where, "must be a text"};
    return v.get_ref<const std::string&>();
}

bool boolean(const Json& v, const std::string& where) {
    if (!v.is_boolean()) throw Bad{where, "must be true or false"};
    return v.get<bool>();
}

std::vector<std::string> numbers(const Json& v, const std::string& where, std::size_t max) {
    if (!v.is_array()) throw Bad{where, "must be a list"};
    if (v.size() > max) throw Bad{where, "holds more than " + std::to_string(max) + " numbers"};
    std::vector<std::string> out;
    for (std::size_t i = 0; i < v.size(); ++i)
        out.push_back(text(v[i], where + "[" + std::to_string(i) + "]"));
    return out;
}

void require_object(const Json& value, const std::string& path,
                    const std::vector<const char*>& keys) {
    if (!value.is_object()) throw Bad{path, "must be an object"};
    // Of several unknown keys the first in byte order is named, whatever the file's order.
    const std::string* unknown = nullptr;
    for (auto it = value.begin(); it != value.end(); ++it) {
        const std::string& key = it.key();
        if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return key == k; }) &&
            (!unknown || key < *unknown))
            unknown = &key;
    }
    if (unknown) throw Bad{path + "." + *unknown, "unknown field"};
}

void FieldReader::operator()(const char* key, std::optional<std::string>& out) {
    const Json& v = at(key);
    if (v.is_null())
        out.reset();
    else
        out = text(v, join(path_, key));
}

void FieldReader::operator()(const char* key, const char* const& expected) {
    const std::string where = join(path_, key);
    if (text(at(key), where) != expected)
        throw Bad{where, std::string("must be \"") + expected + "\" here"};
}

long long FieldReader::integer(const char* key, long long lo, long long hi) const {
    const Json& v = at(key);
    const std::string where = join(path_, key);
    if (!v.is_number_integer()) throw Bad{where, "must be a whole number"};
    const long long n = v.is_number_unsigned() && v.get<unsigned long long>() > 1ULL << 62
                            ? hi + 1
                            : v.get<long long>();
    if (n < lo || n > hi)
        throw Bad{where, "must be " + std::to_string(lo) + " to " + std::to_string(hi)};
    return n;
}

uint8_t FieldReader::choice(const char* key, const char* const* names, std::size_t n) const {
    const std::string where = join(path_, key);
    const std::string& s = text(at(key), where);
    for (std::size_t i = 0; i < n; ++i)
        if (s == names[i]) return static_cast<uint8_t>(i);
    std::string all;
    for (std::size_t i = 0; i < n; ++i) all += (i ? ", " : "") + std::string(names[i]);
    throw Bad{where, "must be one of " + all};
}

}  // namespace zavi::config
