// Writes the seed corpus of the fuzz targets into the folder given (fuzz/corpus): for the
// answer targets, the replies the simulated module gives when the real command functions run
// against it (recorded on the way), plus a few hand-made edge answers; for the others, the
// request frames of every command, a few settings files and scenario files.
//
//   build/native/fuzz/make_fuzz_corpus fuzz/corpus
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/worker_job.h"
#include "fuzz/answer_driver.h"
#include "fuzz/dialog_session.h"
#include "link/codec.h"
#include "link/config_commands.h"
#include "link/connection.h"
#include "link/io_name_commands.h"
#include "link/phone_commands.h"
#include "link/phone_number.h"
#include "link/records.h"
#include "link/status_commands.h"
#include "sim/demo_scenario.h"
#include "sim/simulator.h"

namespace zavi::fuzz {
namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

// Passes every call to the simulated module and keeps what each request got back.
class Recorder : public Driver {
  public:
    explicit Recorder(sim::SimDriver& inner) : inner_(inner) {}
    std::vector<Bytes> replies;

    DriverStatus count_devices(uint32_t* count) override { return inner_.count_devices(count); }
    DriverStatus open_by_index(int index, DriverHandle* handle) override {
        return inner_.open_by_index(index, handle);
    }
    DriverStatus set_timeouts(DriverHandle h, uint32_t read_ms, uint32_t write_ms) override {
        return inner_.set_timeouts(h, read_ms, write_ms);
    }
    DriverStatus purge(DriverHandle h, uint32_t mask) override { return inner_.purge(h, mask); }
    DriverStatus write(DriverHandle h, const void* buffer, uint32_t count,
                       uint32_t* written) override {
        replies.emplace_back();
        return inner_.write(h, buffer, count, written);
    }
    DriverStatus read(DriverHandle h, void* buffer, uint32_t count, uint32_t* got) override {
        const DriverStatus status = inner_.read(h, buffer, count, got);
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        if (!replies.empty()) replies.back().insert(replies.back().end(), bytes, bytes + *got);
        return status;
    }
    DriverStatus close(DriverHandle h) override { return inner_.close(h); }

