#include "cli/module_access.h"

#include <filesystem>
#include <optional>

#include "cli/tool_messages.h"
#include "common/three_languages.h"
#include "config/files.h"
#include "link/connection.h"
#include "link/module_choice.h"
#include "sim/demo_scenario.h"
#include "sim/simulator.h"

namespace zavi::cli {

using namespace zavi::config;

ModuleSession::ModuleSession(const Arguments& args, Environment& env) : args_(args), env_(env) {}

ModuleSession::~ModuleSession() {
    close();
}

int ModuleSession::open() {
    const int code = open_module();
    if (code == kExitDone) identity_ = serial_of_opened();
    return code;
}

int ModuleSession::open_module() {
    if (args_.port) return open_named_port(*args_.port);
    Driver* usb = nullptr;
    if (args_.sim) {
        const int loaded = load_sim();
        if (loaded != kExitDone) return loaded;
        usb = env_.test_module ? static_cast<Driver*>(env_.test_module) : own_sim_.get();
    } else {
        std::string why;
        usb = env_.usb_driver ? env_.usb_driver(&why) : nullptr;
        if (!usb) return fail(env_.err, kExitNoModule, (why.empty() ? "no USB driver" : why));
    }
    set_driver(usb);
    uint32_t count = 0;
    if (usb->count_devices(&count) != kDriverOk) count = 0;
    FirmwareNoticeText notice;
    // Ports the driver could not use at all, and whether any other one stayed silent.
    std::string unusable;
    bool silent = false;
    const auto note_failure = [&](int) {
        const std::string why = env_.unusable_port ? env_.unusable_port() : std::string();
        if (why.empty())
            silent = true;
        else
            unusable = why;
    };
    if (args_.device) {
        if (count > 0 && static_cast<uint32_t>(*args_.device) >= count)
            return fail(env_.err, kExitNoModule, "no module at index ", *args_.device, " (", count,
                        " found)");
        index_ = *args_.device;
        open_device(index_, &handle_, kEnglish, notice);
        if (!handle_) note_failure(index_);
    } else {
        const DeviceChoice choice =
            open_preferred_device(*usb, count, kEnglish, notice, note_failure);
        handle_ = choice.handle;
        index_ = choice.index;
    }
    if (handle_) return kExitDone;
    if (!notice.text.empty()) return fail(env_.err, kExitNoModule, notice.text);
    if (count == 0) return fail(env_.err, kExitNoModule, "no module connected");
    // Only when no port could even be opened is there no module to talk to.
    if (!silent && !unusable.empty()) return fail(env_.err, kExitNoModule, unusable);
    return fail(env_.err, kExitCommunication, "the module does not answer");
}

int ModuleSession::close() {
    if (handle_ && driver()) driver()->close(handle_);
    handle_ = nullptr;
    set_driver(nullptr);
    std::optional<std::string> state;
    if (own_sim_ && !args_.state_file.empty()) state = sim::scenario_to_json(own_sim_->scenario());
    own_sim_.reset();
    std::string why;
    const bool saved =
        !state || write_file_safely(args_.state_file, *state, FileAccess::normal, &why);
    state_lock_.unlock();
    return saved ? kExitDone : fail(env_.err, kExitCannotWrite, args_.state_file, " ", why);
}

int ModuleSession::close_after(int code) {
    const int closed = close();
    return code != kExitDone ? code : closed;
}

std::string ModuleSession::serial_of_opened() const {
    if (args_.sim) {
        sim::SimDriver* module = env_.test_module ? env_.test_module : own_sim_.get();
        return sim::module_serial(module->scenario(), index_);
    }
    return env_.port_serial ? env_.port_serial(args_.port ? 0 : index_) : std::string();
}

int ModuleSession::open_named_port(const std::string& port) {
    if (!env_.open_port)
        return fail(env_.err, kExitNoModule, "serial ports are not supported by this build");
    FirmwareNoticeText notice;
    std::string message;
    const PortOutcome outcome = env_.open_port(port, notice, &handle_, &message);
    if (outcome == PortOutcome::ok && handle_) return kExitDone;
    handle_ = nullptr;
    tell(env_.err, (message.empty() ? "cannot use " + port : message));
    if (outcome == PortOutcome::wrong_firmware && !notice.text.empty()) tell(env_.err, notice.text);
    return outcome == PortOutcome::silent ? kExitCommunication : kExitNoModule;
}

int ModuleSession::load_sim() {
    if (env_.test_module) return kExitDone;
    sim::Scenario scenario = sim::live_demo_scenario();
    // Held until the state is saved, so that a second run waits and starts from this run's
    // result instead of overwriting it.
    std::string why;
    if (!args_.state_file.empty() && !state_lock_.lock(args_.state_file, &why))
        return fail(env_.err, kExitCannotWrite, args_.state_file, " ", why);
    if (!args_.scenario_file.empty()) {
        std::string text;
        if (!read_text_file(args_.scenario_file, kMaxFileBytes, &text, &why) ||
            !sim::scenario_from_json(text, &scenario, &why))
            return fail(env_.err, kExitInvalidFile, args_.scenario_file, ": ", why);
    }
    // The commissioning commands watch the module change in real time.
    const bool live = args_.command == Command::watch || args_.command == Command::test ||
                      args_.command == Command::survey;
    // A state file that is not there yet starts as the demo module.
    std::error_code ec;
    if (!args_.state_file.empty() &&
        std::filesystem::exists(std::u8string(args_.state_file.begin(), args_.state_file.end()),
                                ec)) {
        std::string text;
        if (!read_text_file(args_.state_file, kMaxFileBytes, &text, &why))
            return fail(env_.err, kExitInvalidFile, args_.state_file, " ", why);
        sim::Scenario saved;
        if (!sim::scenario_from_json(text, &saved, &why))
            return fail(env_.err, kExitInvalidFile, args_.state_file, ": ", why);
        if (args_.scenario_file.empty()) {
            // The saved scenario as it is, with the demo's timeline.
            for (std::size_t i = 0; i < saved.modules.size() && i < scenario.modules.size(); ++i)
                saved.modules[i].timeline = scenario.modules[i].timeline;
            scenario = std::move(saved);
        } else {
            // The given scenario, with the module states saved last time.
            for (std::size_t i = 0; i < saved.modules.size() && i < scenario.modules.size(); ++i)
                scenario.modules[i].state = saved.modules[i].state;
        }
    }
    if (live) {
        scenario.virtual_time = false;
        // The demo module on a serial line's pace, unless a scenario says otherwise.
        if (args_.scenario_file.empty()) scenario.timing.realistic = true;
    }
    own_sim_ = std::make_unique<sim::SimDriver>(scenario);
    return kExitDone;
}

}  // namespace zavi::cli
