// Files in memory behind the program's platform functions, for running the
// whole program many times in one process: platform_in_memory.cpp replaces
// the operating system's platform file at link time, so the product code is
// the same code that ships.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "records/platform.h"

namespace velkoran::fuzz {

// What platform::exit_process throws instead of ending the process.
struct ProcessEnded {
    std::uint32_t status;
};

enum class Fault : std::uint8_t { None, Write, Read, Open };

// One call that the system refuses: the `at`-th write, read or open (from
// 1), counting every file and the console but not standard error.
struct FaultPlan {
    Fault kind = Fault::None;
    std::size_t at = 0;
    platform::OpenError open_error = platform::OpenError::None;
    platform::ErrorCode code = 0;
};

struct Setup {
    std::map<std::string, std::string> files;
    // What the first file the run creates holds: the configuration names the
    // measurement file, and the fuzzer need not guess that name.
    std::string first_created;
    std::string console_input;
    std::size_t read_limit = 0;  // bytes per read at most; 0: as many as asked
    FaultPlan fault;
};

struct Outcome {
    std::uint32_t status = 0;
    std::map<std::string, std::string> files;
    std::string console_output;
    std::string error_output;
    std::string first_created_name;  // empty when the run created no file
    bool fault_struck = false;

    friend bool operator==(const Outcome&, const Outcome&) = default;
};

void start(const Setup& setup);
Outcome finish(std::uint32_t status);

// Runs `program`, which ends through platform::exit_process, on the files of
// `setup`.
template <class Program>
Outcome run_in_memory(const Setup& setup, Program program) {
    start(setup);
    try {
        program();
    } catch (const ProcessEnded& end) {
        return finish(end.status);
    }
    return finish(~0U);  // it returned: not a way a run may end
}

}  // namespace velkoran::fuzz
