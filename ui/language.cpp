#include "ui/language.h"

namespace zavi {

uint8_t ui_language = kEnglish;

}  // namespace zavi
