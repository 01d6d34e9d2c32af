// Fuzzes the configuration file reader. A refused file says why and leaves the output alone;
// an accepted one writes back to a file that reads back equal, and writing is stable.
#include <string>
#include <vector>

#include "config/config_file.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zavi::config;
    const std::string text(reinterpret_cast<const char*>(data), size);
    Configuration out;
    out.firmware = "untouched";
    FileError error;
    std::vector<std::string> warnings;
    if (!parse_configuration(text, &out, &error, &warnings)) {
        FUZZ_CHECK(!error.message.empty(), "a refused file says why");
        FUZZ_CHECK(error.line >= 0 && error.column >= 0, "line and column count from 1");
        Configuration untouched;
        untouched.firmware = "untouched";
        FUZZ_CHECK(out == untouched, "a refused file changes nothing");
        return 0;
    }
    FUZZ_CHECK(check_configuration(out).empty(), "an accepted file keeps every rule");
    const std::string written = configuration_to_json(out);
    Configuration again;
    std::vector<std::string> none;
    FUZZ_CHECK(parse_configuration(written, &again, &error, &none), "what is written reads back");
    FUZZ_CHECK(again == out, "the written file is equal");
    FUZZ_CHECK(none.empty(), "the written file has no unknown fields");
    FUZZ_CHECK(configuration_to_json(again) == written, "writing is stable");
    return 0;
}
