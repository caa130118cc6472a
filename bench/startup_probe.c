/* Starts a program and waits for its first top-level window to be mapped
 * on the X display in $DISPLAY and then to settle (no CPU used by the
 * program for 300 ms). Prints, tab separated:
 *   wall ms from launch until the window is mapped,
 *   CPU ms the program had used by then (all its threads),
 *   wall ms until the program settled, and its CPU ms by then.
 * With --idle SECONDS it then measures the CPU ms used over that many
 * seconds and the resident memory in KB at their end, and prints both too;
 * with --close as well, it first asks the window to close (as the title
 * bar's close button does) and waits 3 s. The idle columns are the CPU ms,
 * the resident KB, the wake-ups over the window (voluntary and involuntary
 * context switches of every thread) and those wake-ups per thread name
 * ("name=count" separated by commas, threads that did not wake left out).
 * Usage: startup_probe [--idle SECONDS [--close]] program [arguments...] */
#define _GNU_SOURCE
#include <X11/Xlib.h>

#include <dirent.h>
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

static double nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* CPU time of every thread of the process, from the scheduler's own
 * nanosecond count. */
static double cpuMs(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR *tasks = opendir(path);
    if (!tasks)
        return -1;
    double total = 0;
    struct dirent *task;
    while ((task = readdir(tasks))) {
        if (task->d_name[0] == '.')
            continue;
        char statPath[400];
        snprintf(statPath, sizeof statPath, "%s/%s/schedstat", path, task->d_name);
        FILE *f = fopen(statPath, "r");
        if (!f)
            continue;
        unsigned long long ns = 0;
        if (fscanf(f, "%llu", &ns) == 1)
            total += ns / 1e6;
        fclose(f);
    }
    closedir(tasks);
    return total;
}

/* The context switches of each thread, by thread id and name. */
#define maxThreads 64
struct ThreadWakes
{
    int tid;
    char name[32];
    long long switches;
};

static int readWakes(pid_t pid, struct ThreadWakes *threads)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR *tasks = opendir(path);
    if (!tasks)
        return 0;
    int count = 0;
    struct dirent *task;
    while ((task = readdir(tasks)) && count < maxThreads) {
        if (task->d_name[0] == '.')
            continue;
        char statusPath[400], line[256];
        snprintf(statusPath, sizeof statusPath, "%s/%s/status", path, task->d_name);
        FILE *f = fopen(statusPath, "r");
        if (!f)
            continue;
        struct ThreadWakes *t = &threads[count++];
        t->tid = atoi(task->d_name);
        t->name[0] = 0;
        t->switches = 0;
        long long n;
        while (fgets(line, sizeof line, f)) {
            if (sscanf(line, "Name: %31[^\n]", t->name) == 1)
                continue;
            if (sscanf(line, "voluntary_ctxt_switches: %lld", &n) == 1
                || sscanf(line, "nonvoluntary_ctxt_switches: %lld", &n) == 1)
                t->switches += n;
        }
        fclose(f);
    }
    closedir(tasks);
    return count;
}

static long residentKb(pid_t pid)
{
    char path[64], line[256];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *f = fopen(path, "r");
    long kb = -1;
    while (f && fgets(line, sizeof line, f)) {
        if (sscanf(line, "VmRSS: %ld", &kb) == 1)
            break;
    }
    if (f)
        fclose(f);
    return kb;
}

static void askToClose(Display *display, Window window)
{
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

int main(int argc, char *argv[])
{
    int idleSeconds = 0, close = 0;
    while (argc > 1 && strncmp(argv[1], "--", 2) == 0) {
        if (strcmp(argv[1], "--idle") == 0 && argc > 2) {
            idleSeconds = atoi(argv[2]);
            argv += 2;
            argc -= 2;
        } else if (strcmp(argv[1], "--close") == 0) {
            close = 1;
            ++argv;
            --argc;
        } else {
            break;
        }
    }
    if (argc < 2) {
        fprintf(stderr, "usage: startup_probe [--idle SECONDS [--close]] program [arguments...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    pid_t pid;
    const double begin = nowMs();
    if (posix_spawn(&pid, argv[1], NULL, NULL, argv + 1, environ) != 0) {
        perror("posix_spawn");
        return 2;
    }
    double mappedAt = -1, mappedCpu = -1;
    Window mapped = 0;
    const int fd = ConnectionNumber(display);
    while (mappedAt < 0 && nowMs() - begin < 20000) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && mappedAt < 0) {
                mappedCpu = cpuMs(pid);
                mappedAt = nowMs() - begin;
                mapped = event.xmap.window;
            }
        }
        fd_set read;
        FD_ZERO(&read);
        FD_SET(fd, &read);
        struct timeval wait = {0, 2000};
        select(fd + 1, &read, NULL, NULL, &wait);
    }
    double settledAt = -1, settledCpu = -1;
    if (mappedAt >= 0) {
        double last = cpuMs(pid), lastChange = nowMs();
        while (nowMs() - begin < 20000) {
            usleep(5000);
            const double cpu = cpuMs(pid);
            if (cpu > last) {
                last = cpu;
                lastChange = nowMs();
            } else if (nowMs() - lastChange >= 300) {
                settledAt = lastChange - begin;
                settledCpu = last;
                break;
            }
        }
    }
    double idleCpu = -1;
    long resident = -1;
    static struct ThreadWakes wakesBefore[maxThreads], wakesAfter[maxThreads];
    long long wakes = 0;
    char perThread[1024] = "";
    if (settledAt >= 0 && idleSeconds > 0) {
        if (close) {
            askToClose(display, mapped);
            sleep(3);
        }
        const int countBefore = readWakes(pid, wakesBefore);
        const double before = cpuMs(pid);
        sleep((unsigned)idleSeconds);
        idleCpu = cpuMs(pid) - before;
        const int countAfter = readWakes(pid, wakesAfter);
        resident = residentKb(pid);
        for (int i = 0; i < countAfter; ++i) {
            long long woke = wakesAfter[i].switches;
            for (int j = 0; j < countBefore; ++j) {
                if (wakesBefore[j].tid == wakesAfter[i].tid)
                    woke -= wakesBefore[j].switches;
            }
            wakes += woke;
            if (woke > 0) {
                size_t used = strlen(perThread);
                snprintf(perThread + used, sizeof perThread - used, "%s%s=%lld", used ? "," : "", wakesAfter[i].name,
                         woke);
            }
        }
    }
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    XCloseDisplay(display);
    printf("%.1f\t%.1f\t%.1f\t%.1f", mappedAt, mappedCpu, settledAt, settledCpu);
    if (idleSeconds > 0)
        printf("\t%.1f\t%ld\t%lld\t%s", idleCpu, resident, wakes, perThread[0] ? perThread : "-");
    printf("\n");
    return mappedAt >= 0 ? 0 : 1;
}
