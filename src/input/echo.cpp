#include "input/echo.h"

#include <cstdint>

#include "records/text_unit.h"
#include "run/units.h"

namespace velkoran {

void echo_header(const MeasurementSet& set, int k) {
    using HeaderLayout = OutputLayout<std::int32_t, Text<19>, Text<8>, double, double, double>;
    static constexpr HeaderLayout CONSOLE = "(I3, 2X, A19, 2X, A8, 2X, F10.6, 2X, F11.6, 2X, F5.0)";
    static constexpr HeaderLayout PROTOCOL =
        R"(("N = ", I3, 2X, "Date_time ", A19, 2X, "Time = ", A8, 2X, " Altitude = ", F10.6, 2X, "Longitude = =", F11.6, 2X, "Altitude = ", F5.0, $))";
    const MeasurementHeader& h = set.header(k);
    write_formatted(CONSOLE_OUTPUT_UNIT, CONSOLE, h.sample_number, h.date_time, h.clock_time, h.position_a,
                    h.longitude, h.altitude);
    write_formatted(PROTOCOL_UNIT, PROTOCOL, h.sample_number, h.date_time, h.clock_time, h.position_a,
                    h.longitude, h.altitude);
}

void echo_column_header_line(const MeasurementSet& set) {
    static constexpr OutputLayout<Text<80>> CONSOLE = "(A70, /)";
    static constexpr OutputLayout<Text<80>> PROTOCOL = "(A80)";
    write_formatted(CONSOLE_OUTPUT_UNIT, CONSOLE, set.column_header_line);
    write_formatted(PROTOCOL_UNIT, PROTOCOL, set.column_header_line);
}

void echo_wavelength_record(const MeasurementSet& set, int k, int j) {
    static constexpr OutputLayout<int, double, double, double, double, std::int64_t> CONSOLE =
        "(I4, F8.4, 4X, F8.4, 2X, 2F8.4, I4)";
    const WavelengthRecord& r = set.value(k, j);
    write_formatted(CONSOLE_OUTPUT_UNIT, CONSOLE, j, set.wavelength(j), r.c_value, r.m_value, r.e_value,
                    r.in_value);
}

}  // namespace velkoran
