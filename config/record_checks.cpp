#include "config/record_checks.h"

#include <algorithm>
#include <set>

#include "config/configuration.h"
#include "config/record_values.h"
#include "link/module_text.h"

namespace zavi::config {

bool all_digits(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

bool upper_hex(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char ch) {
        return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F');
    });
}

FileError broken(std::string path, std::string message, FileFault fault, int item,
                 std::string value) {
    return {0, 0, std::move(path), std::move(message), fault, item, std::move(value)};
}

void check_numbers(const std::vector<std::string>& list, const char* name,
                   std::vector<FileError>* out) {
    std::set<std::string> seen;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = std::string(name) + "[" + std::to_string(i) + "]";
        const std::string& n = list[i];
        const int item = static_cast<int>(i) + 1;
        if (n.empty())
            out->push_back(broken(where, "must be 1 to 14 digits without \"+\" (it is empty)",
                                  FileFault::number_empty, item));
        else if (n.size() > kNumberMaxDigits || !all_digits(n))
            out->push_back(broken(where, "must be 1 to 14 digits without \"+\"",
                                  FileFault::number_form, item, n));
        else if (!seen.insert(n).second)
            out->push_back(
                broken(where, "duplicate number " + n, FileFault::number_repeated, item, n));
    }
}

// Allowed: printable ASCII and U+00A0-U+00FF; at most 40 characters.
void check_name(const std::string& name, std::size_t index, std::vector<FileError>* out) {
    const std::string where = std::string("io_names.") + kIoNameKeys[index];
    const int item = static_cast<int>(index);
    const std::optional<std::string> module_text = utf8_to_module_text(name);
    if (!module_text) {
        out->push_back(broken(where, "holds a character the module cannot keep",
                              FileFault::name_character, item));
        return;
    }
    const std::string& bytes = *module_text;
    // A NUL would end the name in the module: it cannot come from one.
    if (bytes.find('\0') != std::string::npos) {
        out->push_back(broken(where, "holds a NUL character the module cannot keep",
                              FileFault::name_character, item));
        return;
    }
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || (b >= 0x7F && b < 0xA0)) {
            out->push_back(broken(where, "holds a control character the module cannot show",
                                  FileFault::name_control, item));
            break;
        }
    }
    if (bytes.size() > kNameMaxLength)
        out->push_back(broken(where, "is longer than 40 characters", FileFault::name_length, item));
}

void check_code(const std::optional<std::string>& code, std::size_t digits, const char* where,
                std::vector<FileError>* out) {
    if (!code) return;
    const std::string message = "must be " + std::to_string(digits) + " digits or null";
    if (code->size() == digits && all_digits(*code)) return;
    if (code->size() == digits && upper_hex(*code))
        out->push_back(broken(where, message + " (it holds a digit above 9)", FileFault::code_hex));
    else
        out->push_back(broken(where, message, FileFault::code_form));
}

}  // namespace zavi::config
