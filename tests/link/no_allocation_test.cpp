// The link layer must not touch the heap during an exchange. Every allocation of the process
// goes through the operators below; they count while `counting` is set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <new>
#include <string_view>

#include "link/config_commands.h"
#include "link/io_name_commands.h"
#include "link/phone_commands.h"
#include "link/status_commands.h"
#include "tests/support/link_fixture.h"

namespace {
bool counting = false;
int allocations = 0;

void* allocate(std::size_t size) {
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (counting) ++allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (counting) ++allocations;
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace zavi::test {
namespace {

using NoAllocation = LinkTest;

TEST_F(NoAllocation, ExchangesUseNoHeap) {
    drv.reply(answer_frame(8, concat({{0},
                                      Bytes(10, 3),
                                      wire_text("Open"),
                                      wire_text("Closed"),
                                      wire_text(""),
                                      wire_text("x")})));
    drv.reply(answer_frame(24, concat({{1},
                                       wire_text("a"),
                                       wire_text("b"),
                                       wire_text("c"),
                                       wire_text("d"),
                                       wire_text("e"),
                                       wire_text("f")})));
    drv.reply(answer_frame(22, {1, 2}));
    drv.reply(ack(7));
    drv.reply(ack(25));
    for (int i = 0; i < 10; ++i) drv.reply(ack(i == 0 ? 19 : i == 1 ? 14 : 17));
    drv.reply_nothing();
    accepted_count = 100;

    allocations = 0;
    counting = true;
    const LinkResult results[] = {
        read_status(h, 0),       read_io_names(h, 1),  read_call_answer(h),
        write_alarm_settings(h), write_io_names(h, 0), write_phone_numbers(h),
        read_accept_all(h),  // no answer: the failure path too
    };
    counting = false;

    EXPECT_EQ(allocations, 0);
    const LinkResult expected[] = {kOk, kOk, kOk, kOk, kOk, kOk, kFailed};
    for (std::size_t i = 0; i < std::size(results); ++i) EXPECT_EQ(results[i], expected[i]) << i;
}

// The rest of the command set, the opening with its firmware check and the whole read
// sequence of the telephone numbers included.
TEST_F(NoAllocation, EveryOtherCommandUsesNoHeap) {
    struct Silent : FirmwareNotice {
        void firmware_mismatch(std::string_view) override {}
    } notice;
    drv.reply(answer_frame(1, text_bytes(kRequiredFirmware)));
    drv.reply(answer_frame(8, concat({{1}, wire_text("On"), wire_text("Off")})));
    drv.reply(answer_frame(8, concat({{2}, wire_text("Plus")})));
    drv.reply(answer_frame(6, Bytes(kAlarmSettingsBytes, 4)));
    drv.reply(answer_frame(9, {0x12, 0x34, 0x12, 0x34, 0x56, 0x78}));
    drv.reply(answer_frame(11, Bytes(9, 0x30)));
    drv.reply(answer_frame(20, {2}));
    drv.reply(answer_frame(26, {0x81}));
    drv.reply(answer_frame(24, concat({{0},
                                       wire_text("a"),
                                       wire_text(""),
                                       wire_text("c"),
                                       wire_text("d"),
                                       wire_text("e"),
                                       wire_text("f")})));
    drv.reply(answer_frame(18, {1}));
    drv.reply(answer_frame(13, concat({{1}, Bytes(7, 0x16)})));
    drv.reply(answer_frame(16, concat({{0, 2}, Bytes(14, 0x53)})));
    for (uint8_t command : {10, 12, 21, 23, 27, 15}) drv.reply(ack(command));

    allocations = 0;
    counting = true;
    DriverHandle opened = nullptr;
    const uint8_t open_result = open_device(0, &opened, 1, notice);
    const LinkResult results[] = {
        read_status(h, 1),     read_status(h, 2),    read_alarm_settings(h), read_sim_codes(h),
        read_actions(h),       read_auto_reset(h),   read_auto_status(h),    read_io_names(h, 0),
        read_phone_numbers(h), write_sim_codes(h),   write_actions(h),       write_auto_reset(h),
        write_call_answer(h),  write_auto_status(h), reset_device(h),
    };
    counting = false;

    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(open_result, kOpenOk);
    for (std::size_t i = 0; i < std::size(results); ++i) EXPECT_EQ(results[i], kOk) << i;
    EXPECT_NE(opened, nullptr);
    EXPECT_EQ(accepted_count, 2);  // the sequence really ran to its last block
}

TEST(AllocationCounter, SeesAnAllocation) {
    counting = true;
    int* volatile p = new int(3);
    counting = false;
    delete p;
    EXPECT_GE(allocations, 1);
    allocations = 0;
}

}  // namespace
}  // namespace zavi::test
