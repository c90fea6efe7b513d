// SPDX-License-Identifier: GPL-3.0-or-later
// Makes file system calls fail as a full disk or a failing device does, for the tests to preload
// (LD_PRELOAD). Only calls on paths under a prefix the test names are touched: the failure happens
// in the system call itself, below every buffer of Qt or of the program.
//
// A plan names a family of calls ("open", "tmpfile" for an open of an unnamed file, "read",
// "write", "fsync", "close", "ftruncate", "rename" for rename and link, "mkdir", "gone" below), an
// errno, the index of the first matching call that fails, and how many fail from there (a negative
// count: every later one, as a full disk stays full). A read or write first lets `bytes_before_failure`
// bytes through, the last part of them as a short one. A failing fsync loses what the descriptor
// wrote since it was last synced, as a device whose writeback fails does. The families
// "rename-done" and "mkdir-done" let the call take effect and then report the error, as a network
// share's client does when the server's answer is lost.
#define _GNU_SOURCE
#undef _FORTIFY_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#define EXPORT __attribute__((visibility("default")))

enum { kMaxPlans = 4 };

struct plan {
    char family[16];
    int error;
    long failing_call_index;
    long failing_calls;
    long bytes_left;
    char prefix[PATH_MAX];
    long seen;
    int fired;
};

static struct plan plans[kMaxPlans];
static int plan_count;
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;

// The plan's number, or -1 when it cannot be taken.
EXPORT int fault_shim_plan(const char *family, int error, long failing_call_index, long failing_calls,
                           long bytes_before_failure, const char *path_prefix)
{
    pthread_mutex_lock(&lock);
    int added = -1;
    if (plan_count < kMaxPlans && strlen(family) < sizeof plans[0].family && strlen(path_prefix) < PATH_MAX) {
        struct plan *plan = &plans[plan_count++];
        memset(plan, 0, sizeof *plan);
        strcpy(plan->family, family);
        strcpy(plan->prefix, path_prefix);
        plan->error = error;
        plan->failing_call_index = failing_call_index;
        plan->failing_calls = failing_calls;
        plan->bytes_left = bytes_before_failure;
        added = plan_count - 1;
    }
    pthread_mutex_unlock(&lock);
    return added;
}

// How many calls the plan of that number (-1: every plan) has failed.
EXPORT int fault_shim_fired(int plan)
{
    pthread_mutex_lock(&lock);
    int count = 0;
    for (int i = 0; i < plan_count; ++i) {
        if (plan < 0 || plan == i)
            count += plans[i].fired;
    }
    pthread_mutex_unlock(&lock);
    return count;
}

EXPORT void fault_shim_clear(void)
{
    pthread_mutex_lock(&lock);
    plan_count = 0;
    pthread_mutex_unlock(&lock);
}

static int under(const char *path, const char *prefix)
{
    const size_t length = strlen(prefix);
    return strncmp(path, prefix, length) == 0 && (path[length] == '/' || path[length] == '\0');
}

// The absolute path a call names: through the descriptor's link when it names none itself.
static void resolve(int descriptor, const char *path, char *out)
{
    char base[PATH_MAX] = "";
    out[0] = '\0';
    if (path && path[0] == '/') {
        snprintf(out, PATH_MAX, "%s", path);
        return;
    }
    if (descriptor == AT_FDCWD) {
        if (!getcwd(base, sizeof base))
            return;
    } else {
        char link[64];
        snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
        const ssize_t length = readlink(link, base, sizeof base - 1);
        if (length < 0)
            return;
        base[length] = '\0';
    }
    if (snprintf(out, PATH_MAX, path && path[0] ? "%s/%s" : "%s", base, path) >= PATH_MAX)
        out[0] = '\0';
}

