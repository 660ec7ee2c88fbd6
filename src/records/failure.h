// The failures that end a run, and the report that ends it.
#pragma once

#include <string_view>

namespace velkoran {

enum class FailureNumber : int {
    PermissionDenied = 9,
    InputRecordTooLong = 22,
    EndOfFileDuringRead = 24,
    FileNotFound = 29,
    OpenFailure = 30,
    ErrorDuringWrite = 38,
    ErrorDuringRead = 39,
    InsufficientVirtualMemory = 41,
    FileNameSpecificationError = 43,
    WriteToReadonlyFile = 47,
    InputConversionError = 64,
};

using UnitNumber = int;

// What a report says of the unit that failed; `detail`, when not empty, is
// the line before the report (the operating system's word on the error).
struct FailedUnit {
    UnitNumber number = 0;
    std::string_view name;
    std::string_view detail;
};

// Writes the report to standard error, closes every unit and ends the
// process with the failure's exit status.
[[noreturn]] void report_failure(FailureNumber failure, const FailedUnit& unit);
[[noreturn]] void report_failure(FailureNumber failure);

}  // namespace velkoran
