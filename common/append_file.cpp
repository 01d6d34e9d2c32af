#include "common/append_file.h"

#include "common/file_parts.h"

namespace zavi {

namespace {

std::function<void()>& pause_hook() {
    static std::function<void()> hook;
    return hook;
}

}  // namespace

void set_append_pause_for_tests(std::function<void()> pause) {
    pause_hook() = std::move(pause);
}

std::string line_to_append(std::string_view line, bool last_line_cut) {
    std::string data = last_line_cut ? "\n" : "";
    data.append(line.data(), line.size());
    return data;
}

bool append_in_pieces(std::string_view data, const std::function<bool(std::string_view)>& write,
                      const std::function<void()>& sync) {
    if (!pause_hook()) return write(data);
    const std::size_t half = data.size() / 2;
    if (!write(data.substr(0, half))) return false;
    sync();
    pause_hook()();
    return write(data.substr(half));
}

}  // namespace zavi
