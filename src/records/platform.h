// The one place where the program meets the operating system. Everything
// above it speaks of units, records and failure numbers; everything below it
// of one operating system's calls and error codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velkoran::platform {

using Handle = std::intptr_t;
// An operating system error code; 0 is success.
using ErrorCode = int;

// Two names designate the same file exactly when their identities are equal.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    bool regular = false;  // a plain disk file, not a device or a pipe
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

enum class OpenError : std::uint8_t {
    None,
    NotFound,      // the file or a directory on its path is missing
    AccessDenied,  // not even reading is allowed
    BadName,       // not a valid name for a file
    Other,
};

struct OpenedFile {
    Handle handle = -1;
    bool read_only = false;
    FileIdentity identity;
    OpenError error = OpenError::None;
    ErrorCode code = 0;
};

// Opens a file for reading and writing at its first byte, creating it empty
// when it is missing; when reading and writing is refused, for reading only.
OpenedFile open_file(const std::string& name);
void close_file(Handle handle);
// False when no file has that name.
bool identify(const std::string& name, FileIdentity& identity);

struct Transfer {
    std::size_t bytes = 0;  // 0 with no error is the end of the input
    ErrorCode error = 0;
};
Transfer read_some(Handle handle, std::span<char> buffer);
// Writes all bytes in as many calls as the system needs (one for a record).
ErrorCode write_all(Handle handle, std::string_view bytes);
// Moves the position back over bytes that were read ahead but not used.
ErrorCode step_back(Handle handle, std::size_t bytes);
// Cuts the file at its current position.
ErrorCode cut(Handle handle);

// The name made absolute against the working directory, not normalised.
std::string absolute_name(const std::string& name);
std::string describe(ErrorCode code);

Handle standard_input();
Handle standard_output();
Handle standard_error();

// Run once at the start, before any other call.
void prepare_process();
[[noreturn]] void exit_process(std::uint32_t status);

}  // namespace velkoran::platform