// How a call goes: -1 it fails (errno set), otherwise how many of `bytes` it may move (all of
// them for calls that move none). A call names one path, or two (a rename, a link).
static long decide2(const char *family, int descriptor, const char *path, int other_descriptor, const char *other_path,
                    long bytes)
{
    if (__atomic_load_n(&plan_count, __ATOMIC_RELAXED) == 0)
        return bytes;
    char first[PATH_MAX], second[PATH_MAX] = "";
    resolve(descriptor, path, first);
    if (other_path)
        resolve(other_descriptor, other_path, second);
    long allowed = bytes;
    int error = 0;
    pthread_mutex_lock(&lock);
    for (int i = 0; i < plan_count && !error; ++i) {
        struct plan *plan = &plans[i];
        if (strcmp(plan->family, family) != 0 || !(under(first, plan->prefix) || under(second, plan->prefix)))
            continue;
        if (plan->seen++ < plan->failing_call_index || (plan->failing_calls >= 0 && plan->fired >= plan->failing_calls))
            continue;
        if (plan->bytes_left > 0 && bytes > 0) {
            allowed = bytes < plan->bytes_left ? bytes : plan->bytes_left;
            plan->bytes_left -= allowed;
        } else {
            error = plan->error;
            ++plan->fired;
        }
    }
    pthread_mutex_unlock(&lock);
    if (error) {
        errno = error;
        return -1;
    }
    return allowed;
}

static long decide(const char *family, int descriptor, const char *path, long bytes)
{
    return decide2(family, descriptor, path, AT_FDCWD, NULL, bytes);
}

// The bytes each descriptor wrote since it was last synced, while any plan is set.
enum { kTrackedDescriptors = 1024 };
static struct {
    off_t start, end;
} unsynced[kTrackedDescriptors];

static void note_written(int descriptor, off_t start, long written)
{
    if (written <= 0 || start < 0 || descriptor < 0 || descriptor >= kTrackedDescriptors
        || __atomic_load_n(&plan_count, __ATOMIC_RELAXED) == 0)
        return;
    pthread_mutex_lock(&lock);
    if (unsynced[descriptor].end == unsynced[descriptor].start || start < unsynced[descriptor].start)
        unsynced[descriptor].start = start;
    if (start + written > unsynced[descriptor].end)
        unsynced[descriptor].end = start + written;
    pthread_mutex_unlock(&lock);
}

static void forget_written(int descriptor)
{
    if (descriptor < 0 || descriptor >= kTrackedDescriptors)
        return;
    pthread_mutex_lock(&lock);
    unsynced[descriptor].start = unsynced[descriptor].end = 0;
    pthread_mutex_unlock(&lock);
}

#define REAL(name)                                                                                                     \
    ({                                                                                                                 \
        static __typeof__(&name) real;                                                                                 \
        if (!real)                                                                                                     \
            real = (__typeof__(&name))dlsym(RTLD_NEXT, #name);                                                         \
        real;                                                                                                          \
    })

static int open_mode(int flags, va_list arguments)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, int) : 0;
}

// An unnamed file (O_TMPFILE) meets the "tmpfile" plans first: some file systems have none. An
// O_PATH open only finds the name, never reaching the file system's own open, so no disk fails it.
static int open_refused(int directory, const char *path, int flags)
{
    if (flags & O_PATH)
        return 0;
    return ((flags & O_TMPFILE) == O_TMPFILE && decide("tmpfile", directory, path, 0) < 0)
           || decide("open", directory, path, 0) < 0;
}

// "gone": another computer is saving over the regular file that an open or an access check names,
// through a share that removes the old file first (SMB through libsmbclient), so that for this one
// call the name is empty. The call itself runs and fails as the system makes it fail.
static int gone_for_the_call(int directory, const char *path, char *resolved, char *aside)
{
    if (__atomic_load_n(&plan_count, __ATOMIC_RELAXED) == 0)
        return 0;
    resolve(directory, path, resolved);
    struct stat status;
    if (!resolved[0] || lstat(resolved, &status) != 0 || !S_ISREG(status.st_mode)
        || decide("gone", AT_FDCWD, resolved, 0) >= 0)
        return 0;
    snprintf(aside, PATH_MAX, "%s.elsewhere", resolved);
    return REAL(rename)(resolved, aside) == 0;
}

static void back_again(int moved, const char *resolved, const char *aside)
{
    const int error = errno;
    if (moved)
        REAL(rename)(aside, resolved);
    errno = error;
}

// Only an open of what is there already can find the name empty.
static int may_find_gone(int flags)
{
    return !(flags & (O_CREAT | O_PATH | O_DIRECTORY)) && (flags & O_TMPFILE) != O_TMPFILE;
}

