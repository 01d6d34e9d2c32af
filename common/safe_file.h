// Writing a file whole or not at all, whatever is at the path. The data goes to a new file with
// a unique name in the target's folder, is flushed to the disk and then renamed over the target,
// so the target is always either the old file or the new one. A symbolic link at the path is
// replaced, never followed; anything that is not a regular file (a folder, a device, a FIFO, a
// socket) is refused and left alone. Paths are UTF-8.
//
// The POSIX implementation is portable code; the Windows one lives with the other Win32 code
// and is linked into the Windows programs and the drop-in driver.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zavi {

enum class FileAccess {
    normal,  // what the user's umask allows
    secret,  // the owner alone (0600): the file holds the SIM's PIN and PUK
};

// Writes `data` to `path` as described above. A file that is already there keeps its mode when
// that is stricter than the new one would be. False with a reason (starting with a verb, to
// follow the path in a message) when anything fails; then no temporary file is left and the
// target is as it was.
bool write_file_safely(const std::string& path, std::string_view data, FileAccess access,
                       std::string* error);

// Writes `data` as above, but only under a name that nothing holds yet (not even a dangling
// link): name_for(1), name_for(2) ... up to name_for(attempts), all in one folder. The file
// appears under its name complete, and two programs never get the same name. *path receives
// the name taken.
bool write_new_file_safely(const std::function<std::string(int)>& name_for, int attempts,
                           std::string_view data, FileAccess access, std::string* path,
                           std::string* error);

// Creates the folder and its parents; the folder itself is made (or narrowed to) the owner
// alone when it is ours.
bool make_private_folder(const std::string& path, std::string* error);

// True for the names Windows gives its devices in every folder: CON, PRN, AUX, NUL, COM0-9,
// LPT0-9, CONIN$, CONOUT$, in any case, with any extension (NUL.txt, com1.zavi.json), and for
// paths into the device namespace (\\.\ and \\?\GLOBALROOT).
bool is_windows_device_name(std::string_view path);

// Tests: the temporary names to try, in place of the random ones (null: random again), so that
// a test can plant something at the name the writer will meet.
void set_temporary_names_for_tests(std::function<std::string(const std::string& target)> names);

// An exclusive lock held beside a file (PATH.lock) for as long as the object lives, so that
// two runs that read, change and save one file take turns. lock() waits for the other run.
class FileLock {
  public:
    FileLock() = default;
    ~FileLock() { unlock(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool lock(const std::string& path, std::string* error);
    void unlock();

  private:
    long long handle_ = -1;
};

}  // namespace zavi
