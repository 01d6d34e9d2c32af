// The link layer must not touch the heap during an exchange. Every allocation of the process
// goes through the operators below; they count while `counting` is set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <new>

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
    const uint8_t results[] = {
        read_status(h, 0),       read_io_names(h, 1),  read_call_answer(h),
        write_alarm_settings(h), write_io_names(h, 0), write_phone_numbers(h),
        read_accept_all(h),  // no answer: the failure path too
    };
    counting = false;

    EXPECT_EQ(allocations, 0);
    const uint8_t expected[] = {kOk, kOk, kOk, kOk, kOk, kOk, kFailed};
    for (std::size_t i = 0; i < std::size(results); ++i) EXPECT_EQ(results[i], expected[i]) << i;
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
