#include "records/failure.h"

#include <cstdint>
#include <string>

#include "records/platform.h"
#include "records/text_unit.h"

namespace velkoran {
namespace {

constexpr std::string_view TAG = "velkoran: ";
constexpr std::uint32_t FAILURE_EXIT_BASE = 0xC0000000U;

std::string_view message_of(FailureNumber failure) {
    switch (failure) {
    case FailureNumber::PermissionDenied:
        return "permission to access file denied";
    case FailureNumber::InputRecordTooLong:
        return "input record too long";
    case FailureNumber::EndOfFileDuringRead:
        return "end-of-file during read";
    case FailureNumber::FileNotFound:
        return "file not found";
    case FailureNumber::OpenFailure:
        return "open failure";
    case FailureNumber::ErrorDuringWrite:
        return "error during write";
    case FailureNumber::ErrorDuringRead:
        return "error during read";
    case FailureNumber::InsufficientVirtualMemory:
        return "insufficient virtual memory";
    case FailureNumber::FileNameSpecificationError:
        return "file name specification error";
    case FailureNumber::WriteToReadonlyFile:
        return "write to READONLY file";
    case FailureNumber::InputConversionError:
        return "input conversion error";
    }
    return {};
}

void write_error_line(std::string line) {
    line.insert(0, TAG);
    line += '\n';
    // Nothing is left to tell a failure of this write to.
    (void)platform::write_all(platform::standard_error(), line);
}

std::string severe_line(FailureNumber failure) {
    return "severe (" + std::to_string(static_cast<int>(failure)) + "): " + std::string(message_of(failure));
}

[[noreturn]] void end_run(FailureNumber failure) {
    close_all_units();
    platform::exit_process(FAILURE_EXIT_BASE + static_cast<std::uint32_t>(failure));
}

}  // namespace

void report_failure(FailureNumber failure, const FailedUnit& unit) {
    if (!unit.detail.empty()) {
        write_error_line(std::string(unit.detail));
    }
    write_error_line(severe_line(failure) + ", unit " + std::to_string(unit.number) + ", file " +
                     std::string(unit.name));
    end_run(failure);
}

void report_failure(FailureNumber failure) {
    write_error_line(severe_line(failure));
    end_run(failure);
}

}  // namespace velkoran
