// The run: its phases in order, and the ways it stops.
#pragma once

#include <string_view>

namespace velkoran {

// Exit statuses of a run that was not ended by a failure report.
inline constexpr int NORMAL_END = 0;
inline constexpr int CONFIGURATION_REJECTED = 1;

[[noreturn]] void run_program();
[[noreturn]] void finish_run();
[[noreturn]] void reject_configuration(std::string_view message);
[[noreturn]] void stop_run(int status);

}  // namespace velkoran
