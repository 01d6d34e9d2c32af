// Every message of zavi-gsm-cli: one line on stderr, "zavi-gsm-cli: " in front.
#pragma once

#include <ostream>
#include <string_view>

namespace zavi::cli {

constexpr std::string_view kToolPrefix = "zavi-gsm-cli: ";

// Writes the parts as one line, at once (a message must not wait behind a long operation).
template <class... Parts>
void tell(std::ostream& err, const Parts&... parts) {
    err << kToolPrefix;
    (err << ... << parts);
    err << '\n' << std::flush;
}

template <class... Parts>
void warn(std::ostream& err, const Parts&... parts) {
    tell(err, "warning: ", parts...);
}

// Tells why the command ends, and gives its exit code back.
template <class... Parts>
int fail(std::ostream& err, int code, const Parts&... parts) {
    tell(err, parts...);
    return code;
}

}  // namespace zavi::cli
