// The end-to-end cases run as GoogleTest tests. Checks record what failed and go on, so one run of
// the real program reports every difference it shows; a report of every case is also kept as
// text, because under Wine's virtual desktop the driver's exit status and output are lost.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace e2e {

// Records a failed check of the running case (with where it was made).
void fail(const std::string& what, const char* file, int line);
// Adds a line to the running case's report without failing it.
void note(const std::string& what);

// While alive, failures are reported with `what` in front (a row of a table, say).
class Context {
  public:
    explicit Context(const std::string& what);

  private:
    ::testing::ScopedTrace trace_;
};

bool check(bool ok, const std::string& what, const char* file, int line);
bool check_equal(const std::string& actual, const std::string& expected, const std::string& what,
                 const char* file, int line);
bool check_equal(long long actual, long long expected, const std::string& what, const char* file,
                 int line);

// Runs the cases whose names contain `filter` (all when empty); prints the report, appends it to
// `report` and returns the number of failed cases.
int run_cases(const std::string& filter, std::string* report);

// Printable form of a text with its line breaks and non-ASCII bytes visible.
std::string printable(const std::string& text);

}  // namespace e2e

#define E2E_CASE(name) TEST(EndToEnd, name)

#define CHECK(cond) ::e2e::check((cond), #cond, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) \
    ::e2e::check_equal((actual), (expected), #actual, __FILE__, __LINE__)
