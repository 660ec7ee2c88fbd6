// The four files of a run, named from the configuration and opened in turn.
#pragma once

#include <string>
#include <string_view>

#include "run/measurement_set.h"

namespace velkoran {

inline constexpr std::string_view PROTOCOL_FILE_NAME = "prtotocol.dat";

// Only the blank counts: a tab or any other character ends the trim.
std::string_view trim_trailing_blanks(std::string_view text);
// The trimmed prefix and the trimmed name, with nothing put between them.
std::string build_file_name(std::string_view prefix, std::string_view name);

void open_file_set(const MeasurementSet& set);

}  // namespace velkoran
