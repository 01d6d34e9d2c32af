// The record table: each row's functions touch its own record and no other, and the device
// records carry every record's value there and back.
#include <gtest/gtest.h>

#include <thread>

#include "config/record_table.h"
#include "config/record_values.h"
#include "tests/config/config_sample.h"

namespace zavi::config {
namespace {

// Away from the sample in every record.
Configuration other_configuration() {
    Configuration c = test::sample_configuration();
    c.alarm_settings = {0x0A, 0x03, 50, 10, -20, -40, 80};
    for (auto& p : c.procedures)
        p = {!p.sms, !p.clip, static_cast<uint8_t>((p.out1 + 1) % 4),
             static_cast<uint8_t>((p.out2 + 2) % 4), 3};
    c.call_answer = {false, 2, 0};
    c.auto_status = {false, true, 15};
    c.auto_reset_days = 200;
    c.emergency_numbers = {"111"};
    c.accept_all = false;
    c.accepted_numbers = {"222", "333", "444"};
    for (std::size_t i = 0; i < kNameCount; ++i) c.io_names[i] = "Name " + std::to_string(i);
    c.sim_codes = SimCodesValue{"1234", std::nullopt};
    return c;
}

Record record_at(std::size_t i) {
    return static_cast<Record>(i);
}

TEST(RecordTable, CopyTakesItsRecordAndLeavesEveryOther) {
    Configuration a = test::sample_configuration();
    a.sim_codes = SimCodesValue{std::nullopt, "87654321"};
    const Configuration b = other_configuration();
    for (std::size_t i = 0; i < kRecordCount; ++i) {
        SCOPED_TRACE(record_name(record_at(i)));
        Configuration after = a;
        record_row(record_at(i)).copy(b, &after);
        for (std::size_t k = 0; k < kRecordCount; ++k) {
            SCOPED_TRACE(record_name(record_at(k)));
            EXPECT_EQ(record_equal(record_at(k), after, b), k == i);
            EXPECT_EQ(record_equal(record_at(k), after, a), k != i);
        }
    }
}

// Writing one record into the device records and capturing them again gives that record of
// the value and changes no other.
TEST(RecordTable, DeviceRecordsCarryEachRecordThereAndBack) {
    const Configuration a = other_configuration();
    Configuration b = test::sample_configuration();
    b.sim_codes = SimCodesValue{"0042", "12345678"};
    for (std::size_t i = 0; i < kRecordCount; ++i) apply_record(record_at(i), a);
    for (std::size_t i = 0; i < kRecordCount; ++i) {
        SCOPED_TRACE(record_name(record_at(i)));
        const Configuration before = capture_records(true);
        ASSERT_TRUE(record_equal(record_at(i), before, a));
        apply_record(record_at(i), b);
        const Configuration after = capture_records(true);
        for (std::size_t k = 0; k < kRecordCount; ++k) {
            SCOPED_TRACE(record_name(record_at(k)));
            EXPECT_TRUE(record_equal(record_at(k), after, k <= i ? b : a));
        }
    }
    EXPECT_EQ(capture_records(false).sim_codes, std::nullopt);
}

// A new thread binds its records on its first use of them. Where that first use is inside a
// loop of optimised code (the names and numbers), the binding must still come before the read.
TEST(RecordTable, AThreadsFirstUseOfTheRecordsInALoopFindsThemBound) {
    reset_all_records();
    const Configuration c = other_configuration();
    for (const Record r : {Record::io_names_first, Record::io_names_second,
                           Record::emergency_numbers, Record::accepted_numbers}) {
        SCOPED_TRACE(record_name(r));
        std::thread([&] { apply_record(r, c); }).join();
        Configuration back;
        std::thread([&] { back = capture_records(true); }).join();
        EXPECT_TRUE(record_equal(r, back, c));
    }
    reset_all_records();
}

}  // namespace
}  // namespace zavi::config
