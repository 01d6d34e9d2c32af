// The safe writer against whatever may be at the path: each kind of target is replaced whole or
// refused, nothing outside the target changes and no temporary file stays behind; secret files
// and the backups folder are the owner's alone; a full disk keeps the old file.
#include "common/safe_file.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "tests/support/temp_dir.h"

namespace zavi {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::write_file;

std::set<std::string> names_in(const fs::path& folder) {
    std::set<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) out.insert(e.path().filename());
    return out;
}

mode_t mode_of(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

bool make_socket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || path.size() >= sizeof address.sun_path) return false;
    path.copy(address.sun_path, path.size());
    const bool made = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return made;
}

TEST(SafeFile, EveryKindOfTargetIsReplacedWholeOrRefused) {
    struct Row {
        const char* name;
        // Puts something at `target` (in `work`, with `victim` outside it); false: the row
        // cannot be set up here (the reason in *skip).
        std::function<bool(const std::string& target, const std::string& victim, std::string*)>
            plant;
        bool written;
        const char* error;  // part of the reason when refused
    };
    const Row rows[] = {
        {"missing", [](auto&, auto&, auto*) { return true; }, true, ""},
        {"regular",
         [](auto& t, auto&, auto*) {
             write_file(t, "old contents");
             return true;
         },
         true, ""},
        {"symlink to a file elsewhere",
         [](auto& t, auto& v, auto*) { return ::symlink(v.c_str(), t.c_str()) == 0; }, true, ""},
        {"dangling symlink",
         [](auto& t, auto& v, auto*) {
             return ::symlink((v + ".not-there").c_str(), t.c_str()) == 0;
         },
         true, ""},
        {"symlink to standard output",
         [](auto& t, auto&, auto*) { return ::symlink("/proc/self/fd/1", t.c_str()) == 0; }, true,
         ""},
        {"planted NAME.part link",
         [](auto& t, auto& v, auto*) { return ::symlink(v.c_str(), (t + ".part").c_str()) == 0; },
         true, ""},
        {"FIFO", [](auto& t, auto&, auto*) { return ::mkfifo(t.c_str(), 0644) == 0; }, false,
         "is a FIFO (named pipe), not a regular file"},
        {"socket", [](auto& t, auto&, auto*) { return make_socket(t); }, false,
         "is a socket, not a regular file"},
        {"character device",
         [](auto& t, auto&, std::string* skip) {
             if (::mknod(t.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) return true;
             *skip = "mknod needs root";
             return false;
         },
         false, "is a character device, not a regular file"},
        {"folder",
         [](auto& t, auto&, auto*) {
             fs::create_directory(t);
             write_file(t + "/inside", "kept");
             return true;
         },
         false, "is a folder, not a regular file"},
        {"read-only folder",
         [](auto& t, auto&, std::string* skip) {
             write_file(t, "old contents");
             if (::geteuid() == 0) {
                 *skip = "root writes into any folder";
                 return false;
             }
             return ::chmod(fs::path(t).parent_path().c_str(), 0555) == 0;
         },
         false, "no file can be created in"},
        {"inside a missing folder", [](auto&, auto&, auto*) { return true; }, false,
         "no file can be created in"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        fs::create_directory(dir.path() / "work");
        fs::create_directory(dir.path() / "outside");
        const std::string victim = (dir.path() / "outside" / "victim").string();
        write_file(victim, "the victim's own text");
        std::string target = (dir.path() / "work" / "out.zavi.json").string();
        if (std::string(row.name) == "inside a missing folder")
            target = (dir.path() / "work" / "missing" / "out.zavi.json").string();
        std::string skip;
        if (!row.plant(target, victim, &skip)) {
            ASSERT_FALSE(skip.empty()) << "setting up the row failed";
            std::printf("  [row skipped: %s: %s]\n", row.name, skip.c_str());
            continue;
        }
        const std::set<std::string> before = names_in(dir.path() / "work");
        const mode_t kind_before = mode_of(target) & S_IFMT;
        const std::string old_text = S_ISREG(kind_before) ? read_file(target) : "";

        std::string error;
        const bool written =
            write_file_safely(target, "{\"new\": true}\n", FileAccess::normal, &error);
        ::chmod((dir.path() / "work").c_str(), 0755);

        EXPECT_EQ(written, row.written) << error;
        EXPECT_EQ(read_file(victim), "the victim's own text");
        EXPECT_EQ(names_in(dir.path() / "outside"), std::set<std::string>{"victim"});
        std::set<std::string> expected = before;
        if (written) {
            expected.insert("out.zavi.json");
            EXPECT_TRUE(S_ISREG(mode_of(target))) << "the new file is a regular file";
            EXPECT_EQ(read_file(target), "{\"new\": true}\n");
        } else {
            EXPECT_NE(error.find(row.error), std::string::npos) << error;
            EXPECT_EQ(mode_of(target) & S_IFMT, kind_before) << "the target is left as it was";
            if (S_ISREG(kind_before)) {
                EXPECT_EQ(read_file(target), old_text);
            }
        }
        EXPECT_EQ(names_in(dir.path() / "work"), expected) << "no temporary file left behind";
    }
}

// Whatever another user planted at the temporary names is passed over and left as it was.
TEST(SafeFile, PlantedTemporaryNamesAreNeverOpened) {
    test::TempDir dir;
    const std::string victim = dir.file("victim");
    write_file(victim, "kept");
    const std::string planted[] = {dir.file(".t1"), dir.file(".t2"), dir.file(".t3"),
                                   dir.file(".t4")};
    ASSERT_EQ(::symlink(victim.c_str(), planted[0].c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("nowhere").c_str(), planted[1].c_str()), 0);
    ASSERT_EQ(::mkfifo(planted[2].c_str(), 0666), 0);
    write_file(planted[3], "someone's file");
    int offered = 0;
    set_temporary_names_for_tests([&](const std::string&) {
        ++offered;
        return offered <= 4 ? planted[offered - 1] : dir.file(".free");
    });
    std::string error;
    const bool written = write_file_safely(dir.file("out"), "new", FileAccess::normal, &error);
    set_temporary_names_for_tests(nullptr);
    ASSERT_TRUE(written) << error;
    EXPECT_EQ(offered, 5);
    EXPECT_EQ(read_file(dir.file("out")), "new");
    EXPECT_EQ(read_file(victim), "kept");
    EXPECT_FALSE(fs::exists(dir.file("nowhere")));
    EXPECT_TRUE(S_ISFIFO(mode_of(planted[2])));
    EXPECT_EQ(read_file(planted[3]), "someone's file");
    EXPECT_EQ(names_in(dir.path()),
              (std::set<std::string>{"victim", ".t1", ".t2", ".t3", ".t4", "out"}));
}

TEST(SafeFile, SecretFilesAndTheBackupFolderAreTheOwnersAlone) {
    test::TempDir dir;
    const mode_t old_umask = ::umask(022);
    struct Row {
        const char* name;
        mode_t existing;  // 0: no file there before
        FileAccess access;
        mode_t result;
    } const rows[] = {
        {"new, normal", 0, FileAccess::normal, 0644},
        {"new, secret", 0, FileAccess::secret, 0600},
        {"over 0644, secret", 0644, FileAccess::secret, 0600},
        {"over 0600, normal: the stricter mode is kept", 0600, FileAccess::normal, 0600},
        {"over 0640, normal", 0640, FileAccess::normal, 0640},
        {"over 0666, normal: no wider than the umask", 0666, FileAccess::normal, 0644},
    };
    for (const Row& row : rows) {
        const std::string path = dir.file(row.name);
        if (row.existing) {
            write_file(path, "old");
            ::chmod(path.c_str(), row.existing);
        }
        std::string error;
        ASSERT_TRUE(write_file_safely(path, "new", row.access, &error)) << row.name << error;
        EXPECT_EQ(mode_of(path) & 0777, row.result) << row.name;
    }
    const std::string folder = (dir.path() / "data" / "backups").string();
    std::string error;
    ASSERT_TRUE(make_private_folder(folder, &error)) << error;
    EXPECT_EQ(mode_of(folder) & 0777, 0700u);
    // A folder an older version made 0755 is narrowed.
    ::chmod(folder.c_str(), 0755);
    ASSERT_TRUE(make_private_folder(folder, &error)) << error;
    EXPECT_EQ(mode_of(folder) & 0777, 0700u);
    write_file(dir.file("plain"), "");
    EXPECT_FALSE(make_private_folder(dir.file("plain"), &error));
    ::umask(old_umask);
}

TEST(SafeFile, ANewFileTakesTheFirstFreeNameAndNeverFollowsALink) {
    test::TempDir dir;
    const std::string victim = dir.file("victim");
    write_file(victim, "kept");
    write_file(dir.file("n1"), "first");
    ASSERT_EQ(::symlink(victim.c_str(), dir.file("n2").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("nowhere").c_str(), dir.file("n3").c_str()), 0);
    const auto name_for = [&](int n) { return dir.file(("n" + std::to_string(n)).c_str()); };
    struct Row {
        int attempts;
        const char* taken;  // "" when every name up to `attempts` is in use
    } const rows[] = {{4, "n4"}, {4, ""}, {5, "n5"}, {1, ""}};
    for (const Row& row : rows) {
        std::string path, error;
        const bool written = write_new_file_safely(name_for, row.attempts, "secret",
                                                   FileAccess::secret, &path, &error);
        EXPECT_EQ(written, *row.taken != 0) << error;
        if (written) {
            EXPECT_EQ(path, dir.file(row.taken));
            EXPECT_EQ(read_file(path), "secret");
            EXPECT_EQ(mode_of(path) & 0777, 0600u);
        } else {
            EXPECT_NE(error.find("is taken"), std::string::npos) << error;
        }
    }
    EXPECT_EQ(read_file(victim), "kept");
    EXPECT_EQ(read_file(dir.file("n1")), "first");
    EXPECT_TRUE(S_ISLNK(mode_of(dir.file("n2"))));
    EXPECT_FALSE(fs::exists(dir.file("nowhere")));
    EXPECT_EQ(names_in(dir.path()),
              (std::set<std::string>{"victim", "n1", "n2", "n3", "n4", "n5"}));
}

// A small tmpfs in a private mount namespace (root only): the disk fills up in the middle.
TEST(SafeFile, AFullDiskLeavesTheOldFileAndNoTemporaryFile) {
    test::TempDir dir;
    const std::string mount_point = dir.file("small");
    fs::create_directory(mount_point);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=64k") != 0)
            ::_exit(77);
        const std::string path = mount_point + "/state.json";
        const std::string old_text(20000, 'o');
        std::string error;
        if (!write_file_safely(path, old_text, FileAccess::normal, &error)) ::_exit(1);
        if (write_file_safely(path, std::string(200000, 'n'), FileAccess::normal, &error))
            ::_exit(2);
        if (error.find("could not be written completely") == std::string::npos) ::_exit(3);
        if (read_file(path) != old_text) ::_exit(4);
        if (names_in(mount_point) != std::set<std::string>{"state.json"}) ::_exit(5);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no private mount namespace here (not root)";
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: first write failed, 2: the full disk was not noticed, 3: wrong reason, 4: the "
           "old file changed, 5: a file was left behind";
}

TEST(SafeFile, WindowsDeviceNamesInAnyFormAreRecognised) {
    for (const char* device : {"NUL", "nul", "C:\\out\\con", "Con.zavi.json", "COM1", "com9.csv",
                               "LPT3", "aux .txt", "D:/backups/PRN", "CONIN$", "C:NUL",
                               "\\\\.\\COM12", "//./pipe/x", "\\\\?\\GLOBALROOT\\Device\\Null"})
        EXPECT_TRUE(is_windows_device_name(device)) << device;
    for (const char* file : {"COM10", "console.zavi.json", "nullable", "C:\\nul\\backup.zavi.json",
                             "COMX", "backup.con", ""})
        EXPECT_FALSE(is_windows_device_name(file)) << file;
}

}  // namespace
}  // namespace zavi
