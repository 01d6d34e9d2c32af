// The POSIX side of the durable append: O_APPEND, one write, fsync.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "common/append_file.h"
#include "common/file_parts.h"

namespace zavi {

bool append_line_durably(const std::string& path, std::string_view line, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *error = "could not be opened: " + std::generic_category().message(errno);
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!ok) *error = "is not a regular file";
    // A line cut short by a crash gets its end first, so that the new line stands alone.
    char last = '\n';
    if (ok && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) != 1) last = '\n';
    ok = ok && append_in_pieces(
                   line_to_append(line, last != '\n'),
                   [&](std::string_view piece) {
                       int os_error = 0;
                       if (write_all(fd, piece, &os_error)) return true;
                       *error =
                           "could not be written: " + std::generic_category().message(os_error);
                       return false;
                   },
                   [&] { ::fsync(fd); });
    if (ok && ::fsync(fd) != 0) {
        *error = "could not be flushed to the disk: " + std::generic_category().message(errno);
        ok = false;
    }
    ::close(fd);
    return ok;
}

}  // namespace zavi

#endif
