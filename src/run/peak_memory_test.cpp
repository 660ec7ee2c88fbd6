// The program's memory is its fixed store and buffers: the largest run and
// lines of any length cost next to nothing above the smallest run.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "testing/scratch_directory.h"

namespace velkoran {
namespace {

constexpr long ALLOWED_GROWTH_KIB = 4 * 1024;
constexpr off_t SKIPPED_LINE_BYTES = 200'000'000;

constexpr const char* HEADER_LINE = " 101  2026-07-14 07:30:00  09:30:00   47.376888     8.541694   556\n";
constexpr const char* COLUMN_HEADER_LINE = "  lambda     c-val    m-val   e-val    in\n";
constexpr const char* WAVELENGTH_LINE = "  0.3400      0.5522    3.8637  0.1321   1\n";

class PeakMemoryTest : public testing::ScratchDirectory {
protected:
    // Writes the configuration for `wavelengths` and `measurements` and
    // opens an empty measurement file.
    static int start_run_files(int wavelengths, int measurements) {
        char counts[16];
        std::snprintf(counts, sizeof counts, "%2d%3d 1", wavelengths, measurements);
        write_file("Velkoran.cfg", std::string("\nscans.txt\nme.csv\ncin.csv\n") + counts + "\n");
        return ::open("scans.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }

    // Appends one block whose free-text lines each end after `skipped` bytes
    // (zeros that the file system need not store).
    static void write_block(int fd, int wavelengths, off_t skipped) {
        const auto line = [fd](const char* text) {
            ASSERT_EQ(::write(fd, text, std::strlen(text)), static_cast<ssize_t>(std::strlen(text)));
        };
        const auto free_text = [&] {
            ASSERT_GE(::lseek(fd, skipped, SEEK_CUR), 0);
            line("\n");
        };
        for (int i = 0; i < 4; ++i) {
            free_text();
        }
        line(HEADER_LINE);
        free_text();
        free_text();
        line(COLUMN_HEADER_LINE);
        free_text();
        for (int j = 0; j < wavelengths; ++j) {
            line(WAVELENGTH_LINE);
        }
    }

    static void write_run(int wavelengths, int measurements, off_t skipped) {
        const int fd = start_run_files(wavelengths, measurements);
        ASSERT_GE(fd, 0);
        for (int k = 0; k < measurements; ++k) {
            write_block(fd, wavelengths, skipped);
        }
        ::close(fd);
    }

    // Runs the program on the files of the scratch directory, RETURN typed;
    // gives its peak resident memory in KiB.
    static long peak_resident_kib() {
        write_file("return.txt", "\n");
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(::open("return.txt", O_RDONLY), STDIN_FILENO);
            ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
            ::execl(VELKORAN_PROGRAM, VELKORAN_PROGRAM, nullptr);
            ::_exit(127);
        }
        int status = 0;
        rusage usage{};
        EXPECT_EQ(::wait4(child, &status, 0, &usage), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        return usage.ru_maxrss;
    }
};

TEST_F(PeakMemoryTest, LargestRunAndLongLinesCostLittleAboveTheSmallestRun) {
    write_run(1, 1, 0);
    const long smallest = peak_resident_kib();

    write_run(16, 500, 0);
    EXPECT_LE(peak_resident_kib(), smallest + ALLOWED_GROWTH_KIB) << "500 measurements of 16 wavelengths";

    write_run(1, 1, SKIPPED_LINE_BYTES);
    EXPECT_LE(peak_resident_kib(), smallest + ALLOWED_GROWTH_KIB) << "free-text lines of 200 MB";
}

}  // namespace
}  // namespace velkoran
