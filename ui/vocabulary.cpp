#include "ui/vocabulary.h"

namespace zavi {

const char* trigger_mode_text(bool potential_input, bool open, uint8_t l) {
    if (!potential_input)
        return open ? pick_text(l, "Aktywne rozwarcie", "Active Opened", "Aktiv beim Öffnen")
                    : pick_text(l, "Aktywne zwarcie", "Active Closed", "Aktiv beim Schliessen");
    return open ? pick_text(l, "Aktywny brak napięcia", "Active No Voltage", "Aktiv No Voltage")
                : pick_text(l, "Aktywne napięcie", "Active Voltage", "Aktiv Voltage");
}

const char* output_action_text(int output, unsigned code, uint8_t l) {
    static constexpr const char* kItems[2][3] = {{"OUT-1 ON", "OUT-1 OFF", "OUT-1 ON-2s"},
                                                 {"OUT-2 ON", "OUT-2 OFF", "OUT-2 ON-2s"}};
    if (output < 1 || output > 2 || code > 3) return nullptr;
    return code == 0 ? none_text(l) : kItems[output - 1][code - 1];
}

const char* call_reaction_text(int output, unsigned code, uint8_t l) {
    static constexpr const char* kItems[2][2] = {{"OUT-1 CH", "OUT-1 ON-2s"},
                                                 {"OUT-2 CH", "OUT-2 ON-2s"}};
    if (output < 1 || output > 2 || code > 2) return nullptr;
    return code == 0 ? none_text(l) : kItems[output - 1][code - 1];
}

const char* period_item_text(unsigned code, uint8_t l) {
    static constexpr const char* kDays[][3] = {
        {"1 dzień", "1 day", "1 Tag"}, {"2 dni", "2 days", "2 Tage"}, {"3 dni", "3 days", "3 Tage"},
        {"4 dni", "4 days", "4 Tage"}, {"5 dni", "5 days", "5 Tage"},
    };
    if (code == 0) return none_text(l);
    if (code > 5) return nullptr;
    const auto& day = kDays[code - 1];
    return pick_text(l, day[0], day[1], day[2]);
}

const char* emergency_numbers_label(uint8_t l) {
    return pick_text(l, "Numery alarmowe", "Emergency phone numbers", "Anzurufende Telefonnummern");
}

const char* accepted_numbers_label(uint8_t l) {
    return pick_text(l, "Akceptowane numery", "Received phone numbers",
                     "Akzeptierte Telefonnummern");
}

const char* accept_all_label(uint8_t l) {
    return pick_text(l, "Akceptuj wszystkie", "Received All", "Akzeptiere alle");
}

}  // namespace zavi
