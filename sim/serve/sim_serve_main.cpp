// zavi-sim-serve: the simulated module on a pseudo-terminal. Prints the slave's path and serves
// the module on the master side until stopped (Ctrl+C, SIGTERM).
//   zavi-sim-serve [--scenario FILE] [--state FILE] [--journal FILE] [--link PATH]
//   zavi-sim-serve --version
// --scenario  the simulator's scenario (JSON); without it the demo module (its status changing)
// --state     module state: loaded at start when it exists, saved after every write command
// --journal   every frame the module receives, one JSON object per line (as the drop-in DLL)
// --link      also makes PATH a symbolic link to the slave (e.g. a Wine prefix's dosdevices/com5)
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/safe_file.h"
#include "sim/demo_scenario.h"
#include "sim/journal_lines.h"
#include "sim/serve/pty_module.h"
#include "sim/simulator.h"

namespace {

using zavi::sim::Scenario;

std::atomic<bool> stop_requested{false};

void on_signal(int) {
    stop_requested = true;
}

bool read_file(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *text = s.str();
    return true;
}

// Written whole through a temporary file, so a reader never sees half a state.
bool save_state(const std::string& path, const Scenario& scenario, std::string* error) {
    return zavi::write_file_safely(path, zavi::sim::scenario_to_json(scenario),
                                   zavi::FileAccess::normal, error);
}

int usage() {
    std::fprintf(stderr,
                 "usage: zavi-sim-serve [--scenario FILE] [--state FILE] [--journal FILE] "
                 "[--link PATH]\n"
                 "       zavi-sim-serve --version\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string scenario_path, state_path, journal_path, link_path;
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("zavi-sim-serve %s\n", ZAVI_PROJECT_VERSION);
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* target = arg == "--scenario"  ? &scenario_path
                              : arg == "--state"   ? &state_path
                              : arg == "--journal" ? &journal_path
                              : arg == "--link"    ? &link_path
                                                   : nullptr;
        if (target == nullptr || i + 1 >= argc) return usage();
        *target = argv[++i];
    }

    Scenario scenario = zavi::sim::live_demo_scenario();
    std::string text, error;
    if (!scenario_path.empty()) {
        if (!read_file(scenario_path, &text)) {
            std::fprintf(stderr, "zavi-sim-serve: cannot read %s\n", scenario_path.c_str());
            return 1;
        }
        if (!zavi::sim::scenario_from_json(text, &scenario, &error)) {
            std::fprintf(stderr, "zavi-sim-serve: %s: %s\n", scenario_path.c_str(), error.c_str());
            return 1;
        }
    }
    if (!state_path.empty() && read_file(state_path, &text)) {
        Scenario saved;
        if (!zavi::sim::scenario_from_json(text, &saved, &error)) {
            std::fprintf(stderr, "zavi-sim-serve: %s: %s\n", state_path.c_str(), error.c_str());
            return 1;
        }
        zavi::sim::take_states(saved, &scenario);
    }
    scenario.virtual_time = false;
    zavi::sim::SimDriver module(scenario);

    zavi::sim::PtyModule pty;
    if (!pty.open(&error)) {
        std::fprintf(stderr, "zavi-sim-serve: %s\n", error.c_str());
        return 1;
    }
    if (!link_path.empty()) {
        // An old link (from a run that was killed) is replaced; anything else is left alone.
        std::error_code e;
        if (std::filesystem::is_symlink(link_path, e)) std::filesystem::remove(link_path, e);
        std::filesystem::create_symlink(pty.slave_path(), link_path, e);
        if (e) {
            std::fprintf(stderr, "zavi-sim-serve: cannot link %s: %s\n", link_path.c_str(),
                         e.message().c_str());
            return 1;
        }
    }

    struct sigaction action {};
    action.sa_handler = on_signal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    const std::string pty_path = pty.slave_path();
    std::printf("%s\n", pty_path.c_str());
    std::fflush(stdout);

    bool save_failed = false;
    auto after_write = [&] {
        std::ofstream journal;
        if (!journal_path.empty()) journal.open(journal_path, std::ios::app | std::ios::binary);
        const bool stored = zavi::sim::drain_journal(module, [&](const std::string& line) {
            if (journal) journal << line << '\n';
        });
        std::string why;
        if (stored && !state_path.empty() && !save_state(state_path, module.scenario(), &why) &&
            !save_failed) {
            save_failed = true;
            std::fprintf(stderr, "zavi-sim-serve: the state file %s %s\n", state_path.c_str(),
                         why.c_str());
        }
    };
    pty.serve(module, stop_requested, after_write);
    pty.close();
    std::error_code e;
    if (!link_path.empty() && std::filesystem::is_symlink(link_path, e) &&
        std::filesystem::read_symlink(link_path, e) == pty_path)
        std::filesystem::remove(link_path, e);
    return 0;
}
