// The ADD dialog (108): asks for one new telephone number of 11 to 14 digits.
#pragma once

#include <cstddef>

#include "dialogs/record_dialog.h"

namespace zavi {

constexpr std::size_t kNewPhoneNumberSize = 20;  // 19 characters + NUL
constexpr int kMinNewNumberDigits = 11;
constexpr int kMaxNewNumberDigits = 14;

// What the ADD dialog leaves behind: the digits (without "+") to add, or empty for nothing.
extern char new_phone_number[kNewPhoneNumberSize];

// Add takes the place of Save; nothing is sent, the Telephone numbers list takes the number.
struct AddNumberDialog : RecordDialog {
    AddNumberDialog();
};

}  // namespace zavi
