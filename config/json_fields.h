// Reading and writing the configuration file's JSON values. An object's fields are listed once,
// as a function of an "io" and the value: the same list gives the allowed keys, the reader and
// the writer, so a key cannot be allowed, read or written in one place and forgotten in another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/json.h"

namespace zavi::config {

// Thrown inside the reader only, caught at its top: the JSON path and what is wrong there.
struct Bad {
    std::string path;
    std::string message;
};

std::string join(const std::string& path, const char* key);

// The value of `key`, or Bad "missing".
const Json& field(const Json& object, const std::string& path, const char* key);

const std::string& text(const Json& v, const std::string& where);

// At most `max` texts (the numbers themselves are checked later).
std::vector<std::string> numbers(const Json& v, const std::string& where, std::size_t max);

bool boolean(const Json& v, const std::string& where);

// Refuses anything but an object holding only `keys`.
void require_object(const Json& value, const std::string& path,
                    const std::vector<const char*>& keys);

// The three ways through a field list.
class FieldKeys {
  public:
    template <class T, class... Rest>
    void operator()(const char* key, const T&, const Rest&...) {
        keys.push_back(key);
    }
    std::vector<const char*> keys;
};

class FieldReader {
  public:
    FieldReader(const Json& object, const std::string& path) : object_(object), path_(path) {}

    void operator()(const char* key, bool& out) { out = boolean(at(key), join(path_, key)); }
    void operator()(const char* key, std::string& out) { out = text(at(key), join(path_, key)); }
    // null for "not set"
    void operator()(const char* key, std::optional<std::string>& out);
    // A whole number from lo to hi.
    template <class T>
    void operator()(const char* key, T& out, long long lo, long long hi) {
        out = static_cast<T>(integer(key, lo, hi));
    }
    // One of `names`, kept as its index.
    template <std::size_t N>
    void operator()(const char* key, uint8_t& out, const char* const (&names)[N]) {
        out = choice(key, names, N);
    }
    // One of two names, kept as bit `bit` of `byte`.
    void operator()(const char* key, uint8_t& byte, int bit, const char* const (&names)[2]) {
        byte = static_cast<uint8_t>(byte | choice(key, names, 2) << bit);
    }
    // One of `names`, or a number from 0 to 15 the names do not cover.
    template <std::size_t N>
    void operator()(const char* key, uint8_t& out, const char* const (&names)[N], bool numbers) {
        out = numbers && at(key).is_number_integer() ? static_cast<uint8_t>(integer(key, 0, 15))
                                                     : choice(key, names, N);
    }
    // A text that must be `expected` at this place.
    void operator()(const char* key, const char* const& expected);

  private:
    const Json& at(const char* key) const { return field(object_, path_, key); }
    long long integer(const char* key, long long lo, long long hi) const;
    uint8_t choice(const char* key, const char* const* names, std::size_t n) const;

    const Json& object_;
    const std::string& path_;
};

class FieldWriter {
  public:
    // A value as it stands; a range it was read within does not matter here.
    template <class T, class... Range>
    void operator()(const char* key, const T& value, const Range&...) {
        out[key] = value;
    }
    void operator()(const char* key, const std::optional<std::string>& value) {
        out[key] = value ? Json(*value) : Json(nullptr);
    }
    template <std::size_t N>
    void operator()(const char* key, const uint8_t& value, const char* const (&names)[N]) {
        out[key] = names[value % N];
    }
    void operator()(const char* key, const uint8_t& byte, int bit, const char* const (&names)[2]) {
        out[key] = names[byte >> bit & 1];
    }
    template <std::size_t N>
    void operator()(const char* key, const uint8_t& value, const char* const (&names)[N],
                    bool numbers) {
        if (numbers && value >= N)
            out[key] = value;
        else
            out[key] = names[value % N];
    }

    Json out = Json::object();
};

// Reads `value` at `path` into *v through `fields(io, v)`: unknown keys are refused first, then
// every field is read in the list's order.
template <class V, class Fields>
void read_fields(const Json& value, const std::string& path, V* v, Fields fields) {
    FieldKeys keys;
    fields(keys, *v);
    require_object(value, path, keys.keys);
    FieldReader reader(value, path);
    fields(reader, *v);
}

template <class V, class Fields>
Json write_fields(const V& v, Fields fields) {
    FieldWriter writer;
    fields(writer, v);
    return writer.out;
}

}  // namespace zavi::config
