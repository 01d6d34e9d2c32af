#include "e2e/harness.h"

#include <cstdio>

namespace e2e {

namespace {

// Mirrors GoogleTest's progress into the text report, one line per case and per failure.
class ReportListener : public ::testing::EmptyTestEventListener {
  public:
    explicit ReportListener(std::string& report) : report_(report) {}

    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (result.failed()) {
            failures_ += std::string("     ") + file_name(result.file_name()) + ":" +
                         std::to_string(result.line_number()) + ": " + result.message() + "\n";
        }
    }

    void OnTestEnd(const ::testing::TestInfo& info) override {
        const ::testing::TestResult& result = *info.result();
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, " (%.1f s)", result.elapsed_time() / 1000.0);
        const char* verdict = result.Failed() ? "FAIL " : result.Skipped() ? "SKIP " : "ok   ";
        say(verdict + std::string(info.name()) + seconds + "\n" + failures_ + notes_);
        failures_.clear();
        notes_.clear();
    }

    void OnTestProgramEnd(const ::testing::UnitTest& unit) override {
        say(std::to_string(unit.successful_test_count()) + " passed, " +
            std::to_string(unit.failed_test_count()) + " failed, " +
            std::to_string(unit.skipped_test_count()) + " skipped\n");
    }

    void add_note(const std::string& what) { notes_ += "     note: " + what + "\n"; }

  private:
    static const char* file_name(const char* path) {
        if (path == nullptr) return "?";
        const char* name = path;
        for (const char* p = path; *p; ++p)
            if (*p == '/' || *p == '\\') name = p + 1;
        return name;
    }

    void say(const std::string& lines) {
        std::fputs(lines.c_str(), stdout);
        std::fflush(stdout);
        report_ += lines;
    }

    std::string& report_;
    std::string failures_;
    std::string notes_;
};

ReportListener* listener = nullptr;

}  // namespace

void fail(const std::string& what, const char* file, int line) {
    ADD_FAILURE_AT(file, line) << what;
}

void note(const std::string& what) {
    if (listener) listener->add_note(what);
}

Context::Context(const std::string& what) : trace_(__FILE__, __LINE__, what) {}

bool check(bool ok, const std::string& what, const char* file, int line) {
    if (!ok) fail("expected " + what, file, line);
    return ok;
}

std::string printable(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '"') {
            out += "\\\"";
        } else if (c < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

bool check_equal(const std::string& actual, const std::string& expected, const std::string& what,
                 const char* file, int line) {
    if (actual == expected) return true;
    fail(what + " is " + printable(actual) + ", expected " + printable(expected), file, line);
    return false;
}

bool check_equal(long long actual, long long expected, const std::string& what, const char* file,
                 int line) {
    if (actual == expected) return true;
    fail(what + " is " + std::to_string(actual) + ", expected " + std::to_string(expected), file,
         line);
    return false;
}

int run_cases(const std::string& filter, std::string* report) {
    int argc = 1;
    char name[] = "zavi_e2e";
    char* argv[] = {name, nullptr};
    ::testing::InitGoogleTest(&argc, argv);
    if (!filter.empty()) ::testing::GTEST_FLAG(filter) = "*" + filter + "*";
    // The listener's lines replace GoogleTest's own printer, which would say everything twice.
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    delete listeners.Release(listeners.default_result_printer());
    listener = new ReportListener(*report);
    listeners.Append(listener);
    if (RUN_ALL_TESTS() != 0) return ::testing::UnitTest::GetInstance()->failed_test_count() + 1;
    return 0;
}

}  // namespace e2e
