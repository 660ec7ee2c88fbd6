// Runs a command and measures it, for bench.py.
//
//   velkoran_timed_run RESULT COMMAND [ARGUMENT...]
//
// Writes "wall user system peak_kib" to RESULT (seconds, and KiB of peak
// resident memory) and ends with the command's exit status. The command
// keeps this program's standard input and outputs.
//
// Why not time the command from bench.py: the kernel counts the memory a
// process held before its exec into the peak it reports, so a command
// started by the Python interpreter shows the interpreter's peak. This
// program is linked statically and holds almost nothing when it forks.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace {

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double seconds_between(const timespec& start, const timespec& end) {
    return static_cast<double>(end.tv_sec - start.tv_sec) +
           static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e9;
}

int exit_status(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: velkoran_timed_run RESULT COMMAND [ARGUMENT...]\n", stderr);
        return 2;
    }
    timespec start{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execvp(argv[2], argv + 2);
        std::perror(argv[2]);
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) {
        std::perror("velkoran_timed_run");
        return 2;
    }
    timespec end{};
    ::clock_gettime(CLOCK_MONOTONIC, &end);
    std::FILE* result = std::fopen(argv[1], "w");
    if (result == nullptr) {
        std::perror(argv[1]);
        return 2;
    }
    std::fprintf(result, "%.9f %.6f %.6f %ld\n", seconds_between(start, end), seconds(usage.ru_utime),
                 seconds(usage.ru_stime), usage.ru_maxrss);
    std::fclose(result);
    return exit_status(status);
}
