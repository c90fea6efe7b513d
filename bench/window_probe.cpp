// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and measures from the outside what a person would notice:
//   - the time from exec to its first top-level window being mapped and viewable, taken from the X
//     server's MapNotify event (SubstructureNotify on the root window), not by polling, and the CPU
//     time its threads had used when that event arrived;
//   - its resident memory (VmRSS, VmHWM) a while after the window appeared;
//   - optionally, after a drive command has brought it to some state with real X events, the CPU
//     time of all its threads over an idle interval (/proc/<pid>/task/*/schedstat, nanoseconds).
//
// Usage: window_probe [--dir DIR] [--settle S] [--timeout S]
//                     [--drive CMD [--pause S] [--idle S] [--after CMD]] -- PROGRAM [ARGS...]
// CMD runs under /bin/sh with PROBE_PID and PROBE_WINDOW (decimal X window id) in its environment;
// a non-zero exit of either command fails the measurement. Results go to stdout, one key=value a
// line; the program is terminated at the end.
#include <xcb/xcb.h>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

pid_t g_program = -1;

[[noreturn]] void fail(const char *format, ...)
{
    std::fprintf(stderr, "window_probe: ");
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "\n");
    if (g_program > 0) {
        ::kill(g_program, SIGKILL);
        ::waitpid(g_program, nullptr, 0);
    }
    std::exit(2);
}

std::int64_t nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void sleepUntil(std::int64_t deadlineNs)
{
    timespec deadline{};
    deadline.tv_sec = deadlineNs / 1000000000;
    deadline.tv_nsec = deadlineNs % 1000000000;
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

std::int64_t seconds(const char *text)
{
    char *end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || value < 0)
        fail("not a number of seconds: %s", text);
    return std::int64_t(value * 1e9);
}

struct Options {
    const char *directory = nullptr;
    std::int64_t settleNs = 1000000000;
    std::int64_t timeoutNs = 30000000000;
    const char *drive = nullptr;
    std::int64_t pauseNs = 1000000000;
    std::int64_t idleNs = 10000000000;
    const char *after = nullptr;
    char **program = nullptr;
};

Options parse(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--") {
            if (i + 1 >= argc)
                break;
            options.program = argv + i + 1;
            return options;
        }
        if (i + 1 >= argc)
            fail("%s needs a value", argv[i]);
        const char *value = argv[++i];
        if (option == "--dir")
            options.directory = value;
        else if (option == "--settle")
            options.settleNs = seconds(value);
        else if (option == "--timeout")
            options.timeoutNs = seconds(value);
        else if (option == "--drive")
            options.drive = value;
        else if (option == "--pause")
            options.pauseNs = seconds(value);
        else if (option == "--idle")
            options.idleNs = seconds(value);
        else if (option == "--after")
            options.after = value;
        else
            fail("unknown option %s", argv[i - 1]);
    }
    fail("no program given (… -- PROGRAM [ARGS...])");
}

// Fields of /proc/<pid>/status in kB (or plain counts), by name.
std::map<std::string, long> statusFields(pid_t pid)
{
    std::map<std::string, long> fields;
    const std::string path = "/proc/" + std::to_string(pid) + "/status";
    std::unique_ptr<FILE, int (*)(FILE *)> file(std::fopen(path.c_str(), "r"), &std::fclose);
    if (!file)
        fail("cannot read %s", path.c_str());
    char line[512];
    while (std::fgets(line, sizeof line, file.get())) {
        char name[64];
        long value = 0;
        if (std::sscanf(line, "%63[^:]: %ld", name, &value) == 2)
            fields[name] = value;
    }
    return fields;
}

// Per thread: nanoseconds on a CPU and the number of times it was scheduled in.
struct ThreadTimes {
    std::uint64_t runNs = 0;
    std::uint64_t timeslices = 0;
};