  private:
    sim::SimDriver& inner_;
};

// Runs `operation` against a module in `scenario` and returns the replies it received. The
// module is opened first unless the operation opens it itself.
std::vector<Bytes> record(const sim::Scenario& scenario,
                          const std::function<void(DriverHandle)>& operation,
                          bool open_first = true) {
    sim::SimDriver module(scenario);
    Recorder recorder(module);
    set_driver(&recorder);
    DriverHandle handle = nullptr;
    if (open_first) module.open_by_index(0, &handle);
    set_link_timeouts(handle, kReadTimeoutMs, kWriteTimeoutMs);
    reset_all_records();
    device_handle = handle;
    operation(handle);
    device_handle = nullptr;
    set_driver(nullptr);
    return recorder.replies;
}

void write_file(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void write_seed(const fs::path& root, const char* target, const std::string& name, uint8_t selector,
                const std::vector<Bytes>& replies) {
    Bytes input{selector};
    const Bytes packed = pack_replies(replies);
    input.insert(input.end(), packed.begin(), packed.end());
    write_file(root / target / name, input);
}

Bytes response(uint8_t command, const Bytes& data) {
    WireFrame wire;
    encode_frame(kResponseStart, command, data, wire);
    return Bytes(wire.bytes, wire.bytes + wire.size);
}

Bytes request(uint8_t command, const Bytes& data = {}) {
    WireFrame wire;
    encode_frame(kRequestStart, command, data, wire);
    return Bytes(wire.bytes, wire.bytes + wire.size);
}

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Numbers and names full of the bytes that need escaping on the wire.
sim::Scenario escaping_scenario(std::size_t accepted) {
    sim::Scenario s = sim::demo_scenario();
    sim::ModuleState& m = s.modules[0].state;
    m.accepted_numbers.assign(accepted, sim::Number{0x16, 0x53, 0x16, 0x53, 0x16, 0x53, 0x16});
    m.emergency_numbers.assign(6, sim::Number{0x53, 0x16, 0x53, 0x16, 0x53, 0x16, 0x53});
    for (auto& name : m.io_names) name = std::string(40, 'S');
    m.io_names[1] = std::string(40, 'n');
    m.io_names[7] = std::string(40, 'M');
    m.io_state_text = {std::string(44, 'S'), "", "n", "M", std::string(44, 'n'), ""};
    m.operator_name = std::string(31, 'S');
    m.alarm_settings = {0xF3, 1, 0x16, 0, 1, 0x53, 0, 0, 0x6E, 0, 1, 0x4D, 0, 0x96};
    m.pin = 0x1653, m.puk = 0x6E4D1653;
    return s;
}

void status_seeds(const fs::path& root) {
    const char* t = "status_answers";
    const sim::Scenario demo = sim::demo_scenario();
    const sim::Scenario odd = escaping_scenario(0);
    for (const auto& [name, s] : {std::pair{"demo", demo}, std::pair{"escaped", odd}}) {
        for (uint8_t part = 0; part < 3; ++part)
            write_seed(root, t, std::string("part") + char('0' + part) + "_" + name, part,
                       record(s, [part](DriverHandle h) { read_status(h, part); }));
        write_seed(root, t, std::string("alarm_settings_") + name, 3,
                   record(s, [](DriverHandle h) { read_alarm_settings(h); }));
        write_seed(root, t, std::string("refresh_job_") + name, 4,
                   record(s, [](DriverHandle h) { run_job_operations(JOB_READ_STATUS, h); }));
    }
    // Hand-made edges: four empty texts, a length byte of 14, a threshold of 150, the leftover
    // of an earlier frame ahead of the answer.
    const Bytes part0_empty{0, 0, 21, 5, 1, 3, 2, 87, 1, 18, 0, 0, 0, 0, 0};
    write_seed(root, t, "part0_empty_texts", 0, {response(8, part0_empty)});
    Bytes settings{0x03, 0, 30, 0, 0, 5, 0, 0, 40, 0, 1, 10, 0, 150};
    write_seed(root, t, "alarm_settings_battery_150", 3, {response(6, settings)});
    Bytes short_settings = settings;
    short_settings.pop_back();
    write_seed(root, t, "alarm_settings_length_14", 3, {response(6, short_settings)});
    write_seed(root, t, "part1_after_leftover", 1,
               {concat(response(8, {0, 2, 'o', 'n', 3, 'o', 'f', 'f'}),
                       response(8, {1, 3, 'o', 'f', 'f', 2, 'o', 'n'}))});
    write_seed(root, t, "part2_read_fails", 2, {});
}

void config_seeds(const fs::path& root) {
    const char* t = "config_answers";
    using Read = LinkResult (*)(DriverHandle);
    const std::pair<const char*, Read> reads[] = {
        {"actions", read_actions},       {"call_answer", read_call_answer},
        {"auto_reset", read_auto_reset}, {"auto_status", read_auto_status},
        {"sim_codes", read_sim_codes},
    };
    const sim::Scenario demo = sim::demo_scenario();
    const sim::Scenario odd = escaping_scenario(0);
    for (uint8_t i = 0; i < 5; ++i) {
        const Read read = reads[i].second;
        write_seed(root, t, std::string(reads[i].first) + "_demo", i,
                   record(demo, [read](DriverHandle h) { read(h); }));
        write_seed(root, t, std::string(reads[i].first) + "_escaped", i,
                   record(odd, [read](DriverHandle h) { read(h); }));
    }
    write_seed(root, t, "auto_reset_length_3", 2, {response(20, {1, 0})});
    write_seed(root, t, "actions_high_bits", 0,
               {response(11, {0xC0, 0xC0, 0xFF, 0, 0, 0, 0, 0, 0x3F})});
}

void phone_seeds(const fs::path& root) {
    const char* t = "phone_answers";
    const sim::Scenario demo = sim::demo_scenario();
    write_seed(root, t, "accept_all_demo", 0,
               record(demo, [](DriverHandle h) { read_accept_all(h); }));
    write_seed(root, t, "emergency_demo", 1,
               record(demo, [](DriverHandle h) { read_emergency_numbers(h); }));
    write_seed(root, t, "emergency_escaped", 1,
               record(escaping_scenario(0), [](DriverHandle h) { read_emergency_numbers(h); }));
    const sim::Scenario full = escaping_scenario(260);
    const uint8_t block_selectors[][2] = {{0, 2}, {1, 3}, {6, 4}, {7, 5}};
    for (const auto& [block, selector] : block_selectors) {
        const uint8_t b = block;
        write_seed(root, t, "block" + std::to_string(b) + "_full", selector,
                   record(full, [b](DriverHandle h) {
                       uint8_t count = 0;
                       read_accepted_block(h, b, &count);
                   }));
    }
    write_seed(root, t, "job_demo", 6,
               record(demo, [](DriverHandle h) { run_job_operations(JOB_READ_PHONE_NUMBERS, h); }));
    write_seed(root, t, "job_77_numbers", 6, record(escaping_scenario(77), [](DriverHandle h) {
                   run_job_operations(JOB_READ_PHONE_NUMBERS, h);
               }));
    write_seed(root, t, "job_260_numbers", 6,
               record(full, [](DriverHandle h) { run_job_operations(JOB_READ_PHONE_NUMBERS, h); }));
    // Counts the lists cannot hold: 7 emergency numbers, 37 in a block, 36 in block 7.
    Bytes seven{7};
    for (int i = 0; i < 7; ++i)
        seven.insert(seven.end(), {0x12, 0x34, 0x56, 0x78, 0x9F, 0xFF, 0xFF});
    write_seed(root, t, "emergency_seven", 1, {response(13, seven)});
    Bytes block37{0, 37};  // the numbers a count of 37 announces would not fit one frame
    for (int i = 0; i < 30; ++i)
        block37.insert(block37.end(), {0x12, 0x34, 0x56, 0x78, 0x9F, 0xFF, 0xFF});
    write_seed(root, t, "block0_count_37", 2, {response(16, block37)});
    Bytes block7{7, 36};
    for (int i = 0; i < 36; ++i)
        block7.insert(block7.end(), {0x12, 0x34, 0x56, 0x78, 0x9F, 0xFF, 0xFF});
    write_seed(root, t, "block7_count_36", 5, {response(16, block7)});
}

void io_name_seeds(const fs::path& root) {
    const char* t = "io_name_answers";
    for (const auto& [name, s] :
         {std::pair{"demo", sim::demo_scenario()}, std::pair{"escaped", escaping_scenario(0)}}) {
        write_seed(root, t, std::string("half0_") + name, 0,
                   record(s, [](DriverHandle h) { read_io_names(h, 0); }));
        write_seed(root, t, std::string("half1_") + name, 1,
                   record(s, [](DriverHandle h) { read_io_names(h, 1); }));
        write_seed(root, t, std::string("job_") + name, 2,
                   record(s, [](DriverHandle h) { run_job_operations(JOB_READ_IO_NAMES, h); }));
    }
    write_seed(root, t, "half1_echoes_0", 1, {response(24, {0, 0, 0, 0, 0, 0, 0})});
    Bytes long_name{1, 60};
    long_name.insert(long_name.end(), 60, 'x');
    long_name.insert(long_name.end(), 5, 0);
    write_seed(root, t, "half1_name_of_60", 1, {response(24, long_name)});
}

void version_seeds(const fs::path& root) {
    const char* t = "version_answer";
    class Quiet : public FirmwareNotice {
        void firmware_mismatch(std::string_view) override {}
    };
    const auto open = [](DriverHandle) {
        Quiet quiet;
        DriverHandle h = nullptr;
        open_device(0, &h, 1, quiet);
        if (h) driver()->close(h);
    };
    sim::Scenario other = sim::demo_scenario();
    other.modules[0].state.firmware = "ZAVI-GSM v1.6";
    const std::vector<Bytes> good = record(sim::demo_scenario(), open, false);
    write_seed(root, t, "firmware_1_7", 1, good);
    write_seed(root, t, "firmware_1_6_polish", 0, record(other, open, false));
    write_seed(root, t, "firmware_1_6_german", 2, record(other, open, false));
    write_seed(root, t, "timeouts_fail", 0x81, good);
    if (!good.empty() && good[0].size() > 2) {
        Bytes bad_crc = good[0];
        bad_crc[bad_crc.size() - 2] ^= 0xFF;
        write_seed(root, t, "bad_crc", 1, {bad_crc});
        write_seed(root, t, "twenty_bytes", 1, {Bytes(good[0].begin(), good[0].begin() + 20)});
    }
}

void request_seeds(const fs::path& root) {
    const char* t = "sim_requests";
    for (uint8_t c : {1, 6, 9, 11, 13, 15, 18, 20, 22, 26})
        write_file(root / t / ("read_" + std::to_string(c)), request(c));
    for (uint8_t part = 0; part < 3; ++part)
        write_file(root / t / ("status_part" + std::to_string(part)), request(8, {part}));
    write_file(root / t / "block_3", request(16, {3}));
    write_file(root / t / "io_names_1", request(24, {1}));
    write_file(root / t / "write_7", request(7, {0x03, 0, 30, 0, 0, 5, 0, 0, 40, 0, 1, 10, 0, 20}));
    write_file(root / t / "write_10", request(10, {0x12, 0x34, 0x12, 0x34, 0x56, 0x78}));
    write_file(root / t / "write_12",
               request(12, {0x34, 0x34, 0x30, 0x30, 0x20, 0x20, 0x20, 0x20, 0x20}));
    write_file(root / t / "write_14", request(14, {1, 0x16, 0x53, 0x4D, 0x6E, 0x9F, 0xFF, 0xFF}));
    write_file(root / t / "write_17",
               request(17, {2, 1, 0x48, 0x60, 0x01, 0x00, 0x20, 0x0F, 0xFF}));
    write_file(root / t / "write_19", request(19, {1}));
    write_file(root / t / "write_21", request(21, {5}));
    write_file(root / t / "write_23", request(23, {1, 0x21}));
    write_file(root / t / "write_25", request(25, {0, 4, 'D', 'o', 'o', 'r', 0, 1, 'S', 0, 0, 0}));
    write_file(root / t / "write_27", request(27, {0x81}));
    write_file(root / t / "reset_15", request(15));
    write_file(root / t / "two_frames", concat(request(18), request(19, {0})));
    write_file(root / t / "noise_then_frame", concat({0x00, 0xFF, 0x6E}, request(6)));
}

void settings_seeds(const fs::path& root) {
    const char* t = "settings_file";
    write_file(root / t / "polish", {0});
    write_file(root / t / "english", {1});
    write_file(root / t / "german", {2});
    write_file(root / t / "odd_byte", {0xFF});
    write_file(root / t / "empty", {});
    write_file(root / t / "two_bytes", {0, 1});
}

void scenario_seeds(const fs::path& root) {
    const char* t = "scenario_json";
    const auto text = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    write_file(root / t / "demo_state", text(sim::scenario_to_json(sim::demo_scenario())));
    write_file(root / t / "escaping_state", text(sim::scenario_to_json(escaping_scenario(40))));
    write_file(root / t / "empty_object", text("{}"));
    write_file(root / t / "faults",
               text(R"({"modules": [{"state": {"firmware": "ZAVI-GSM v1.6", "pin": "1234",
                   "emergency_numbers": ["491234446570"]},
                   "faults": [{"kind": "no_answer", "command": 8, "sub_index": 1, "times": 1},
                              {"kind": "drip", "value": 2000},
                              {"kind": "raw_answer", "bytes": "hex:53 08 16"}]},
                  {"open_fails": true}],
                 "timing": {"realistic": true, "baud": 9600}})"));
    write_file(root / t / "hex_texts",
               text(R"({"modules": [{"state": {"operator_name": "hex:00 16 53 4d 6e ff",
                   "io_names": ["a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"],
                   "puk": "none", "accepted_numbers": ["+48123", "hex:16 53 16 53 16 53 16"]}}]})"));
}

