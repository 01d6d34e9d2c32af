// A tiny assertion harness for the end-to-end driver: named cases, checks that record what
// failed and go on, skips that say why, and one report line per case.
#pragma once

#include <string>
#include <vector>

namespace e2e {

using CaseFn = void (*)();

struct Case {
    const char* name;
    CaseFn run;
};

std::vector<Case>& cases();

struct Registrar {
    Registrar(const char* name, CaseFn run) { cases().push_back({name, run}); }
};

// Records a failed check of the running case (with where it was made).
void fail(const std::string& what, const char* file, int line);
// Marks the running case as skipped; checks made so far still count.
void skip(const std::string& why);
// Adds a line to the running case's report without failing it.
void note(const std::string& what);

// While alive, failures are reported with `what` in front (a row of a table, say).
class Context {
  public:
    explicit Context(std::string what);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
};

bool check(bool ok, const std::string& what, const char* file, int line);
bool check_equal(const std::string& actual, const std::string& expected, const std::string& what,
                 const char* file, int line);
bool check_equal(long long actual, long long expected, const std::string& what, const char* file,
                 int line);

// Runs the cases whose names contain `filter` (all when empty); prints the report and returns the
// number of failed cases.
int run_cases(const std::string& filter, std::string* report);

// Printable form of a text with its line breaks and non-ASCII bytes visible.
std::string quoted(const std::string& text);

}  // namespace e2e

#define E2E_CASE(name)                                     \
    static void name();                                    \
    static ::e2e::Registrar name##_registrar(#name, name); \
    static void name()

#define CHECK(cond) ::e2e::check((cond), #cond, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) \
    ::e2e::check_equal((actual), (expected), #actual, __FILE__, __LINE__)
