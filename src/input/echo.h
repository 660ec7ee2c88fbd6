// What the user sees of each measurement while it is read, and the one
// protocol line that each measurement leaves.
#pragma once

#include "run/measurement_set.h"

namespace velkoran {

// The console header line, then the protocol line's start, left open.
void echo_header(const MeasurementSet& set, int k);
// The column-header line on the console, then the end of the protocol line.
void echo_column_header_line(const MeasurementSet& set);
void echo_wavelength_record(const MeasurementSet& set, int k, int j);

}  // namespace velkoran