void phone_text_seeds(const fs::path& root) {
    const char* t = "phone_number_text";
    const std::pair<const char*, const char*> typed[] = {
        {"eleven_digits", "+48601002001"},
        {"fourteen_digits", "+12345678901234"},
        {"too_many_digits", "+1234567890123456789"},
        {"plus_only", "+"},
        {"letter_inside", "+12a34"},
        {"no_plus", "4860"},
    };
    const sim::Scenario demo = sim::demo_scenario();
    for (const auto& [name, text] : typed) {
        const sim::Number& n = demo.modules[0].state.accepted_numbers[0];
        Bytes input(n.begin(), n.end());
        input.insert(input.end(), text, text + std::strlen(text));
        write_file(root / t / name, input);
    }
    write_file(root / t / "escaped_digits", {0x16, 0x53, 0x16, 0x53, 0x16, 0x53, 0x16});
    write_file(root / t / "odd_count", {0x12, 0x34, 0x5F, 0xFF, 0xFF, 0xFF, 0xFF});
    write_file(root / t / "nibble_a_inside", {0x12, 0xA4, 0x56, 0xFF, 0xFF, 0xFF, 0xFF});
}

void dialog_seeds(const fs::path& root) {
    const char* t = "options_dialogs";
    for (const auto& [name, s] :
         {std::pair{"demo", sim::demo_scenario()}, std::pair{"escaped", escaping_scenario(260)}}) {
        for (uint8_t i = 0; i < kOptionsDialogCount; ++i) {
            const int id = kOptionsDialogs[i];
            write_seed(root, t, "dialog" + std::to_string(id) + "_" + name, i,
                       record(s, [id](DriverHandle h) {
                           bool saved = false;
                           run_dialog_session(id, h, &saved);
                       }));
        }
    }
}

}  // namespace
}  // namespace zavi::fuzz

int main(int argc, char** argv) {
    using namespace zavi::fuzz;
    const std::filesystem::path root = argc > 1 ? argv[1] : "fuzz/corpus";
    status_seeds(root);
    config_seeds(root);
    phone_seeds(root);
    io_name_seeds(root);
    version_seeds(root);
    request_seeds(root);
    settings_seeds(root);
    scenario_seeds(root);
    phone_text_seeds(root);
    dialog_seeds(root);
    std::printf("seed corpus written to %s\n", root.string().c_str());
    return 0;
}
