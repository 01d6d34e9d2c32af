// Fuzzes the settings file loader with files of any contents and length: exactly one byte is
// loaded unchanged, anything else fails and leaves the language alone; a save of what was
// loaded reads back the same.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/settings.h"
#include "fuzz/fuzz_check.h"
#include "ui/ui_language.h"

namespace {

// In memory when the system offers it: a file written on every input is otherwise the slowest
// part by far.
const std::string& scratch_file() {
    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string folder = tmp && *tmp ? tmp : "/tmp";
        if (access("/dev/shm", W_OK) == 0) folder = "/dev/shm";
        return folder + "/zavi-fuzz-settings-" + std::to_string(getpid()) + ".db";
    }();
    return path;
}

struct RemoveAtExit {
    ~RemoveAtExit() { std::remove(scratch_file().c_str()); }
} remove_at_exit;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zavi;
    const std::string& path = scratch_file();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(f != nullptr, "scratch file can be written");
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);

    ui_language = 0x5A;
    const uint8_t result = load_settings(path.c_str());
    if (size == 1) {
        FUZZ_CHECK(result == 0 && ui_language == data[0], "one byte is loaded unchanged");
    } else {
        FUZZ_CHECK(result == 1 && ui_language == 0x5A, "any other length fails, language kept");
        return 0;
    }
    FUZZ_CHECK(save_settings(path.c_str()) == 0, "the loaded language is saved");
    ui_language = static_cast<uint8_t>(~data[0]);
    FUZZ_CHECK(load_settings(path.c_str()) == 0 && ui_language == data[0],
               "what was saved loads back");
    return 0;
}
