// The bridge's settings as the command line gives them, checked before anything connects.
#pragma once

#include <string>
#include <vector>

namespace zavi::bridge {

constexpr int kDefaultPort = 1883;
constexpr int kDefaultTlsPort = 8883;
constexpr double kDefaultInterval = 10.0;

struct BrokerAddress {
    std::string host;
    int port = 0;  // 0: the default for plain or TLS
};

// "host", "host:1883", "[::1]:1883", "::1". False with the reason in *why.
bool parse_broker(const std::string& text, BrokerAddress* out, std::string* why);

// Seconds between status reads: 0.5 to 3600. False with the reason in *why.
bool parse_interval(const std::string& text, double* seconds, std::string* why);

struct PasswordFile {
    std::string password;
    std::vector<std::string> warnings;
};

// The first line of `path` (without its line end). A missing or unreadable file, or one
// larger than 4 KiB, is an error; one that others may read is a warning.
bool read_password_file(const std::string& path, PasswordFile* out, std::string* why);

}  // namespace zavi::bridge
