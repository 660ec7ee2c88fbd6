// The m/e table and the c/in table: comma-separated, one row per
// wavelength, two columns per measurement.
#pragma once

#include "records/text_unit.h"
#include "run/measurement_set.h"
#include "run/units.h"

namespace velkoran {

// Both tables, written in lockstep: every m/e record is followed at once by
// its c/in counterpart.
void write_tables(const MeasurementSet& set);

void write_column_header_row(const MeasurementSet& set);
void write_title_row(const MeasurementSet& set);
void write_wavelength_rows(const MeasurementSet& set);

// The digits of a measurement number k (1 to 500): 1, 2 or 3.
int label_width(int k);

// The same record, items and all, on both tables.
template <class... Items>
void write_both_tables(const OutputLayout<Items...>& layout, const Items&... items) {
    write_formatted(ME_TABLE_UNIT, layout, items...);
    write_formatted(CIN_TABLE_UNIT, layout, items...);
}

}  // namespace velkoran
