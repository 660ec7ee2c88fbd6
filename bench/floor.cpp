// The floor under velkoran's cost: the same input read, the same write
// calls made, and no formatting work at all.
//
//   velkoran_floor PLAN INPUT... -- OUTPUT...
//
// Reads each INPUT to its end in the blocks velkoran reads it in, opens each
// OUTPUT ("-" is standard output), then makes the write calls that PLAN lists
// in its order: each a pair of little-endian 16-bit numbers, the OUTPUT's
// index and the byte count. Last, it reads the console up to its LF, a byte
// at a time, as velkoran does at its prompt. bench.py makes the plan from
// one traced run of velkoran.
//
// Like velkoran, it opens an existing output file without emptying it and
// cuts it after its first write: emptied at the open, a file is one that
// ext4 treats as being replaced, and flushes at its close.
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t READ_BLOCK = 64 * 1024;
// No record of velkoran is longer than this; the bytes written do not matter.
constexpr std::size_t LONGEST_WRITE = 4096;

[[noreturn]] void fail(std::string_view what, const char* name) {
    std::fprintf(stderr, "velkoran_floor: %.*s %s: %s\n", static_cast<int>(what.size()), what.data(), name,
                 std::strerror(errno));
    std::exit(1);
}

int open_or_fail(const char* name, int flags) {
    const int fd = ::open(name, flags | O_CLOEXEC, 0666);
    if (fd < 0) {
        fail("cannot open", name);
    }
    return fd;
}

void read_input(const char* name) {
    static std::array<char, READ_BLOCK> block;
    const int fd = open_or_fail(name, O_RDONLY);
    ssize_t n = 0;
    while ((n = ::read(fd, block.data(), block.size())) > 0) {
    }
    if (n < 0) {
        fail("cannot read", name);
    }
    ::close(fd);
}

struct Write {
    std::uint16_t output;
    std::uint16_t bytes;
};

std::vector<Write> read_plan(const char* name) {
    const int fd = open_or_fail(name, O_RDONLY);
    const off_t size = ::lseek(fd, 0, SEEK_END);
    std::vector<Write> plan(static_cast<std::size_t>(size) / sizeof(Write));
    const auto wanted = static_cast<ssize_t>(plan.size() * sizeof(Write));
    if (size < 0 || ::pread(fd, plan.data(), static_cast<std::size_t>(wanted), 0) != wanted) {
        fail("cannot read", name);
    }
    ::close(fd);
    return plan;
}

struct Output {
    const char* name;
    int fd;
    bool cut_pending;
};

void replay(const std::vector<Write>& plan, std::vector<Output>& outputs) {
    static std::array<char, LONGEST_WRITE> bytes;
    bytes.fill('.');
    for (const Write& write : plan) {
        if (write.output >= outputs.size() || write.bytes > bytes.size()) {
            std::fputs("velkoran_floor: the plan does not fit the outputs given\n", stderr);
            std::exit(1);
        }
        Output& output = outputs[write.output];
        if (::write(output.fd, bytes.data(), write.bytes) != write.bytes) {
            fail("cannot write", output.name);
        }
        if (output.cut_pending) {
            output.cut_pending = false;
            if (::ftruncate(output.fd, write.bytes) != 0) {
                fail("cannot cut", output.name);
            }
        }
    }
}

void wait_for_return() {
    char c = '\0';
    while (::read(STDIN_FILENO, &c, 1) == 1 && c != '\n') {
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: velkoran_floor PLAN INPUT... -- OUTPUT...\n", stderr);
        return 2;
    }
    int arg = 2;
    for (; arg < argc && std::string_view(argv[arg]) != "--"; ++arg) {
        read_input(argv[arg]);
    }
    std::vector<Output> outputs;
    for (++arg; arg < argc; ++arg) {
        const char* name = argv[arg];
        const bool console = std::string_view(name) == "-";
        outputs.push_back({name, console ? STDOUT_FILENO : open_or_fail(name, O_WRONLY | O_CREAT), !console});
    }
    replay(read_plan(argv[1]), outputs);
    wait_for_return();
    return 0;
}
