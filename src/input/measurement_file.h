// The measurement file: blocks of 9 + wavelength_count lines, found by
// counting lines and columns alone.
#pragma once

#include "run/measurement_set.h"

namespace velkoran {

// Reads measurement_count blocks into the set, echoing each record as soon
// as it has been read.
void read_measurements(MeasurementSet& set);

}  // namespace velkoran
