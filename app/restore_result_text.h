// The restore's result box: what the module acknowledged record by record, what it holds now,
// and the automatic backup as the way back, in the user's language.
#pragma once

#include <cstdint>
#include <string>

#include "common/three_languages.h"
#include "config/operations.h"

namespace zavi {

// Also what Compare and Restore say before anything is written.
inline constexpr Texts kNothingToChange{
    "Nic do zmiany: moduł zawiera już tę konfigurację.",
    "Nothing to change: the module already holds this configuration.",
    "Nichts zu ändern: Das Modul enthält diese Konfiguration bereits."};

std::string restore_result_text(const config::RestoreReport& report, uint8_t language);

}  // namespace zavi
