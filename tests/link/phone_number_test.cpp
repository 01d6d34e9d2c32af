#include "link/phone_number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>

namespace zavi {
namespace {

using Bytes7 = std::array<uint8_t, kPhoneNumberBytes>;

PhoneNumber make(const Bytes7& b) {
    PhoneNumber n;
    std::copy(b.begin(), b.end(), n.bytes);
    return n;
}

Bytes7 bytes_of(const PhoneNumber& n) {
    Bytes7 b;
    std::copy(n.bytes, n.bytes + kPhoneNumberBytes, b.begin());
    return b;
}

std::string format(const PhoneNumber& n) {
    char text[kPhoneTextSize];
    format_phone_number(n, text);
    return text;
}

TEST(PhoneNumber, EntriesAndRecordsBothWays) {
    const struct {
        const char* entry;
        Bytes7 bytes;
    } cases[] = {
        {"+491234446570", {0x49, 0x12, 0x34, 0x44, 0x65, 0x70, 0xFF}},
        {"+48123456789", {0x48, 0x12, 0x34, 0x56, 0x78, 0x9F, 0xFF}},  // 11 digits
        {"+12345678901234", {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}},
        {"+16535316", {0x16, 0x53, 0x53, 0x16, 0xFF, 0xFF, 0xFF}},  // bytes the codec escapes
        {"+00000000000", {0x00, 0x00, 0x00, 0x00, 0x00, 0x0F, 0xFF}},
        {"+", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& c : cases) {
        PhoneNumber parsed;
        std::memset(parsed.bytes, 0x11, sizeof parsed.bytes);
        parse_phone_number(c.entry, parsed);
        EXPECT_EQ(bytes_of(parsed), c.bytes) << c.entry;
        EXPECT_EQ(format(make(c.bytes)), c.entry) << c.entry;
    }
}

TEST(PhoneNumber, RecordsFromTheModuleEndAtTheFirstNibbleAboveNine) {
    const struct {
        Bytes7 bytes;
        const char* shown;
    } cases[] = {
        {{0xFF, 0x12, 0x34, 0x56, 0x78, 0x90, 0x12}, "+"},
        {{0xF1, 0x23, 0x45, 0x67, 0x89, 0x01, 0x23}, "+"},
        {{0x4A, 0x12, 0x34, 0x56, 0x78, 0x90, 0x12}, "+4"},
        {{0x12, 0xC4, 0x56, 0x78, 0x90, 0x12, 0x34}, "+12"},
        {{0x12, 0x3F, 0x99, 0x99, 0x99, 0x99, 0x99}, "+123"},
        {{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, "+00000000000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(format(make(c.bytes)), c.shown) << c.shown;

    // After the next rebuild a record shown as "+" alone is stored as seven 0xFF bytes.
    PhoneNumber n;
    parse_phone_number(format(make(cases[0].bytes)).c_str(), n);
    EXPECT_EQ(bytes_of(n), Bytes7({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(PhoneNumber, OddEntriesNeverBecomeWrongDigits) {
    const struct {
        const char* entry;
        Bytes7 bytes;
    } cases[] = {
        {"+1234567890123456789", {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}},  // past 14 digits
        {"+4912a4", {0x49, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"+491 23", {0x49, 0x1F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {nullptr, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& c : cases) {
        PhoneNumber n;
        std::memset(n.bytes, 0x11, sizeof n.bytes);
        parse_phone_number(c.entry, n);
        EXPECT_EQ(bytes_of(n), c.bytes) << (c.entry ? c.entry : "null");
    }
}

TEST(PhoneNumber, DigitsWithoutThePlusBothWays) {
    const struct {
        std::string_view digits;
        Bytes7 bytes;
        const char* back;  // what phone_digits gives for the packed bytes
    } cases[] = {
        {"", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
        {"0123456789", {0x01, 0x23, 0x45, 0x67, 0x89, 0xFF, 0xFF}, "0123456789"},
        {"98765432109876", {0x98, 0x76, 0x54, 0x32, 0x10, 0x98, 0x76}, "98765432109876"},
        {"123456789012345", {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}, "12345678901234"},
        {"12*34", {0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "12"},
        {"#12", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
        {"+48", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
        {std::string_view("4812", 3), {0x48, 0x1F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "481"},
    };
    for (const auto& c : cases) {
        PhoneNumber n;
        std::memset(n.bytes, 0x11, sizeof n.bytes);
        pack_phone_digits(c.digits, n);
        EXPECT_EQ(bytes_of(n), c.bytes) << c.digits;
        EXPECT_EQ(phone_digits(n), c.back) << c.digits;
    }
}

}  // namespace
}  // namespace zavi
