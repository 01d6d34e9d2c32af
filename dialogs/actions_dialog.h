// Emergency procedures (dialog 103): SMS, CLIP and the two output actions of each of the nine
// alarm sources, edited in action_table.
#pragma once

#include "dialogs/record_dialog.h"
#include "resources/ids.h"

namespace zavi {

// The controls of one alarm source, in the order of the record's bytes.
struct ActionRow {
    int sms, clip, out1, out2;
};

inline constexpr ActionRow kActionRows[] = {
    {IDC_ACT0_SMS, IDC_ACT0_CLIP, IDC_ACT0_OUT1, IDC_ACT0_OUT2},
    {IDC_ACT1_SMS, IDC_ACT1_CLIP, IDC_ACT1_OUT1, IDC_ACT1_OUT2},
    {IDC_ACT2_SMS, IDC_ACT2_CLIP, IDC_ACT2_OUT1, IDC_ACT2_OUT2},
    {IDC_ACT3_SMS, IDC_ACT3_CLIP, IDC_ACT3_OUT1, IDC_ACT3_OUT2},
    {IDC_ACT4_SMS, IDC_ACT4_CLIP, IDC_ACT4_OUT1, IDC_ACT4_OUT2},
    {IDC_ACT5_SMS, IDC_ACT5_CLIP, IDC_ACT5_OUT1, IDC_ACT5_OUT2},
    {IDC_ACT6_SMS, IDC_ACT6_CLIP, IDC_ACT6_OUT1, IDC_ACT6_OUT2},
    {IDC_ACT7_SMS, IDC_ACT7_CLIP, IDC_ACT7_OUT1, IDC_ACT7_OUT2},
    {IDC_ACT8_SMS, IDC_ACT8_CLIP, IDC_ACT8_OUT1, IDC_ACT8_OUT2},
};

struct ActionsDialog : RecordDialog {
    ActionsDialog();
};

}  // namespace zavi
