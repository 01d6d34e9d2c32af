#include "e2e/harness.h"

#include <windows.h>

#include <cstdio>

namespace e2e {

namespace {

struct Outcome {
    std::vector<std::string> failures;
    std::vector<std::string> notes;
    std::string skipped;
};

Outcome* current = nullptr;
std::vector<std::string> contexts;

std::string where(const char* file, int line) {
    std::string f = file;
    const auto slash = f.find_last_of("/\\");
    if (slash != std::string::npos) f = f.substr(slash + 1);
    return f + ":" + std::to_string(line);
}

}  // namespace

std::vector<Case>& cases() {
    static std::vector<Case> all;
    return all;
}

void fail(const std::string& what, const char* file, int line) {
    std::string prefix;
    for (const std::string& c : contexts) prefix += "[" + c + "] ";
    if (current) current->failures.push_back(where(file, line) + ": " + prefix + what);
}

Context::Context(std::string what) {
    contexts.push_back(std::move(what));
}

Context::~Context() {
    contexts.pop_back();
}

void skip(const std::string& why) {
    if (current && current->skipped.empty()) current->skipped = why;
}

void note(const std::string& what) {
    if (current) current->notes.push_back(what);
}

bool check(bool ok, const std::string& what, const char* file, int line) {
    if (!ok) fail("expected " + what, file, line);
    return ok;
}

std::string quoted(const std::string& text) {
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
    fail(what + " is " + quoted(actual) + ", expected " + quoted(expected), file, line);
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
    int passed = 0, failed = 0, skipped = 0;
    auto say = [&](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        *report += line + "\n";
    };
    for (const Case& c : cases()) {
        if (!filter.empty() && std::string(c.name).find(filter) == std::string::npos) continue;
        Outcome outcome;
        current = &outcome;
        const DWORD start = GetTickCount();
        c.run();
        current = nullptr;
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, " (%.1f s)", (GetTickCount() - start) / 1000.0);
        if (!outcome.failures.empty()) {
            ++failed;
            say(std::string("FAIL ") + c.name + seconds);
            for (const std::string& f : outcome.failures) say("     " + f);
        } else if (!outcome.skipped.empty()) {
            ++skipped;
            say(std::string("SKIP ") + c.name + seconds + ": skipped: " + outcome.skipped);
        } else {
            ++passed;
            say(std::string("ok   ") + c.name + seconds);
        }
        for (const std::string& n : outcome.notes) say("     note: " + n);
    }
    say(std::to_string(passed) + " passed, " + std::to_string(failed) + " failed, " +
        std::to_string(skipped) + " skipped");
    return failed;
}

}  // namespace e2e
