// The Windows side of the durable append: FILE_APPEND_DATA, one WriteFile, FlushFileBuffers.
#include <windows.h>

#include <string>

#include "common/append_file.h"
#include "common/file_parts.h"
#include "win32/wide_text.h"

namespace zavi {

namespace {

bool write_all(HANDLE file, std::string_view data, std::string* error) {
    while (!data.empty()) {
        DWORD wrote = 0;
        if (!WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &wrote, nullptr) ||
            wrote == 0) {
            *error = "could not be written (system error " + std::to_string(GetLastError()) + ")";
            return false;
        }
        data.remove_prefix(wrote);
    }
    return true;
}

}  // namespace

bool append_line_durably(const std::string& path, std::string_view line, std::string* error) {
    const HANDLE file =
        CreateFileW(to_wide(path).c_str(), FILE_APPEND_DATA | FILE_READ_DATA | SYNCHRONIZE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = "could not be opened (system error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    bool ok = GetFileType(file) == FILE_TYPE_DISK;
    if (!ok) *error = "is not a regular file";
    // A line cut short by a crash gets its end first, so that the new line stands alone.
    LARGE_INTEGER size{};
    char last = '\n';
    if (ok && GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(size.QuadPart - 1);
        at.OffsetHigh = static_cast<DWORD>((size.QuadPart - 1) >> 32);
        DWORD got = 0;
        if (!ReadFile(file, &last, 1, &got, &at) || got != 1) last = '\n';
    }
    ok = ok && append_in_pieces(
                   line_to_append(line, last != '\n'),
                   [&](std::string_view piece) { return write_all(file, piece, error); },
                   [&] { FlushFileBuffers(file); });
    if (ok && !FlushFileBuffers(file)) {
        *error = "could not be flushed to the disk (system error " +
                 std::to_string(GetLastError()) + ")";
        ok = false;
    }
    CloseHandle(file);
    return ok;
}

}  // namespace zavi
