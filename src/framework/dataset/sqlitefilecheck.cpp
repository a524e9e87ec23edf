#include "sqlitefilecheck.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vok {

namespace {

using OpenCall = int (*)(const char*, int, int);
using StatCall = int (*)(const char*, struct stat*);

OpenCall systemOpen = nullptr;
StatCall systemStat = nullptr;
bool installed = false;
thread_local SqliteFileCheck* current = nullptr;

// The files SQLite keeps beside a database: its journals, the write-ahead log and its index.
bool isCompanion(const char* path) {
    const char* base = std::strrchr(path, '/');
    base = base ? base + 1 : path;
    const auto endsWith = [&](const char* tail) {
        const size_t n = std::strlen(base);
        const size_t t = std::strlen(tail);
        return n >= t && std::strcmp(base + n - t, tail) == 0;
    };
    return endsWith("-journal") || endsWith("-wal") || endsWith("-shm") ||
           std::strstr(base, "-mj") != nullptr;
}

} // namespace

struct SqliteFileCheckHook {
    static int open(const char* path, int flags, int mode) {
        const int fd = systemOpen(path, flags | O_NOFOLLOW, mode);
        SqliteFileCheck* check = current;
        if (fd < 0 || !check || isCompanion(path))
            return fd;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
            return fd; // the folder, opened to sync it
        if (::fstat(fd, &st) != 0 || FileIdentity{st.st_dev, st.st_ino} != check->expected_) {
            ::close(fd);
            check->wrong_ = true;
            errno = EACCES;
            return -1;
        }
        ++check->opened_;
        return fd;
    }

    static int stat(const char* path, struct stat* st) {
        const int rc = systemStat(path, st);
        SqliteFileCheck* check = current;
        if (rc != 0 || !check || isCompanion(path) || !S_ISREG(st->st_mode))
            return rc;
        if (FileIdentity{st->st_dev, st->st_ino} == check->expected_)
            check->seen_ = true;
        else
            check->wrong_ = true;
        return rc;
    }
};

void SqliteFileCheck::install() {
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
        if (!vfs || vfs->iVersion < 3 || !vfs->xGetSystemCall || !vfs->xSetSystemCall)
            return;
        systemOpen = reinterpret_cast<OpenCall>(vfs->xGetSystemCall(vfs, "open"));
        systemStat = reinterpret_cast<StatCall>(vfs->xGetSystemCall(vfs, "stat"));
        if (!systemOpen || !systemStat)
            return;
        installed =
            vfs->xSetSystemCall(
                vfs, "open", reinterpret_cast<sqlite3_syscall_ptr>(&SqliteFileCheckHook::open)) ==
                SQLITE_OK &&
            vfs->xSetSystemCall(
                vfs, "stat", reinterpret_cast<sqlite3_syscall_ptr>(&SqliteFileCheckHook::stat)) ==
                SQLITE_OK;
    });
}

SqliteFileCheck::SqliteFileCheck(const FileIdentity& expected)
    : expected_(expected), outer_(current) {
    install();
    current = this;
}

SqliteFileCheck::~SqliteFileCheck() {
    current = outer_;
}

bool SqliteFileCheck::passed() const {
    // Without the check in place nothing can be vouched for: nothing is opened.
    // A descriptor taken again was found by the name's status, which was the file expected.
    return installed && (opened_ > 0 || seen_) && !wrong_;
}

} // namespace vok
