#pragma once

#include <string_view>

#include "run/measurement_set.h"

namespace velkoran {

inline constexpr std::string_view CONFIGURATION_FILE_NAME = "Velkoran.cfg";

// Reads the five lines of the configuration file into the set and returns
// when the three counts are in range; otherwise the run ends with a message.
void read_configuration(MeasurementSet& set);

}  // namespace velkoran
