// Without NOMINMAX, windows.h would define min and max as macros.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <array>
#include <limits>
#include <string>

#include "records/platform.h"

namespace velkoran::platform {
namespace {

HANDLE native(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
Handle portable(HANDLE handle) { return reinterpret_cast<Handle>(handle); }
ErrorCode last_error() { return static_cast<ErrorCode>(::GetLastError()); }

// The bytes one call may move: its count is 32 bits wide.
DWORD call_size(std::size_t bytes) {
    return static_cast<DWORD>(std::min<std::size_t>(bytes, std::numeric_limits<DWORD>::max()));
}

// Names are 8-bit text in the system's code page; the file calls take UTF-16.
std::wstring wide(const std::string& name) {
    const int length = static_cast<int>(name.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, name.data(), length, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, name.data(), length, result.data(), needed);
    return result;
}

std::string narrow(const std::wstring& name) {
    const int length = static_cast<int>(name.size());
    const int needed = ::WideCharToMultiByte(CP_ACP, 0, name.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, name.data(), length, result.data(), needed, nullptr, nullptr);
    return result;
}

// False for devices: they have no volume and index, so no two of them can be
// told apart, and they are never regular.
bool identity_of(HANDLE handle, FileIdentity& identity) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(handle, &info) == FALSE) {
        identity = {};
        return false;
    }
    const bool directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    identity = {.volume = info.dwVolumeSerialNumber,
                .file = (std::uint64_t{info.nFileIndexHigh} << 32U) | info.nFileIndexLow,
                .regular = ::GetFileType(handle) == FILE_TYPE_DISK && !directory};
    return true;
}

OpenError classify(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return OpenError::NotFound;
    case ERROR_ACCESS_DENIED:
        return OpenError::AccessDenied;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_PATHNAME:
        return OpenError::BadName;
    default:
        return OpenError::Other;
    }
}

HANDLE create(const std::wstring& name, DWORD access, DWORD disposition) {
    return ::CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool is_directory(const std::wstring& name) {
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string_view trim_end(std::string_view text) {
    const auto last = text.find_last_not_of(" \t\r\n");
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

}  // namespace

OpenedFile open_file(const std::string& name) {
    const std::wstring wide_name = wide(name);
    OpenedFile opened;
    HANDLE handle = create(wide_name, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED) {
        handle = create(wide_name, GENERIC_READ, OPEN_EXISTING);
        opened.read_only = true;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        opened.code = static_cast<ErrorCode>(code);
        // Windows refuses a directory in the words it uses for a locked file,
        // but no permission is missing: as on POSIX, it is an open failure.
        opened.error =
            code == ERROR_ACCESS_DENIED && is_directory(wide_name) ? OpenError::Other : classify(code);
        return opened;
    }
    opened.handle = portable(handle);
    identity_of(handle, opened.identity);
    return opened;
}

void close_file(Handle handle) { ::CloseHandle(native(handle)); }

bool identify(const std::string& name, FileIdentity& identity) {
    // No access asked for: a file that may not be read still has an identity,
    // and directories open only with backup semantics.
    HANDLE handle =
        ::CreateFileW(wide(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool known = identity_of(handle, identity);
    ::CloseHandle(handle);
    return known;
}

Transfer read_some(Handle handle, std::span<char> buffer) {
    DWORD got = 0;
    if (::ReadFile(native(handle), buffer.data(), call_size(buffer.size()), &got, nullptr) == FALSE) {
        // A pipe whose writer has gone is at its end, as it is on POSIX.
        if (::GetLastError() == ERROR_BROKEN_PIPE) {
            return {};
        }
        return {.error = last_error()};
    }
    return {.bytes = got};
}

ErrorCode write_all(Handle handle, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (::WriteFile(native(handle), bytes.data(), call_size(bytes.size()), &written, nullptr) == FALSE) {
            return last_error();
        }
        bytes.remove_prefix(written);
    }
    return 0;
}

ErrorCode step_back(Handle handle, std::size_t bytes) {
    LARGE_INTEGER distance{};
    distance.QuadPart = -static_cast<LONGLONG>(bytes);
    return ::SetFilePointerEx(native(handle), distance, nullptr, FILE_CURRENT) == FALSE ? last_error() : 0;
}

ErrorCode cut(Handle handle) { return ::SetEndOfFile(native(handle)) == FALSE ? last_error() : 0; }

std::string absolute_name(const std::string& name) {
    // An empty name stands for the working directory itself, as on POSIX.
    const std::wstring given = name.empty() ? std::wstring(L".\\") : wide(name);
    const DWORD needed = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return name;  // no working directory to name: keep the name as given
    }
    std::wstring full(needed, L'\0');
    full.resize(::GetFullPathNameW(given.c_str(), needed, full.data(), nullptr));
    return narrow(full);
}

std::string describe(ErrorCode code) {
    std::array<char, 512> text{};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(code), 0, text.data(), call_size(text.size()), nullptr);
    if (length == 0) {
        return "Unknown error " + std::to_string(static_cast<DWORD>(code));
    }
    return std::string(trim_end({text.data(), length}));
}

Handle standard_input() { return portable(::GetStdHandle(STD_INPUT_HANDLE)); }
Handle standard_output() { return portable(::GetStdHandle(STD_OUTPUT_HANDLE)); }
Handle standard_error() { return portable(::GetStdHandle(STD_ERROR_HANDLE)); }

void prepare_process() {
    // A drive without its disk is an open failure to report, not a dialog
    // box that waits for someone to answer it.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

void exit_process(std::uint32_t status) {
    // Windows keeps all 32 bits: a failure's status is C0000000 + its number.
    ::ExitProcess(status);
}

}  // namespace velkoran::platform
