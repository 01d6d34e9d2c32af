// The simulator codes telephone numbers on its own, as the module would; here both codings meet
// on the cases where a shared fault would hide.
#include "sim/json_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "link/phone_number.h"

namespace zavi::sim {
namespace {

using json_values::Json;

Number program_packed(const std::string& digits) {
    PhoneNumber n;
    pack_phone_digits(digits, n);
    Number out;
    std::copy(n.bytes, n.bytes + kPhoneNumberBytes, out.begin());
    return out;
}

std::string program_digits(const Number& bytes) {
    PhoneNumber n;
    std::copy(bytes.begin(), bytes.end(), n.bytes);
    return phone_digits(n);
}

TEST(SimNumbers, DigitsPackAsTheProgramPacksThem) {
    const struct {
        std::string digits;
        bool sim_takes;       // the simulator refuses what the program would cut
        std::string program;  // the digits the program keeps
    } cases[] = {
        {"", true, ""},
        {"7", true, "7"},
        {"0123456789", true, "0123456789"},
        {"00000000000000", true, "00000000000000"},
        {"99999999999999", true, "99999999999999"},
        {"123456789012345", false, "12345678901234"},
        {"12*34", false, "12"},
        {"12#", false, "12"},
        {"12\xC3\xA9", false, "12"},
        {"1 2", false, "1"},
    };
    for (const auto& c : cases) {
        Number sim;
        std::string error;
        const bool taken = json_values::read_number(Json(c.digits), &sim, &error);
        EXPECT_EQ(taken, c.sim_takes) << c.digits;
        EXPECT_EQ(program_packed(c.digits), program_packed(c.program)) << c.digits;
        EXPECT_EQ(program_digits(program_packed(c.digits)), c.program) << c.digits;
        if (taken) {
            EXPECT_EQ(sim, program_packed(c.digits)) << c.digits;
        }
    }
}

TEST(SimNumbers, RecordsReadAsDigitsExactlyWhenTheProgramRebuildsThem) {
    const Number cases[] = {
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        {0x49, 0x12, 0x34, 0x44, 0x65, 0x70, 0xFF},
        {0x48, 0x12, 0x34, 0x56, 0x78, 0x9F, 0xFF},
        {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34},
        {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
        {0x4A, 0x12, 0x34, 0x56, 0x78, 0x90, 0x12},  // a nibble above 9 before the end
        {0x12, 0x3F, 0x99, 0x99, 0x99, 0x99, 0x99},  // digits after the end mark
        {0x12, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF},
        {0xF1, 0x23, 0x45, 0x67, 0x89, 0x01, 0x23},
        {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x3F},  // 13 digits
        {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x3E},  // 13 digits, then not 0xF
    };
    for (const Number& bytes : cases) {
        const Json sim = json_values::number_json(bytes);
        ASSERT_TRUE(sim.is_string());
        const std::string text = sim.get<std::string>();
        const std::string program = program_digits(bytes);
        const bool rebuilt = program_packed(program) == bytes;
        EXPECT_EQ(text.rfind("hex:", 0) != 0, rebuilt) << text;
        if (rebuilt) {
            EXPECT_EQ(text, program);
        }
    }
}

}  // namespace
}  // namespace zavi::sim