std::map<int, ThreadTimes> threadTimes(pid_t pid)
{
    std::map<int, ThreadTimes> threads;
    const std::string taskDirectory = "/proc/" + std::to_string(pid) + "/task";
    std::unique_ptr<DIR, int (*)(DIR *)> directory(::opendir(taskDirectory.c_str()), &::closedir);
    if (!directory)
        fail("cannot list %s", taskDirectory.c_str());
    while (const dirent *entry = ::readdir(directory.get())) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
            continue;
        const std::string path = taskDirectory + "/" + entry->d_name + "/schedstat";
        std::unique_ptr<FILE, int (*)(FILE *)> file(std::fopen(path.c_str(), "r"), &std::fclose);
        if (!file)
            continue; // the thread ended meanwhile
        ThreadTimes times;
        std::uint64_t waitNs = 0;
        if (std::fscanf(file.get(), "%" SCNu64 " %" SCNu64 " %" SCNu64, &times.runNs, &waitNs, &times.timeslices) == 3)
            threads[std::atoi(entry->d_name)] = times;
    }
    return threads;
}

std::uint32_t windowPid(xcb_connection_t *connection, xcb_atom_t pidAtom, xcb_window_t window)
{
    xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1);
    std::unique_ptr<xcb_get_property_reply_t, void (*)(void *)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return 0;
    return *static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
}

bool isViewable(xcb_connection_t *connection, xcb_window_t window)
{
    std::unique_ptr<xcb_get_window_attributes_reply_t, void (*)(void *)> reply(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr),
        &std::free);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

int pidfdOpen(pid_t pid)
{
    return int(::syscall(SYS_pidfd_open, pid, 0));
}

bool hasEnded(int pidfd)
{
    pollfd ended{pidfd, POLLIN, 0};
    return ::poll(&ended, 1, 0) == 1;
}

