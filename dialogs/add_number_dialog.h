// The ADD dialog (108): asks for one new telephone number of 11 to 14 digits.
#pragma once

#include <cstddef>

#include "ui/dialog_view.h"

namespace zavi {

constexpr std::size_t kNewPhoneNumberSize = 20;  // 19 characters + NUL
constexpr int kMinNewNumberDigits = 11;
constexpr int kMaxNewNumberDigits = 14;

// What the ADD dialog leaves behind: the digits (without "+") to add, or empty for nothing.
extern char new_phone_number[kNewPhoneNumberSize];

class AddNumberDialog : public DialogLogic {
  public:
    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;
    void on_close(DialogView& view) override;
};

}  // namespace zavi
