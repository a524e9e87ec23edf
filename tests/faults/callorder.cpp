/* A preloaded library that writes down, in order, the calls by which a program puts a file in
   place: the opening of the files whose name holds VOK_CALL_MATCH, each fsync, each rename and
   link, and the closing of the descriptors it saw opened. The fault suite reads the log to see
   that a file is synced before it takes its final name. The log goes to VOK_CALL_LOG, written
   with raw system calls so that logging never calls the functions it watches. */
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>
#include <unistd.h>

extern "C" {

enum { Tracked = 64 };
static int tracked[Tracked];
static int trackedCount;

static void note(const char* text) {
    const char* path = getenv("VOK_CALL_LOG");
    if (!path)
        return;
    const long fd =
        syscall(SYS_openat, AT_FDCWD, path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    syscall(SYS_write, fd, text, strlen(text));
    syscall(SYS_close, fd);
}

static int matches(const char* name) {
    const char* match = getenv("VOK_CALL_MATCH");
    return name && match && strstr(name, match) != NULL;
}

static void track(int fd) {
    if (fd >= 0 && trackedCount < Tracked)
        tracked[trackedCount++] = fd;
}

static int untrack(int fd) {
    for (int i = 0; i < trackedCount; ++i) {
        if (tracked[i] == fd) {
            tracked[i] = tracked[--trackedCount];
            return 1;
        }
    }
    return 0;
}

static int opened(const char* name, int fd) {
    if (fd >= 0 && matches(name)) {
        char line[512];
        snprintf(line, sizeof line, "open %d %s\n", fd, name);
        note(line);
        track(fd);
    }
    return fd;
}

int openat(int dirfd, const char* name, int flags, ...) {
    static int (*real)(int, const char*, int, ...);
    if (!real)
        real = (int (*)(int, const char*, int, ...))dlsym(RTLD_NEXT, "openat");
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    return opened(name, real(dirfd, name, flags, mode));
}

int fsync(int fd) {
    static int (*real)(int);
    if (!real)
        real = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
    char line[64];
    snprintf(line, sizeof line, "fsync %d\n", fd);
    note(line);
    return real(fd);
}

int close(int fd) {
    static int (*real)(int);
    if (!real)
        real = (int (*)(int))dlsym(RTLD_NEXT, "close");
    if (untrack(fd)) {
        char line[64];
        snprintf(line, sizeof line, "close %d\n", fd);
        note(line);
    }
    return real(fd);
}

static void moved(const char* call, const char* from, const char* to) {
    if (matches(from) || matches(to)) {
        char line[1024];
        snprintf(line, sizeof line, "%s %s %s\n", call, from, to);
        note(line);
    }
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    static int (*real)(int, const char*, int, const char*);
    if (!real)
        real = (int (*)(int, const char*, int, const char*))dlsym(RTLD_NEXT, "renameat");
    moved("rename", from, to);
    return real(fromDir, from, toDir, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    static int (*real)(int, const char*, int, const char*, int);
    if (!real)
        real = (int (*)(int, const char*, int, const char*, int))dlsym(RTLD_NEXT, "linkat");
    moved("link", from, to);
    return real(fromDir, from, toDir, to, flags);
}

} // extern "C"
