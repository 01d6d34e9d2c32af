// The POSIX side of the safe writer: mkstemp-like names, fsync, rename, fsync of the folder.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <system_error>

#include "common/file_parts.h"
#include "common/safe_file.h"

namespace zavi {

namespace {

std::string reason(int os_error) {
    return std::generic_category().message(os_error);
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

const char* kind_of(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

// After the rename the new file is in place; a folder that cannot be synced (some file
// systems refuse) does not undo that, so this is best effort.
void sync_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

mode_t mode_for(FileAccess access) {
    return access == FileAccess::secret ? 0600 : 0666;
}

// Writes `data` to a new temporary file beside `path`, on the disk and closed; *temp names it.
// `keep` bounds the mode (an existing file's). On failure nothing is left.
bool write_temp(const std::string& path, std::string_view data, FileAccess access, mode_t keep,
                std::string* temp, std::string* error) {
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        *temp = temporary_name(path, static_cast<unsigned long long>(getpid()), "/");
        fd = ::open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    mode_for(access));
        if (fd < 0 && errno != EEXIST) {
            *error = "cannot be written: no file can be created in " + folder_of(path) + " (" +
                     reason(errno) + ")";
            return false;
        }
    }
    if (fd < 0) {
        *error = "cannot be written: no free temporary name in " + folder_of(path);
        return false;
    }
    const auto fail = [&](const std::string& why, int os_error) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp->c_str());
        *error = why + " (" + reason(os_error) + "); the file was left as it was";
        return false;
    };
    struct stat made {};
    if (::fstat(fd, &made) != 0) return fail("cannot be written", errno);
    const mode_t wanted = made.st_mode & keep & 0777;
    if (wanted != (made.st_mode & 0777) && ::fchmod(fd, wanted) != 0)
        return fail("cannot be written", errno);
    int os_error = 0;
    if (!write_all(fd, data, &os_error)) return fail("could not be written completely", os_error);
    if (::fsync(fd) != 0) return fail("could not be written to the disk", errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail("could not be written to the disk", errno);
    return true;
}

// Moves `temp` to `path` only when nothing is there: renameat2 where the file system has it,
// otherwise a hard link (which fails just the same when the name is taken).
bool move_to_free_name(const std::string& temp, const std::string& path, int* os_error) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) {
        *os_error = errno;
        return false;
    }
#endif
    if (::link(temp.c_str(), path.c_str()) != 0) {
        *os_error = errno;
        return false;
    }
    ::unlink(temp.c_str());
    return true;
}

}  // namespace

bool write_all(int fd, std::string_view data, int* os_error) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            *os_error = n < 0 ? errno : ENOSPC;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool write_file_safely(const std::string& path, std::string_view data, FileAccess access,
                       std::string* error) {
    if (path.empty() || path.back() == '/') {
        *error = "is not a file name";
        return false;
    }
    mode_t keep = 0777;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISREG(st.st_mode)) {
            keep = st.st_mode & 0777;
        } else if (!S_ISLNK(st.st_mode)) {
            *error = std::string("is ") + kind_of(st.st_mode) +
                     ", not a regular file; nothing was written";
            return false;
        }
    } else if (errno != ENOENT) {
        *error = "cannot be written: " + reason(errno);
        return false;
    }
    std::string temp;
    if (!write_temp(path, data, access, keep, &temp, error)) return false;
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        *error = "cannot be replaced (" + reason(e) + "); the file was left as it was";
        return false;
    }
    sync_folder(folder_of(path));
    return true;
}

bool write_new_file_safely(const std::function<std::string(int)>& name_for, int attempts,
                           std::string_view data, FileAccess access, std::string* path,
                           std::string* error) {
    const std::string first = name_for(1);
    std::string temp;
    if (!write_temp(first, data, access, 0777, &temp, error)) return false;
    for (int n = 1; n <= attempts; ++n) {
        const std::string candidate = n == 1 ? first : name_for(n);
        int os_error = 0;
        if (move_to_free_name(temp, candidate, &os_error)) {
            sync_folder(folder_of(candidate));
            *path = candidate;
            return true;
        }
        if (os_error != EEXIST) {
            ::unlink(temp.c_str());
            *error = "cannot be written (" + reason(os_error) + ")";
            return false;
        }
    }
    ::unlink(temp.c_str());
    *error = "cannot be written: every name from " + first + " on is taken";
    return false;
}

bool make_private_folder(const std::string& path, std::string* error) {
    std::error_code ec;
    const std::filesystem::path folder(path);
    if (folder.has_parent_path()) std::filesystem::create_directories(folder.parent_path(), ec);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        *error = "cannot be created: " + reason(errno);
        return false;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *error = "is not a folder";
        return false;
    }
    // A folder made by an older version, or by hand, is narrowed when it is ours.
    if ((st.st_mode & 077) != 0 && st.st_uid == ::geteuid())
        ::chmod(path.c_str(), st.st_mode & 0700);
    return true;
}

bool FileLock::lock(const std::string& path, std::string* error) {
    unlock();
    const std::string lock_path = path + ".lock";
    const int fd = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = "cannot be locked: " + lock_path + " cannot be opened (" + reason(errno) + ")";
        return false;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        *error = "cannot be locked: " + reason(errno);
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

void FileLock::unlock() {
    if (handle_ < 0) return;
    ::close(static_cast<int>(handle_));
    handle_ = -1;
}

}  // namespace zavi

#endif
