// The end-to-end driver: starts the real program beside the drop-in simulated FTD2XX.dll and
// drives it from outside as a user would, case by case. Exits 1 when a case failed.
//
//   zavi_e2e.exe --program zavi-gsm.exe --library FTD2XX.dll --work FOLDER
//                [--shots FOLDER] [--filter TEXT] [--report FILE]
//   zavi_e2e.exe --demo FOLDER --shot FILE.png    (the demo: start, screenshot, close)
//
// An installed program (an unpacked zip, say) is run where it is with --start-in FOLDER as its
// working folder, or as its Start-menu shortcut says with --shortcut FILE.lnk (instead of
// --program); the library is put beside it for the run only.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "e2e/demo.h"
#include "e2e/harness.h"
#include "e2e/session.h"
#include "e2e/shortcut.h"
#include "win32/wide_text.h"

int wmain(int argc, wchar_t** argv) {
    using namespace e2e;
    std::wstring filter, report_path, demo, shot, shortcut;
    const struct {
        const wchar_t* name;
        std::wstring* value;
    } options[] = {{L"--program", &paths().program},
                   {L"--library", &paths().library},
                   {L"--work", &paths().work},
                   {L"--shots", &paths().shots},
                   {L"--start-in", &paths().start_in},
                   {L"--shortcut", &shortcut},
                   {L"--filter", &filter},
                   {L"--report", &report_path},
                   {L"--demo", &demo},
                   {L"--shot", &shot}};
    for (int i = 1; i < argc; i += 2) {
        bool known = false;
        for (const auto& option : options) {
            if (std::wstring(argv[i]) != option.name || i + 1 >= argc) continue;
            *option.value = argv[i + 1];
            known = true;
        }
        if (!known) {
            std::fprintf(stderr, "unknown option or missing value: %ls\n", argv[i]);
            return 2;
        }
    }
    if (!demo.empty()) return run_demo(demo, shot);
    std::string notes;
    if (!shortcut.empty()) {
        std::string error;
        const auto link = read_shortcut(shortcut, &error);
        if (!link) {
            std::fprintf(stderr, "cannot read the shortcut %ls: %s\n", shortcut.c_str(),
                         error.c_str());
            return 2;
        }
        paths().program = link->program;
        paths().start_in = link->working_folder;
        notes = "shortcut: program " + zavi::from_wide(link->program) + ", working folder " +
                zavi::from_wide(link->working_folder) + "\n";
        std::fputs(notes.c_str(), stdout);
        if (link->working_folder.empty()) {
            std::fprintf(stderr, "the shortcut has no working folder\n");
            return 2;
        }
    }
    std::error_code error;
    if (paths().program.empty() || paths().library.empty() || paths().work.empty() ||
        !std::filesystem::exists(paths().program, error) ||
        !std::filesystem::exists(paths().library, error)) {
        std::fprintf(stderr,
                     "usage: zavi_e2e --program zavi-gsm.exe | --shortcut FILE.lnk "
                     "--library FTD2XX.dll --work FOLDER [--start-in FOLDER] [--shots FOLDER] "
                     "[--filter TEXT] [--report FILE]\n");
        return 2;
    }
    std::filesystem::create_directories(paths().work, error);

    std::string report = notes;
    const int failed = run_cases(zavi::from_wide(filter), &report);
    if (!report_path.empty()) {
        std::ofstream out{std::filesystem::path(report_path), std::ios::trunc};
        out << report << (failed ? "RESULT: FAIL\n" : "RESULT: PASS\n");
    }
    return failed ? 1 : 0;
}
