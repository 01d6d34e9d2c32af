#include "win32/com_driver.h"

#include <windows.h>

#include <setupapi.h>

#include <algorithm>
#include <cwchar>

#include "common/utf16.h"
#include "link/usb_vendor.h"
#include "win32/wide_text.h"

namespace zavi {

namespace {

// The class of serial and parallel ports: {4D36E978-E325-11CE-BFC1-08002BE10318}.
constexpr GUID kPortsClass = {
    0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

unsigned port_number(const std::wstring& name) {
    return is_com_port_name(name)
               ? static_cast<unsigned>(std::wcstoul(name.c_str() + 3, nullptr, 10))
               : 0;
}

bool configure(HANDLE port) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb)) return false;
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (dcb.fDtrControl == DTR_CONTROL_HANDSHAKE) dcb.fDtrControl = DTR_CONTROL_ENABLE;
    if (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE || dcb.fRtsControl == RTS_CONTROL_TOGGLE)
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
    return SetCommState(port, &dcb) != 0;
}

// "Windows error 5: Access is denied", in English whatever the system's language.
std::string windows_error_text(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = "Windows error " + std::to_string(error);
    if (n > 0 && text) {
        std::u16string w(reinterpret_cast<const char16_t*>(text), n);
        while (!w.empty() && (w.back() == u'\r' || w.back() == u'\n' || w.back() == u' '))
            w.pop_back();
        out += ": " + utf16_to_utf8(w);
    }
    if (text) LocalFree(text);
    return out;
}

std::vector<std::string> narrow_all(const std::vector<std::wstring>& names) {
    std::vector<std::string> out;
    for (const std::wstring& n : names) out.push_back(from_wide(n));
    return out;
}

// The COM name a device of the ports class has, "" when it has none.
std::wstring port_name(HDEVINFO set, SP_DEVINFO_DATA& device) {
    HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return {};
    wchar_t name[32] = {};
    DWORD name_size = sizeof name - sizeof(wchar_t);
    DWORD name_type = 0;
    const bool read = RegQueryValueExW(key, L"PortName", nullptr, &name_type,
                                       reinterpret_cast<BYTE*>(name), &name_size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return read && name_type == REG_SZ ? name : L"";
}

}  // namespace

bool is_com_port_name(const std::wstring& name) {
    if (name.size() < 4 || name.size() > 6) return false;
    if (_wcsnicmp(name.c_str(), L"COM", 3) != 0) return false;
    if (name[3] == L'0') return false;
    for (std::size_t i = 3; i < name.size(); ++i)
        if (name[i] < L'0' || name[i] > L'9') return false;
    const unsigned long n = std::wcstoul(name.c_str() + 3, nullptr, 10);
    return n >= 1 && n <= 255;
}

ComDriver::ComDriver(ListComPorts list_ports)
    : NamedPortDriver([list = std::move(list_ports)] {
          return list ? narrow_all(list()) : std::vector<std::string>{};
      }) {}

ComDriver::~ComDriver() {
    for (void* h : handles_) CloseHandle(h);
}

DriverStatus ComDriver::fail(DriverStatus status) {
    const DWORD error = GetLastError();
    failure_ = {static_cast<int>(error), error == 0 ? std::string() : windows_error_text(error)};
    return status;
}
DriverStatus ComDriver::open_port(const std::string& name, DriverHandle* handle) {
    const std::wstring port = to_wide(name);
    if (!is_com_port_name(port)) return kDriverNotFound;
    const std::wstring path = L"\\\\.\\" + port;
    // Share mode 0: a COM port is the caller's alone; another program gets access denied.
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return fail(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                        ? kDriverNotFound
                        : kDriverNotOpened);
    }
    if (!configure(h)) {
        const DriverStatus status = fail(kDriverNotOpened);
        CloseHandle(h);
        return status;
    }
    PurgeComm(h, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    handles_.push_back(h);
    failure_ = {};
    *handle = h;
    return kDriverOk;
}

DriverStatus ComDriver::set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) {
    if (!is_open(handle)) return kDriverInvalidHandle;
    // A read returns when all bytes are in or when `read_ms` has passed since it began, with
    // what arrived by then: the vendor library's rule. 0 waits without limit, as there.
    COMMTIMEOUTS t{};  // no interval time-out and no time per byte: only the totals
    t.ReadTotalTimeoutConstant = read_ms;
    t.WriteTotalTimeoutConstant = write_ms;
    if (!SetCommTimeouts(static_cast<HANDLE>(handle), &t)) return fail(kDriverIoError);
    return kDriverOk;
}

DriverStatus ComDriver::purge(DriverHandle handle, uint32_t mask) {
    if (!is_open(handle)) return kDriverInvalidHandle;
    DWORD flags = 0;
    if (mask & 1) flags |= PURGE_RXABORT | PURGE_RXCLEAR;
    if (mask & 2) flags |= PURGE_TXABORT | PURGE_TXCLEAR;
    if (flags != 0 && !PurgeComm(static_cast<HANDLE>(handle), flags)) return fail(kDriverIoError);
    return kDriverOk;
}

DriverStatus ComDriver::write(DriverHandle handle, const void* buffer, uint32_t count,
                              uint32_t* written) {
    if (const DriverStatus s = check_transfer(is_open(handle), buffer, count, written);
        s != kDriverOk)
        return s;
    DWORD n = 0;
    const bool sent = WriteFile(static_cast<HANDLE>(handle), buffer, count, &n, nullptr);
    *written = n;
    return sent ? kDriverOk : fail(kDriverIoError);
}

DriverStatus ComDriver::read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) {
    if (const DriverStatus s = check_transfer(is_open(handle), buffer, count, got); s != kDriverOk)
        return s;
    DWORD n = 0;
    const bool received = ReadFile(static_cast<HANDLE>(handle), buffer, count, &n, nullptr);
    *got = n;  // fewer than asked: the time-out passed, which is no error
    return received ? kDriverOk : fail(kDriverIoError);
}

DriverStatus ComDriver::close_port(DriverHandle handle) {
    handles_.erase(std::remove(handles_.begin(), handles_.end(), handle), handles_.end());
    return CloseHandle(static_cast<HANDLE>(handle)) ? kDriverOk : kDriverIoError;
}

std::vector<std::wstring> find_ftdi_com_ports() {
    std::vector<std::wstring> found;
    HDEVINFO set = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return found;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        wchar_t ids[1024] = {};
        DWORD type = 0, size = 0;
        if (!SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID, &type,
                                               reinterpret_cast<BYTE*>(ids), sizeof ids - 4,
                                               &size) ||
            type != REG_MULTI_SZ)
            continue;
        if (!any_hardware_id_is_ftdi(from_wide({ids, size / sizeof(wchar_t)}))) continue;
        if (std::wstring name = port_name(set, device); is_com_port_name(name))
            found.push_back(std::move(name));
    }
    SetupDiDestroyDeviceInfoList(set);
    std::sort(found.begin(), found.end(), [](const std::wstring& a, const std::wstring& b) {
        return port_number(a) < port_number(b);
    });
    return found;
}

std::string com_port_instance_id(const std::wstring& port) {
    std::string id;
    HDEVINFO set = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return id;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; id.empty() && SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        if (_wcsicmp(port_name(set, device).c_str(), port.c_str()) != 0) continue;
        wchar_t instance[512] = {};
        if (SetupDiGetDeviceInstanceIdW(set, &device, instance, 511, nullptr))
            id = from_wide(instance);
    }
    SetupDiDestroyDeviceInfoList(set);
    return id;
}

}  // namespace zavi