#define WRAP_OPEN(name)                                                                                                \
    int name(const char *path, int flags, ...)                                                                         \
    {                                                                                                                  \
        va_list arguments;                                                                                             \
        va_start(arguments, flags);                                                                                    \
        const int mode = open_mode(flags, arguments);                                                                  \
        va_end(arguments);                                                                                             \
        return open_refused(AT_FDCWD, path, flags) ? -1 : REAL(name)(path, flags, mode);                               \
    }
#define WRAP_OPENAT(name)                                                                                              \
    int name(int directory, const char *path, int flags, ...)                                                          \
    {                                                                                                                  \
        va_list arguments;                                                                                             \
        va_start(arguments, flags);                                                                                    \
        const int mode = open_mode(flags, arguments);                                                                  \
        va_end(arguments);                                                                                             \
        if (open_refused(directory, path, flags))                                                                      \
            return -1;                                                                                                 \
        char resolved[PATH_MAX], aside[PATH_MAX];                                                                      \
        const int moved = may_find_gone(flags) && gone_for_the_call(directory, path, resolved, aside);                 \
        const int opened = REAL(name)(directory, path, flags, mode);                                                   \
        back_again(moved, resolved, aside);                                                                            \
        return opened;                                                                                                 \
    }
WRAP_OPEN(open)
WRAP_OPEN(open64)
WRAP_OPENAT(openat)
WRAP_OPENAT(openat64)

int faccessat(int directory, const char *path, int mode, int flags)
{
    char resolved[PATH_MAX], aside[PATH_MAX];
    const int moved = gone_for_the_call(directory, path, resolved, aside);
    const int result = REAL(faccessat)(directory, path, mode, flags);
    back_again(moved, resolved, aside);
    return result;
}

ssize_t read(int descriptor, void *buffer, size_t count)
{
    const long allowed = decide("read", descriptor, NULL, (long)count);
    return allowed < 0 ? -1 : REAL(read)(descriptor, buffer, (size_t)allowed);
}

ssize_t pread(int descriptor, void *buffer, size_t count, off_t offset)
{
    const long allowed = decide("read", descriptor, NULL, (long)count);
    return allowed < 0 ? -1 : REAL(pread)(descriptor, buffer, (size_t)allowed, offset);
}

ssize_t pread64(int descriptor, void *buffer, size_t count, off64_t offset)
{
    const long allowed = decide("read", descriptor, NULL, (long)count);
    return allowed < 0 ? -1 : REAL(pread64)(descriptor, buffer, (size_t)allowed, offset);
}

ssize_t write(int descriptor, const void *buffer, size_t count)
{
    const long allowed = decide("write", descriptor, NULL, (long)count);
    const ssize_t written = allowed < 0 ? -1 : REAL(write)(descriptor, buffer, (size_t)allowed);
    if (written > 0) {
        const int error = errno;
        note_written(descriptor, lseek(descriptor, 0, SEEK_CUR) - written, written);
        errno = error;
    }
    return written;
}

ssize_t pwrite(int descriptor, const void *buffer, size_t count, off_t offset)
{
    const long allowed = decide("write", descriptor, NULL, (long)count);
    const ssize_t written = allowed < 0 ? -1 : REAL(pwrite)(descriptor, buffer, (size_t)allowed, offset);
    note_written(descriptor, offset, written);
    return written;
}

ssize_t pwrite64(int descriptor, const void *buffer, size_t count, off64_t offset)
{
    const long allowed = decide("write", descriptor, NULL, (long)count);
    const ssize_t written = allowed < 0 ? -1 : REAL(pwrite64)(descriptor, buffer, (size_t)allowed, offset);
    note_written(descriptor, offset, written);
    return written;
}

