// The platform functions over files in memory (see in_memory_files.h).
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "in_memory_files.h"
#include "records/platform.h"

namespace velkoran::fuzz {
namespace {

struct File {
    std::string bytes;
    std::uint64_t id = 0;
};

struct Descriptor {
    File* file = nullptr;
    std::size_t position = 0;
};

constexpr platform::Handle STANDARD_INPUT = 0;
constexpr platform::Handle STANDARD_OUTPUT = 1;
constexpr platform::Handle STANDARD_ERROR = 2;

struct State {
    std::map<std::string, File> files;
    File console_input;
    File console_output;
    File error_output;
    std::vector<Descriptor> descriptors;
    std::string first_created;
    std::string first_created_name;
    std::uint64_t next_id = 1;
    std::size_t read_limit = 0;
    FaultPlan fault;
    std::size_t writes = 0;
    std::size_t reads = 0;
    std::size_t opens = 0;
    bool fault_struck = false;
};

State& state() {
    static State s;
    return s;
}

// Counts the call; true when it is the one the plan refuses.
bool refused(Fault kind, std::size_t& calls) {
    State& s = state();
    if (s.fault.kind != kind || ++calls != s.fault.at) {
        return false;
    }
    s.fault_struck = true;
    return true;
}

Descriptor& descriptor(platform::Handle handle) {
    return state().descriptors.at(static_cast<std::size_t>(handle));
}

platform::FileIdentity identity_of(const File& file) {
    return {.volume = 1, .file = file.id, .regular = true};
}

}  // namespace

void start(const Setup& setup) {
    State& s = state();
    s = State{};
    for (const auto& [name, bytes] : setup.files) {
        s.files[name] = File{.bytes = bytes, .id = s.next_id++};
    }
    s.first_created = setup.first_created;
    s.console_input.bytes = setup.console_input;
    s.read_limit = setup.read_limit;
    s.fault = setup.fault;
    s.descriptors = {{&s.console_input}, {&s.console_output}, {&s.error_output}};
}

Outcome finish(std::uint32_t status) {
    State& s = state();
    Outcome outcome{.status = status,
                    .console_output = s.console_output.bytes,
                    .error_output = s.error_output.bytes,
                    .first_created_name = s.first_created_name,
                    .fault_struck = s.fault_struck};
    for (const auto& [name, file] : s.files) {
        outcome.files[name] = file.bytes;
    }
    return outcome;
}

}  // namespace velkoran::fuzz

namespace velkoran::platform {

using fuzz::state;

OpenedFile open_file(const std::string& name) {
    fuzz::State& s = state();
    if (fuzz::refused(fuzz::Fault::Open, s.opens)) {
        return {.error = s.fault.open_error, .code = s.fault.code};
    }
    auto [entry, created] = s.files.try_emplace(name);
    if (created) {
        entry->second.id = s.next_id++;
        if (s.first_created_name.empty()) {
            s.first_created_name = name;
            entry->second.bytes = s.first_created;
        }
    }
    s.descriptors.push_back({&entry->second});
    return {.handle = static_cast<Handle>(s.descriptors.size() - 1),
            .identity = fuzz::identity_of(entry->second)};
}

void close_file(Handle handle) { fuzz::descriptor(handle).file = nullptr; }

bool identify(const std::string& name, FileIdentity& identity) {
    const auto& files = state().files;
    const auto entry = files.find(name);
    if (entry == files.end()) {
        return false;
    }
    identity = fuzz::identity_of(entry->second);
    return true;
}

Transfer read_some(Handle handle, std::span<char> buffer) {
    fuzz::State& s = state();
    if (fuzz::refused(fuzz::Fault::Read, s.reads)) {
        return {.error = EIO};
    }
    fuzz::Descriptor& d = fuzz::descriptor(handle);
    const std::string& bytes = d.file->bytes;
    std::size_t count = std::min(buffer.size(), bytes.size() - std::min(d.position, bytes.size()));
    if (s.read_limit > 0) {
        count = std::min(count, s.read_limit);
    }
    if (count == 0) {
        return {};
    }
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(d.position), count, buffer.begin());
    d.position += count;
    return {.bytes = count};
}

ErrorCode write_all(Handle handle, std::string_view bytes) {
    fuzz::State& s = state();
    if (handle != fuzz::STANDARD_ERROR && fuzz::refused(fuzz::Fault::Write, s.writes)) {
        return ENOSPC;
    }
    fuzz::Descriptor& d = fuzz::descriptor(handle);
    std::string& file = d.file->bytes;
    if (file.size() < d.position + bytes.size()) {
        file.resize(d.position + bytes.size());
    }
    file.replace(d.position, bytes.size(), bytes);
    d.position += bytes.size();
    return 0;
}

ErrorCode step_back(Handle handle, std::size_t bytes) {
    fuzz::Descriptor& d = fuzz::descriptor(handle);
    if (bytes > d.position) {
        return EINVAL;
    }
    d.position -= bytes;
    return 0;
}

ErrorCode cut(Handle handle) {
    fuzz::Descriptor& d = fuzz::descriptor(handle);
    d.file->bytes.resize(std::min(d.position, d.file->bytes.size()));
    return 0;
}

std::string absolute_name(const std::string& name) {
    return name.starts_with('/') ? name : "/scratch/" + name;
}

std::string describe(ErrorCode code) { return std::strerror(code); }

Handle standard_input() { return fuzz::STANDARD_INPUT; }
Handle standard_output() { return fuzz::STANDARD_OUTPUT; }
Handle standard_error() { return fuzz::STANDARD_ERROR; }

void prepare_process() {}

void exit_process(std::uint32_t status) { throw fuzz::ProcessEnded{status & 0xFFU}; }

}  // namespace velkoran::platform
