// Base of the link tests: fresh records, the link's read time-out back at 1000 ms, and a
// scripted driver installed as the process's driver.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "link/connection.h"
#include "link/records.h"
#include "tests/support/scripted_driver.h"

namespace zavi::test {

struct FreshLink {
    FreshLink() {
        reset_all_records();
        set_link_timeouts(nullptr, kReadTimeoutMs,
                          kWriteTimeoutMs);  // no driver yet: only remembered
    }
};

class LinkTest : public ::testing::Test, private FreshLink {
  protected:
    ScriptedDriver drv;
    DriverHandle h = drv.handle();
};

Bytes text_bytes(const std::string& s);
// Length byte and characters, as texts travel in answers.
Bytes wire_text(const std::string& s);
Bytes concat(std::initializer_list<Bytes> parts);

// A byte-for-byte copy of a record, to show that a failed command left it alone.
template <class T>
bool same_bytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

}  // namespace zavi::test
