#include "sim/module_behaviour.h"

#include <algorithm>
#include <string>

#include "link/codec.h"

namespace zavi::sim {

namespace {

using Bytes = std::vector<uint8_t>;

constexpr std::size_t kNamesPerHalf = 6;

// Length-prefixed texts, each cut so that the whole answer stays within one frame: every text
// keeps room for the length bytes of the texts after it.
void append_texts(Bytes& out, std::span<const std::string* const> texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::size_t reserved = texts.size() - i - 1;
        const std::size_t room = kMaxFrameData > out.size() + 1 + reserved
                                     ? kMaxFrameData - out.size() - 1 - reserved
                                     : 0;
        const std::size_t n = std::min({texts[i]->size(), room, std::size_t{255}});
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), texts[i]->begin(), texts[i]->begin() + n);
    }
}

void append_numbers(Bytes& out, const std::vector<Number>& numbers, std::size_t first,
                    std::size_t count) {
    for (std::size_t i = first; i < first + count; ++i)
        out.insert(out.end(), numbers[i].begin(), numbers[i].end());
}

Bytes status_part(const ModuleState& s, uint8_t part) {
    if (part == 0) {
        Bytes out{part,           s.temp1_negative, s.temp1_whole,
                  s.temp1_tenths, s.temp2_negative, s.temp2_whole,
                  s.temp2_tenths, s.battery_level,  s.battery_flags,
                  s.gsm_signal,   s.gsm_state};
        const std::string* texts[] = {&s.io_state_text[0], &s.io_state_text[1], &s.io_state_text[2],
                                      &s.io_state_text[3]};
        append_texts(out, texts);
        return out;
    }
    Bytes out{part};
    if (part == 1) {
        const std::string* texts[] = {&s.io_state_text[4], &s.io_state_text[5]};
        append_texts(out, texts);
    } else if (part == 2) {
        const std::string* texts[] = {&s.operator_name};
        append_texts(out, texts);
    }
    return out;
}

Bytes accepted_block(const ModuleState& s, uint8_t block) {
    const std::size_t first = kBlockNumbers * block;
    const std::size_t total = s.accepted_numbers.size();
    const std::size_t count = total > first ? std::min(total - first, kBlockNumbers) : 0;
    Bytes out{0, static_cast<uint8_t>(count)};
    append_numbers(out, s.accepted_numbers, first, count);
    return out;
}

Bytes io_name_half(const ModuleState& s, uint8_t half) {
    const std::size_t first = half == 0 ? 0 : kNamesPerHalf;
    Bytes out{half};
    const std::string* texts[kNamesPerHalf];
    for (std::size_t i = 0; i < kNamesPerHalf; ++i) texts[i] = &s.io_names[first + i];
    append_texts(out, texts);
    return out;
}

Number number_at(std::span<const uint8_t> bytes) {
    Number n;
    std::copy_n(bytes.begin(), n.size(), n.begin());
    return n;
}

}  // namespace

Bytes answer_data(const ModuleState& s, uint8_t command, std::span<const uint8_t> request) {
    const uint8_t sub = request.empty() ? 0 : request[0];
    switch (command) {
        case 1: {
            const std::size_t n = std::min(s.firmware.size(), kMaxFrameData);
            return Bytes(s.firmware.begin(), s.firmware.begin() + n);
        }
        case 6:
            return Bytes(s.alarm_settings.begin(), s.alarm_settings.end());
        case 8:
            return status_part(s, sub);
        case 9:
            return {static_cast<uint8_t>(s.pin >> 8),  static_cast<uint8_t>(s.pin),
                    static_cast<uint8_t>(s.puk >> 24), static_cast<uint8_t>(s.puk >> 16),
                    static_cast<uint8_t>(s.puk >> 8),  static_cast<uint8_t>(s.puk)};
        case 11:
            return Bytes(s.actions.begin(), s.actions.end());
        case 13: {
            const std::size_t n = std::min(s.emergency_numbers.size(), kBlockNumbers);
            Bytes out{static_cast<uint8_t>(n)};
            append_numbers(out, s.emergency_numbers, 0, n);
            return out;
        }
        case 16:
            return accepted_block(s, sub);
        case 18:
            return {s.accept_all};
        case 20:
            return {s.auto_reset};
        case 22:
            return {s.call_answer_sms, s.call_answer_reactions};
        case 24:
            return io_name_half(s, sub);
        case 26:
            return {s.auto_status};
        default:
            return {};
    }
}

void store_write(ModuleState& s, uint8_t command, std::span<const uint8_t> d) {
    switch (command) {
        case 7:
            std::copy_n(d.begin(), s.alarm_settings.size(), s.alarm_settings.begin());
            break;
        case 10:
            s.pin = static_cast<uint16_t>(d[0] << 8 | d[1]);
            s.puk = uint32_t{d[2]} << 24 | uint32_t{d[3]} << 16 | uint32_t{d[4]} << 8 | d[5];
            break;
        case 12:
            std::copy_n(d.begin(), s.actions.size(), s.actions.begin());
            break;
        case 14:
            s.emergency_numbers.clear();
            for (std::size_t i = 0; i < d[0]; ++i)
                s.emergency_numbers.push_back(number_at(d.subspan(1 + 7 * i)));
            break;
        case 15:
            ++s.resets;
            break;
        case 17: {
            // Block b replaces everything from its first position on: the program writes the
            // blocks in order, so the list ends up exactly as sent.
            const std::size_t keep = std::min(s.accepted_numbers.size(), kBlockNumbers * d[0]);
            s.accepted_numbers.resize(keep);
            for (std::size_t i = 0; i < d[1]; ++i)
                s.accepted_numbers.push_back(number_at(d.subspan(2 + 7 * i)));
            break;
        }
        case 19:
            s.accept_all = d[0];
            break;
        case 21:
            s.auto_reset = d[0];
            break;
        case 23:
            s.call_answer_sms = d[0];
            s.call_answer_reactions = d[1];
            break;
        case 25: {
            const std::size_t first = d[0] == 0 ? 0 : kNamesPerHalf;
            std::size_t pos = 1;
            for (std::size_t i = 0; i < kNamesPerHalf; ++i) {
                const std::size_t n = d[pos];
                s.io_names[first + i].assign(d.begin() + pos + 1, d.begin() + pos + 1 + n);
                pos += 1 + n;
            }
            break;
        }
        case 27:
            s.auto_status = d[0];
            break;
        default:
            break;
    }
}

}  // namespace zavi::sim
