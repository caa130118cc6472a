/* The program the firing benchmark's missions run (a mission runs a program
 * without arguments, so each mission gets a copy of its own): appends the
 * moment it started, CLOCK_REALTIME in seconds with nanoseconds, to its own
 * path plus ".ran". Linked statically, so that no dynamic loading comes
 * between the start and the reading of the clock. */
#include <fcntl.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    if (argc < 1)
        return 2;
    char path[4096];
    if (snprintf(path, sizeof path, "%s.ran", argv[0]) >= (int)sizeof path)
        return 2;
    char line[40];
    const int length = snprintf(line, sizeof line, "%lld.%09ld\n", (long long)now.tv_sec, now.tv_nsec);
    const int fd = open(path, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return 1;
    const int written = (int)write(fd, line, (size_t)length);
    close(fd);
    return written == length ? 0 : 1;
}
