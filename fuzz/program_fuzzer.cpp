// The whole program, in this process, on any configuration and measurement
// file, with files in memory (see in_memory_files.h). Input: two bytes that
// plan the run's circumstances, then the configuration's five lines, then
// the measurement file.
//
// Every run must end with a status the program defines and a report that
// says it; the measurement file stays as it was; the configuration changes
// only where a table is named like it. With a refused write, read or open
// planned, the run is made once without it as well: the refused one ends with
// that call's failure, and everything it wrote is the start of what the
// other wrote.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "in_memory_files.h"
#include "run/configuration.h"
#include "run/run_program.h"

namespace velkoran {
namespace {

using fuzz::Fault;
using fuzz::Outcome;
using fuzz::Setup;

void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

struct RefusedOpen {
    platform::OpenError error;
    platform::ErrorCode code;
    std::uint32_t status;
};
constexpr std::array<RefusedOpen, 4> REFUSED_OPENS{{
    {platform::OpenError::NotFound, ENOENT, 29},
    {platform::OpenError::AccessDenied, EACCES, 9},
    {platform::OpenError::BadName, ENAMETOOLONG, 43},
    {platform::OpenError::Other, EISDIR, 30},
}};
constexpr std::array<std::size_t, 4> READ_LIMITS{0, 1, 3, 4096};

// Byte 0: bits 0-1 the read size, 2-3 the call refused, 4-5 how an open is
// refused, 6 an empty console input. Byte 1: which call, from 1.
Setup setup_from(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t plan = size > 0 ? data[0] : 0;
    const std::uint8_t at = size > 1 ? data[1] : 0;
    const std::string_view rest =
        size > 2 ? std::string_view(reinterpret_cast<const char*>(data + 2), size - 2) : std::string_view();

    // The configuration is its five lines; the measurement file, what follows.
    std::size_t end = 0;
    for (int line = 0; line < 5 && end < rest.size(); ++line) {
        const std::size_t line_feed = rest.find('\n', end);
        end = line_feed == std::string_view::npos ? rest.size() : line_feed + 1;
    }
    Setup setup;
    setup.files[std::string(CONFIGURATION_FILE_NAME)] = std::string(rest.substr(0, end));
    setup.first_created = std::string(rest.substr(end));
    setup.console_input = (plan & 0x40U) != 0 ? "" : "\n";
    setup.read_limit = READ_LIMITS[plan & 3U];
    setup.fault.kind = static_cast<Fault>((plan >> 2U) & 3U);
    setup.fault.at = std::size_t{at} + 1;
    const RefusedOpen& open = REFUSED_OPENS[(plan >> 4U) & 3U];
    setup.fault.open_error = open.error;
    setup.fault.code = setup.fault.kind == Fault::Write  ? ENOSPC
                       : setup.fault.kind == Fault::Read ? EIO
                                                         : open.code;
    return setup;
}

std::string severe_prefix(std::uint32_t status) {
    return "velkoran: severe (" + std::to_string(status) + "): ";
}

std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t end; (end = text.find('\n')) != std::string_view::npos; text.remove_prefix(end + 1)) {
        lines.push_back(text.substr(0, end));
    }
    require(text.empty());  // every line ends
    return lines;
}

// Normal end, rejected counts, or one failure report as the last line of
// standard error, after the system's word where it gave one.
void check_report(const Outcome& run) {
    constexpr std::array<std::uint32_t, 12> STATUSES{0, 1, 9, 24, 29, 30, 38, 39, 41, 43, 47, 64};
    require(std::find(STATUSES.begin(), STATUSES.end(), run.status) != STATUSES.end());
    const std::vector<std::string_view> lines = lines_of(run.error_output);
    if (run.status <= 1) {
        require(lines.empty());
    } else {
        require((lines.size() == 1 || lines.size() == 2) &&
                lines.back().starts_with(severe_prefix(run.status)));
    }
}

// What the run only reads is never lost: the measurement file stays as it
// was, and the configuration, read in full before any table is written, is
// changed only by being a table: after its fifth line (the m/e table on
// unit 2) or replaced (the c/in table).
void check_inputs_kept(const Setup& setup, const Outcome& run) {
    if (!run.first_created_name.empty()) {
        require(run.files.at(run.first_created_name) == setup.first_created);
    }
    const std::string& configuration = setup.files.at(std::string(CONFIGURATION_FILE_NAME));
    const std::string& after = run.files.at(std::string(CONFIGURATION_FILE_NAME));
    require(after == configuration || after.starts_with(configuration) ||
            after.starts_with("number , wavelength"));
}

bool is_prefix(std::string_view part, std::string_view whole) { return whole.starts_with(part); }

void check_refused(const Setup& setup, const Outcome& refused, const Outcome& full) {
    if (!refused.fault_struck) {
        require(refused == full);
        return;
    }
    std::uint32_t status = 0;
    switch (setup.fault.kind) {
    case Fault::Write:
        status = 38;
        break;
    case Fault::Read:
        status = 39;
        break;
    default:
        status = std::find_if(REFUSED_OPENS.begin(), REFUSED_OPENS.end(), [&](const RefusedOpen& open) {
                     return open.error == setup.fault.open_error;
                 })->status;
    }
    require(refused.status == status);
    if (setup.fault.kind != Fault::Open || setup.fault.open_error == platform::OpenError::Other) {
        require(refused.error_output.starts_with("velkoran: " + std::string(std::strerror(setup.fault.code)) +
                                                 "\n" + severe_prefix(status)));
    }
    require(is_prefix(refused.console_output, full.console_output));
    for (const auto& [name, bytes] : refused.files) {
        const auto before = setup.files.find(name);
        const bool untouched = before != setup.files.end() && before->second == bytes;
        require(untouched || (full.files.contains(name) && is_prefix(bytes, full.files.at(name))));
    }
}

}  // namespace
}  // namespace velkoran

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velkoran;
    Setup setup = setup_from(data, size);
    const fuzz::FaultPlan planned = setup.fault;
    setup.fault = {};
    const Outcome full = fuzz::run_in_memory(setup, run_program);
    check_report(full);
    check_inputs_kept(setup, full);
    if (planned.kind != Fault::None) {
        setup.fault = planned;
        const Outcome refused = fuzz::run_in_memory(setup, run_program);
        check_report(refused);
        check_inputs_kept(setup, refused);
        check_refused(setup, refused, full);
    }
    return 0;
}
