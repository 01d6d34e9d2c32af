// Fuzzes the configuration file reader. A refused file says why and leaves the output alone;
// an accepted one keeps every rule (a backup of a module: only values a module can hold, each
// warned about), writes back to a file that reads back equal, and writing is stable.
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
    std::vector<FileError> warnings;
    FileOrigin origin = FileOrigin::hand_made;
    if (!parse_configuration(text, &out, &error, &warnings, &origin)) {
        FUZZ_CHECK(!error.message.empty(), "a refused file says why");
        FUZZ_CHECK(error.line >= 0 && error.column >= 0, "line and column count from 1");
        Configuration untouched;
        untouched.firmware = "untouched";
        FUZZ_CHECK(out == untouched, "a refused file changes nothing");
        return 0;
    }
    const std::vector<FileError> broken = check_configuration(out);
    if (origin == FileOrigin::hand_made)
        FUZZ_CHECK(broken.empty(), "an accepted hand-made file keeps every rule");
    for (const FileError& b : broken) {
        FUZZ_CHECK(module_may_hold(b), "a backup keeps only what a module can hold");
        bool warned = false;
        for (const FileError& w : warnings)
            warned = warned || (w.path == b.path && w.fault == b.fault);
        FUZZ_CHECK(warned, "each kept value is warned about");
    }
    const std::string written = configuration_to_json(out, origin);
    Configuration again;
    std::vector<FileError> next;
    FileOrigin again_origin = FileOrigin::hand_made;
    FUZZ_CHECK(parse_configuration(written, &again, &error, &next, &again_origin),
               "what is written reads back");
    FUZZ_CHECK(again == out && again_origin == origin, "the written file is equal");
    for (const FileError& w : next)
        FUZZ_CHECK(w.fault != FileFault::unknown_field, "the written file has no unknown fields");
    FUZZ_CHECK(configuration_to_json(again, origin) == written, "writing is stable");
    return 0;
}
