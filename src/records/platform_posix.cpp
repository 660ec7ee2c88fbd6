#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "records/platform.h"

namespace velkoran::platform {
namespace {

FileIdentity identity_of(const struct stat& info) {
    return {.volume = static_cast<std::uint64_t>(info.st_dev),
            .file = static_cast<std::uint64_t>(info.st_ino),
            .regular = S_ISREG(info.st_mode)};
}

bool refuses_access(int code) { return code == EACCES || code == EPERM || code == EROFS; }

OpenError classify(int code) {
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        return OpenError::NotFound;
    case EACCES:
    case EPERM:
        return OpenError::AccessDenied;
    case ENAMETOOLONG:
        return OpenError::BadName;
    default:
        return OpenError::Other;
    }
}

int open_descriptor(const std::string& name, int flags) {
    int fd = -1;
    do {
        fd = ::open(name.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

OpenedFile open_file(const std::string& name) {
    OpenedFile opened;
    int fd = open_descriptor(name, O_RDWR | O_CREAT);
    if (fd < 0 && refuses_access(errno)) {
        fd = open_descriptor(name, O_RDONLY);
        opened.read_only = true;
    }
    if (fd < 0) {
        opened.code = errno;
        opened.error = classify(errno);
        return opened;
    }
    struct stat info {};
    ::fstat(fd, &info);
    opened.handle = fd;
    opened.identity = identity_of(info);
    return opened;
}

void close_file(Handle handle) { ::close(static_cast<int>(handle)); }

bool identify(const std::string& name, FileIdentity& identity) {
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0) {
        return false;
    }
    identity = identity_of(info);
    return true;
}

Transfer read_some(Handle handle, std::span<char> buffer) {
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(handle), buffer.data(), buffer.size());
        if (n >= 0) {
            return {.bytes = static_cast<std::size_t>(n)};
        }
        if (errno != EINTR) {
            return {.error = errno};
        }
    }
}

ErrorCode write_all(Handle handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(static_cast<int>(handle), bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

ErrorCode step_back(Handle handle, std::size_t bytes) {
    return ::lseek(static_cast<int>(handle), -static_cast<off_t>(bytes), SEEK_CUR) < 0 ? errno : 0;
}

ErrorCode cut(Handle handle) {
    const int fd = static_cast<int>(handle);
    const off_t position = ::lseek(fd, 0, SEEK_CUR);
    if (position < 0 || ::ftruncate(fd, position) != 0) {
        return errno;
    }
    return 0;
}

std::string absolute_name(const std::string& name) {
    if (name.starts_with('/')) {
        return name;
    }
    std::string directory(256, '\0');
    while (::getcwd(directory.data(), directory.size()) == nullptr) {
        if (errno != ERANGE) {
            return name;  // no working directory to name: keep the name as given
        }
        directory.resize(directory.size() * 2);
    }
    directory.resize(std::strlen(directory.c_str()));
    return directory + '/' + name;
}

std::string describe(ErrorCode code) { return std::strerror(code); }

Handle standard_input() { return STDIN_FILENO; }
Handle standard_output() { return STDOUT_FILENO; }
Handle standard_error() { return STDERR_FILENO; }

void prepare_process() {
    // A closed pipe on standard output is a failed write to report, not a
    // signal that ends the process without a word.
    std::signal(SIGPIPE, SIG_IGN);
}

void exit_process(std::uint32_t status) {
    // POSIX keeps the low 8 bits: a failure's status is its number.
    ::_exit(static_cast<int>(status & 0xFFU));
}

}  // namespace velkoran::platform