// A failed sync: what was written since the last one never reaches the disk, and the file reads
// as zeros there. (On Linux pwrite ignores the offset under O_APPEND, so that is lifted meanwhile.)
static int sync_failed(int descriptor)
{
    const int error = errno;
    if (descriptor >= 0 && descriptor < kTrackedDescriptors) {
        pthread_mutex_lock(&lock);
        off_t at = unsynced[descriptor].start;
        const off_t end = unsynced[descriptor].end;
        pthread_mutex_unlock(&lock);
        const int flags = fcntl(descriptor, F_GETFL);
        if (flags >= 0 && (flags & O_APPEND))
            fcntl(descriptor, F_SETFL, flags & ~O_APPEND);
        static const char zeros[4096];
        while (at < end) {
            const size_t length = end - at < (off_t)sizeof zeros ? (size_t)(end - at) : sizeof zeros;
            const ssize_t written = REAL(pwrite)(descriptor, zeros, length, at);
            if (written <= 0)
                break;
            at += written;
        }
        if (flags >= 0 && (flags & O_APPEND))
            fcntl(descriptor, F_SETFL, flags);
        forget_written(descriptor);
    }
    errno = error;
    return -1;
}

int fsync(int descriptor)
{
    if (decide("fsync", descriptor, NULL, 0) < 0)
        return sync_failed(descriptor);
    forget_written(descriptor);
    return REAL(fsync)(descriptor);
}

int fdatasync(int descriptor)
{
    if (decide("fsync", descriptor, NULL, 0) < 0)
        return sync_failed(descriptor);
    forget_written(descriptor);
    return REAL(fdatasync)(descriptor);
}

// The descriptor is released even when closing reports an error, as on Linux.
int close(int descriptor)
{
    const long verdict = decide("close", descriptor, NULL, 0);
    const int error = errno;
    forget_written(descriptor);
    const int closed = REAL(close)(descriptor);
    if (verdict < 0) {
        errno = error;
        return -1;
    }
    return closed;
}

int ftruncate(int descriptor, off_t length)
{
    return decide("ftruncate", descriptor, NULL, 0) < 0 ? -1 : REAL(ftruncate)(descriptor, length);
}

int ftruncate64(int descriptor, off64_t length)
{
    return decide("ftruncate", descriptor, NULL, 0) < 0 ? -1 : REAL(ftruncate64)(descriptor, length);
}

// A call that took effect, reported as failed when a "-done" plan says so.
static int done_then(const char *family, int from_directory, const char *from, int to_directory, const char *to,
                     int result)
{
    if (result == 0 && decide2(family, from_directory, from, to_directory, to, 0) < 0)
        return -1;
    return result;
}

int rename(const char *from, const char *to)
{
    if (decide2("rename", AT_FDCWD, from, AT_FDCWD, to, 0) < 0)
        return -1;
    return done_then("rename-done", AT_FDCWD, from, AT_FDCWD, to, REAL(rename)(from, to));
}

int renameat(int from_directory, const char *from, int to_directory, const char *to)
{
    if (decide2("rename", from_directory, from, to_directory, to, 0) < 0)
        return -1;
    return done_then("rename-done", from_directory, from, to_directory, to,
                     REAL(renameat)(from_directory, from, to_directory, to));
}

int renameat2(int from_directory, const char *from, int to_directory, const char *to, unsigned flags)
{
    if (decide2("rename", from_directory, from, to_directory, to, 0) < 0)
        return -1;
    return done_then("rename-done", from_directory, from, to_directory, to,
                     REAL(renameat2)(from_directory, from, to_directory, to, flags));
}

int link(const char *from, const char *to)
{
    if (decide2("rename", AT_FDCWD, from, AT_FDCWD, to, 0) < 0)
        return -1;
    return done_then("rename-done", AT_FDCWD, from, AT_FDCWD, to, REAL(link)(from, to));
}

int linkat(int from_directory, const char *from, int to_directory, const char *to, int flags)
{
    if (decide2("rename", from_directory, from, to_directory, to, 0) < 0)
        return -1;
    return done_then("rename-done", from_directory, from, to_directory, to,
                     REAL(linkat)(from_directory, from, to_directory, to, flags));
}

int mkdir(const char *path, mode_t mode)
{
    if (decide("mkdir", AT_FDCWD, path, 0) < 0)
        return -1;
    return done_then("mkdir-done", AT_FDCWD, path, AT_FDCWD, NULL, REAL(mkdir)(path, mode));
}

int mkdirat(int directory, const char *path, mode_t mode)
{
    if (decide("mkdir", directory, path, 0) < 0)
        return -1;
    return done_then("mkdir-done", directory, path, AT_FDCWD, NULL, REAL(mkdirat)(directory, path, mode));
}
