// The unit numbers of a run's files.
#pragma once

#include "records/failure.h"

namespace velkoran {

inline constexpr UnitNumber MEASUREMENT_UNIT = 1;
// Unit 2 holds the configuration file until the m/e table file replaces it.
inline constexpr UnitNumber CONFIGURATION_UNIT = 2;
inline constexpr UnitNumber ME_TABLE_UNIT = 2;
inline constexpr UnitNumber CIN_TABLE_UNIT = 3;
inline constexpr UnitNumber PROTOCOL_UNIT = 4;

}  // namespace velkoran
