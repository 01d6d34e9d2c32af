#include "tests/support/link_fixture.h"

namespace zavi::test {

Bytes text_bytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Bytes wire_text(const std::string& s) {
    Bytes out;
    out.reserve(s.size() + 1);
    out.push_back(static_cast<uint8_t>(s.size()));
    for (char c : s) out.push_back(static_cast<uint8_t>(c));
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace zavi::test
