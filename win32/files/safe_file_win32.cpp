// The Windows side of the safe writer: CREATE_NEW for the temporary file, FlushFileBuffers, and
// MoveFileExW with write-through over the target. Device names are refused before anything is
// opened, since Windows would open the device instead of a file.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>

#include "common/file_parts.h"
#include "common/file_queries.h"
#include "common/path_text.h"
#include "common/safe_file.h"
#include "common/utf16.h"
#include "win32/wide_text.h"

namespace zavi {

namespace {

std::string reason(DWORD os_error) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, os_error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string message;
    if (n > 0 && text) message.assign(reinterpret_cast<const char16_t*>(text), n);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' ||
                                message.back() == u'.' || message.back() == u' '))
        message.pop_back();
    if (message.empty()) return "system error " + std::to_string(os_error);
    return utf16_to_utf8(message);
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool refused_device(const std::string& path, std::string* error) {
    if (!is_windows_device_name(path)) return false;
    *error = "is a device name on Windows (NUL, CON, COM1 ...), not a file; nothing was written";
    return true;
}

// Writes `data` to a new temporary file beside `path`, flushed and closed; *temp names it.
bool write_temp(const std::string& path, std::string_view data, std::wstring* temp,
                std::string* error) {
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        *temp = to_wide(temporary_name(path, GetCurrentProcessId(), "\\/"));
        file = CreateFileW(temp->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD e = GetLastError();
        if (file == INVALID_HANDLE_VALUE && e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS) {
            *error = "cannot be written: no file can be created in " + folder_of(path) + " (" +
                     reason(e) + ")";
            return false;
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        *error = "cannot be written: no free temporary name in " + folder_of(path);
        return false;
    }
    const auto fail = [&](const char* why, DWORD e) {
        CloseHandle(file);
        DeleteFileW(temp->c_str());
        *error = std::string(why) + " (" + reason(e) + "); the file was left as it was";
        return false;
    };
    while (!data.empty()) {
        const DWORD chunk = data.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(data.size());
        DWORD written = 0;
        if (!WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0)
            return fail("could not be written completely", GetLastError());
        data.remove_prefix(written);
    }
    if (!FlushFileBuffers(file)) return fail("could not be written to the disk", GetLastError());
    CloseHandle(file);
    return true;
}

}  // namespace

bool write_file_safely(const std::string& path, std::string_view data, FileAccess,
                       std::string* error) {
    if (path.empty() || path.back() == '/' || path.back() == '\\') {
        *error = "is not a file name";
        return false;
    }
    if (refused_device(path, error)) return false;
    const std::wstring target = to_wide(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        *error = "is a folder, not a regular file; nothing was written";
        return false;
    }
    std::wstring temp;
    if (!write_temp(path, data, &temp, error)) return false;
    if (!MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD e = GetLastError();
        DeleteFileW(temp.c_str());
        *error = "cannot be replaced (" + reason(e) + "); the file was left as it was";
        return false;
    }
    return true;
}

bool write_new_file_safely(const std::function<std::string(int)>& name_for, int attempts,
                           std::string_view data, FileAccess, std::string* path,
                           std::string* error) {
    const std::string first = name_for(1);
    if (refused_device(first, error)) return false;
    std::wstring temp;
    if (!write_temp(first, data, &temp, error)) return false;
    for (int n = 1; n <= attempts; ++n) {
        const std::string candidate = n == 1 ? first : name_for(n);
        // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
        if (MoveFileExW(temp.c_str(), to_wide(candidate).c_str(), MOVEFILE_WRITE_THROUGH)) {
            *path = candidate;
            return true;
        }
        const DWORD e = GetLastError();
        if (e != ERROR_ALREADY_EXISTS && e != ERROR_FILE_EXISTS) {
            DeleteFileW(temp.c_str());
            *error = "cannot be written (" + reason(e) + ")";
            return false;
        }
    }
    DeleteFileW(temp.c_str());
    *error = "cannot be written: every name from " + first + " on is taken";
    return false;
}

// The folder is under the user's own profile, whose permissions already keep others out.
bool make_private_folder(const std::string& path, std::string* error) {
    // Each folder on the way from the top, then the folder itself; those already there refuse
    // harmlessly.
    for (std::size_t i = 1; i <= path.size(); ++i) {
        const bool end_of_part = i == path.size() || is_path_separator(path[i]);
        if (end_of_part && !is_path_separator(path[i - 1]) && path[i - 1] != ':')
            CreateDirectoryW(to_wide(path.substr(0, i)).c_str(), nullptr);
    }
    if (file_facts(path).kind != PathKind::folder) {
        *error = "cannot be created";
        return false;
    }
    return true;
}

bool FileLock::lock(const std::string& path, std::string* error) {
    unlock();
    const HANDLE file = CreateFileW(to_wide(path + ".lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error =
            "cannot be locked: " + path + ".lock cannot be opened (" + reason(GetLastError()) + ")";
        return false;
    }
    OVERLAPPED whole{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole)) {
        *error = "cannot be locked: " + reason(GetLastError());
        CloseHandle(file);
        return false;
    }
    handle_ = static_cast<long long>(reinterpret_cast<intptr_t>(file));
    return true;
}

void FileLock::unlock() {
    if (handle_ == -1) return;
    CloseHandle(reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle_)));
    handle_ = -1;
}

}  // namespace zavi