// Runs a shell command with the program's pid and window in its environment; its exit status.
int runCommand(const char *command, pid_t program, xcb_window_t window)
{
    const pid_t shell = ::fork();
    if (shell < 0)
        fail("fork: %s", std::strerror(errno));
    if (shell == 0) {
        ::setenv("PROBE_PID", std::to_string(program).c_str(), 1);
        ::setenv("PROBE_WINDOW", std::to_string(window).c_str(), 1);
        ::execl("/bin/sh", "sh", "-c", command, static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (::waitpid(shell, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void terminate(pid_t program, int pidfd)
{
    ::kill(program, SIGTERM);
    pollfd ended{pidfd, POLLIN, 0};
    if (::poll(&ended, 1, 3000) != 1)
        ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parse(argc, argv);

    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection))
        fail("cannot connect to the X server (DISPLAY=%s)", std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
    ::fcntl(xcb_get_file_descriptor(connection), F_SETFD, FD_CLOEXEC);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;

    const char pidAtomName[] = "_NET_WM_PID";
    std::unique_ptr<xcb_intern_atom_reply_t, void (*)(void *)> pidAtom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof pidAtomName - 1, pidAtomName), nullptr),
        &std::free);
    if (!pidAtom)
        fail("cannot intern _NET_WM_PID");

    // Listen before the program exists, so that no map can slip by.
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    if (xcb_generic_error_t *error = xcb_request_check(
            connection, xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask)))
        fail("cannot select SubstructureNotify on the root window (X error %d)", error->error_code);

    const std::int64_t started = nowNs();
    g_program = ::fork();
    if (g_program < 0)
        fail("fork: %s", std::strerror(errno));
    if (g_program == 0) {
        if (options.directory && ::chdir(options.directory) != 0) {
            std::perror("chdir");
            _exit(127);
        }
        ::execvp(options.program[0], options.program);
        std::perror("exec");
        _exit(127);
    }
    const int pidfd = pidfdOpen(g_program);
    if (pidfd < 0)
        fail("pidfd_open: %s", std::strerror(errno));

    xcb_window_t window = 0;
    std::int64_t mapped = 0;
    const std::int64_t deadline = started + options.timeoutNs;
    while (!window) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const std::int64_t received = nowNs();
            if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY && !window) {
                const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event);
                if (!map->override_redirect
                    && windowPid(connection, pidAtom->atom, map->window) == std::uint32_t(g_program)
                    && isViewable(connection, map->window)) {
                    window = map->window;
                    mapped = received;
                }
            }
            std::free(event);
        }
        if (window)
            break;
        if (xcb_connection_has_error(connection))
            fail("the X connection broke");
        const std::int64_t left = deadline - nowNs();
        if (left <= 0)
            fail("no window within the time-out");
        pollfd waits[2] = {{xcb_get_file_descriptor(connection), POLLIN, 0}, {pidfd, POLLIN, 0}};
        if (::poll(waits, 2, int(left / 1000000) + 1) < 0 && errno != EINTR)
            fail("poll: %s", std::strerror(errno));
        if (waits[1].revents & POLLIN) {
            int status = 0;
            ::waitpid(g_program, &status, 0);
            g_program = -1;
            fail("the program ended (status %d) before its window was shown", status);
        }
    }
    // CPU time until then, all threads: unlike the time, it hardly grows when other work shares the CPUs.
    std::uint64_t startupRunNs = 0;
    for (const auto &entry : threadTimes(g_program))
        startupRunNs += entry.second.runNs;
    std::printf("startup_ms=%.3f\n", double(mapped - started) / 1e6);
    std::printf("startup_cpu_ms=%.3f\n", double(startupRunNs) / 1e6);
    std::printf("window=%u\n", window);

    sleepUntil(mapped + options.settleNs);
    if (hasEnded(pidfd))
        fail("the program ended after its window was shown");
    std::map<std::string, long> status = statusFields(g_program);
    std::printf("rss_kb=%ld\nhwm_kb=%ld\nrss_anon_kb=%ld\nrss_file_kb=%ld\nrss_shmem_kb=%ld\nthreads=%ld\n",
                status["VmRSS"], status["VmHWM"], status["RssAnon"], status["RssFile"], status["RssShmem"],
                status["Threads"]);
    std::fflush(stdout);

    if (options.drive) {
        if (const int code = runCommand(options.drive, g_program, window))
            fail("the drive command failed with status %d", code);
        sleepUntil(nowNs() + options.pauseNs);
        if (hasEnded(pidfd))
            fail("the program ended during the drive");

        const std::int64_t from = nowNs();
        const std::map<int, ThreadTimes> before = threadTimes(g_program);
        sleepUntil(from + options.idleNs);
        const std::map<int, ThreadTimes> after = threadTimes(g_program);
        const std::int64_t to = nowNs();
        if (hasEnded(pidfd))
            fail("the program ended while it waited");

        std::uint64_t runNs = 0, timeslices = 0;
        int ended = 0, begun = 0;
        for (const auto &[thread, times] : after) {
            const auto earlier = before.find(thread);
            if (earlier == before.end()) {
                ++begun;
                runNs += times.runNs;
                timeslices += times.timeslices;
            } else {
                runNs += times.runNs - earlier->second.runNs;
                timeslices += times.timeslices - earlier->second.timeslices;
            }
        }
        for (const auto &entry : before)
            ended += after.count(entry.first) == 0;
        const double span = double(to - from) / 1e9;
        std::printf("idle_s=%.3f\nidle_cpu_ms=%.3f\nidle_cpu_ms_per_s=%.4f\nidle_wakeups_per_s=%.2f\n", span,
                    double(runNs) / 1e6, double(runNs) / 1e6 / span, double(timeslices) / span);
        // A thread that ended inside the interval took its CPU time with it.
        std::printf("idle_threads=%zu\nidle_threads_begun=%d\nidle_threads_ended=%d\n", after.size(), begun, ended);
        status = statusFields(g_program);
        std::printf("idle_rss_kb=%ld\nidle_hwm_kb=%ld\n", status["VmRSS"], status["VmHWM"]);
        std::fflush(stdout);

        if (options.after) {
            if (const int code = runCommand(options.after, g_program, window))
                fail("the after command failed with status %d", code);
        }
    }

    terminate(g_program, pidfd);
    g_program = -1;
    xcb_disconnect(connection);
    return 0;
}
