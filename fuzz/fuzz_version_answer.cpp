// Fuzzes the version answer that decides whether a module is used. Input byte 0: bits 0-1 the
// language of the firmware message, bit 7 makes the time-out call fail; then the replies.
#include <cstring>
#include <string>

#include "fuzz/answer_driver.h"
#include "fuzz/fuzz_check.h"
#include "link/connection.h"

namespace zavi::fuzz {
namespace {

class Notice : public FirmwareNotice {
  public:
    void firmware_mismatch(std::string_view message) override {
        ++shown;
        text.assign(message);
    }
    int shown = 0;
    std::string text;
};

}  // namespace
}  // namespace zavi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zavi;
    using namespace zavi::fuzz;
    if (size == 0) return 0;
    const uint8_t language = data[0] & 3;
    AnswerDriver usb(std::span<const uint8_t>(data + 1, size - 1));
    usb.timeouts_fail = (data[0] & 0x80) != 0;
    Notice notice;
    DriverHandle handle = reinterpret_cast<DriverHandle>(1);

    const uint8_t result = open_device(0, &handle, language, notice);

    FUZZ_CHECK(result <= kOpenWrongFirmware, "open result 0, 1 or 2");
    const uint8_t version_request[] = {0x4D, 0x01, 0x00, 0xC4, 0x16};
    FUZZ_CHECK(usb.requests().size() == 1, "one version request");
    FUZZ_CHECK(usb.requests()[0].size() == sizeof version_request &&
                   std::memcmp(usb.requests()[0].data(), version_request, 5) == 0,
               "the version request is 4D 01 00 C4 16");
    if (result == kOpenOk) {
        FUZZ_CHECK(handle == usb.handle() && usb.open_handles() == 1, "a good module stays open");
    } else {
        FUZZ_CHECK(handle == nullptr && usb.open_handles() == 0, "a rejected module is closed");
    }
    FUZZ_CHECK(notice.shown == (result == kOpenWrongFirmware ? 1 : 0),
               "the firmware message comes exactly with result 2");
    if (result == kOpenWrongFirmware) {
        FUZZ_CHECK(notice.text.find(kRequiredFirmware) != std::string::npos,
                   "the message names the required firmware");
    }
    return 0;
}
