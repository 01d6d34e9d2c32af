// The titles of the Options dialogs, which are also their items in the Options menu.
#pragma once

#include "common/three_languages.h"

namespace zavi {

inline constexpr Texts kPinPukTitle{"PIN i PUK", "PIN and PUK", "PIN und PUK"};
inline constexpr Texts kActionsTitle{"Procedury alarmowe", "Emergency procedures",
                                     "Alarmprozeduren"};
inline constexpr Texts kPhoneNumbersTitle{"Numery telefonów", "Telephone Numbers",
                                          "Telefonnummern"};
inline constexpr Texts kIoNamesTitle{"Nazwy dla stanów we./wy.", "Names for I/O states",
                                     "Namen für Ein- und Ausgangszustände"};
inline constexpr Texts kCallAnswerTitle{"Reakcja na wywołanie", "Answer for Call",
                                        "Antwort zum Abrufen"};
inline constexpr Texts kAutoStatusTitle{"Auto-Status", "Auto-Status", "Auto-Status"};
inline constexpr Texts kAutoResetTitle{"Auto-Reset", "Auto-Reset", "Auto-Reset"};

}  // namespace zavi
