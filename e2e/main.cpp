// The end-to-end driver: starts the real program beside the drop-in simulated FTD2XX.dll and
// drives it from outside as a user would, case by case. Exits 1 when a case failed.
//
//   zavi_e2e.exe --program zavi-gsm.exe --library FTD2XX.dll --work FOLDER
//                [--shots FOLDER] [--filter TEXT] [--report FILE]
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "e2e/harness.h"
#include "e2e/session.h"
#include "win32/wide_text.h"

int wmain(int argc, wchar_t** argv) {
    using namespace e2e;
    std::wstring filter, report_path;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring option = argv[i], value = argv[i + 1];
        if (option == L"--program")
            paths().program = value;
        else if (option == L"--library")
            paths().library = value;
        else if (option == L"--work")
            paths().work = value;
        else if (option == L"--shots")
            paths().shots = value;
        else if (option == L"--filter")
            filter = value;
        else if (option == L"--report")
            report_path = value;
        else {
            std::fprintf(stderr, "unknown option %ls\n", option.c_str());
            return 2;
        }
    }
    std::error_code error;
    if (paths().program.empty() || paths().library.empty() || paths().work.empty() ||
        !std::filesystem::exists(paths().program, error) ||
        !std::filesystem::exists(paths().library, error)) {
        std::fprintf(stderr,
                     "usage: zavi_e2e --program zavi-gsm.exe --library FTD2XX.dll --work FOLDER "
                     "[--shots FOLDER] [--filter TEXT] [--report FILE]\n");
        return 2;
    }
    std::filesystem::create_directories(paths().work, error);

    std::string report;
    const int failed = run_cases(zavi::from_wide(filter), &report);
    if (!report_path.empty()) {
        std::ofstream out{std::filesystem::path(report_path), std::ios::trunc};
        out << report << (failed ? "RESULT: FAIL\n" : "RESULT: PASS\n");
    }
    return failed ? 1 : 0;
}
