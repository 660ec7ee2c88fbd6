#include "input/echo.h"

#include "records/text_unit.h"
#include "run/units.h"

namespace velkoran {

void echo_header(const MeasurementSet& set, int k) {
    const MeasurementHeader& h = set.header(k);
    write_formatted(CONSOLE_OUTPUT_UNIT, "(I3, 2X, A19, 2X, A8, 2X, F10.6, 2X, F11.6, 2X, F5.0)",
                    h.sample_number, h.date_time, h.clock_time, h.position_a, h.longitude, h.altitude);
    write_formatted(
        PROTOCOL_UNIT,
        R"(("N = ", I3, 2X, "Date_time ", A19, 2X, "Time = ", A8, 2X, " Altitude = ", F10.6, 2X, "Longitude = =", F11.6, 2X, "Altitude = ", F5.0, $))",
        h.sample_number, h.date_time, h.clock_time, h.position_a, h.longitude, h.altitude);
}

void echo_column_header_line(const MeasurementSet& set) {
    write_formatted(CONSOLE_OUTPUT_UNIT, "(A70, /)", set.column_header_line);
    write_formatted(PROTOCOL_UNIT, "(A80)", set.column_header_line);
}

void echo_wavelength_record(const MeasurementSet& set, int k, int j) {
    const WavelengthRecord& r = set.value(k, j);
    write_formatted(CONSOLE_OUTPUT_UNIT, "(I4, F8.4, 4X, F8.4, 2X, 2F8.4, I4)", j, set.wavelength(j),
                    r.c_value, r.m_value, r.e_value, r.in_value);
}

}  // namespace velkoran
