#include "bridge/bridge_options.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace zavi::bridge {

namespace {

constexpr std::size_t kMaxPasswordFile = 4096;

// The whole of `text` as a number, or false.
template <class T>
bool parse_number(const std::string& text, T* value) {
    const auto end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, *value);
    return !text.empty() && r.ec == std::errc() && r.ptr == end;
}

}  // namespace

bool parse_broker(const std::string& text, BrokerAddress* out, std::string* why) {
    const auto refuse = [why](std::string message) {
        *why = std::move(message);
        return false;
    };
    BrokerAddress a;
    a.host = text;  // also a bare IPv6 address
    std::optional<std::string> port;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        const std::string rest = close == std::string::npos ? "" : text.substr(close + 1);
        if (close == std::string::npos || (!rest.empty() && rest.front() != ':'))
            return refuse("--broker: \"" + text + "\" is not [IPv6-ADDRESS]:PORT");
        a.host = text.substr(1, close - 1);
        if (!rest.empty()) port = rest.substr(1);
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        const auto colon = text.find(':');
        a.host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (a.host.empty() || a.host.find_first_of(std::string(" \t\0/", 4)) != std::string::npos)
        return refuse("--broker needs HOST or HOST:PORT, not \"" + text + "\"");
    if (port && (!parse_number(*port, &a.port) || a.port < 1 || a.port > 65535))
        return refuse("--broker: the port must be 1 to 65535 in \"" + text + "\"");
    *out = a;
    return true;
}

bool parse_interval(const std::string& text, double* seconds, std::string* why) {
    double value = 0;
    if (!parse_number(text, &value) || !(value >= 0.5) || !(value <= 3600)) {
        *why = "--interval needs seconds from 0.5 to 3600, not \"" + text + "\"";
        return false;
    }
    *seconds = value;
    return true;
}

bool read_password_file(const std::string& path, PasswordFile* out, std::string* why) {
    namespace fs = std::filesystem;
    const auto refuse = [&](const char* what) {
        *why = "the password file " + path + what;
        return false;
    };
    const fs::path p(std::u8string(path.begin(), path.end()));
    std::error_code ec;
    const fs::file_status status = fs::status(p, ec);
    if (ec || !fs::exists(status)) return refuse(" does not exist");
    if (!fs::is_regular_file(status)) return refuse(" is not a file");
    PasswordFile result;
    if ((status.permissions() & (fs::perms::others_read | fs::perms::group_read)) !=
        fs::perms::none)
        result.warnings.push_back("the password file " + path +
                                  " can be read by other users; chmod 600 it");
    // One byte past the limit is enough to know the file is too large.
    std::ifstream in(p, std::ios::binary);
    std::string text(kMaxPasswordFile + 1, '\0');
    if (in) in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (!in && !in.eof()) return refuse(" cannot be read");
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxPasswordFile) return refuse(" is larger than 4 KiB");
    const auto end = text.find_first_of("\r\n");
    result.password = text.substr(0, end);
    if (result.password.find('\0') != std::string::npos) return refuse(" holds a NUL character");
    if (result.password.empty())
        result.warnings.push_back("the password file " + path + " is empty");
    *out = std::move(result);
    return true;
}

}  // namespace zavi::bridge
