#include "input/measurement_file.h"

#include <cstdint>

#include "input/echo.h"
#include "records/text_unit.h"
#include "run/units.h"

namespace velkoran {
namespace {

void read_header(MeasurementSet& set, int k) {
    static constexpr InputLayout<std::int32_t, Text<19>, Text<8>, double, double, std::int32_t> HEADER =
        "(////, I4, 2X, A19, 2X, A8, 2X, F10.6, 2X, F11.6, 2X, I4)";
    MeasurementHeader& h = set.header(k);
    std::int32_t altitude = 0;
    read_formatted(MEASUREMENT_UNIT, HEADER, h.sample_number, h.date_time, h.clock_time, h.position_a,
                   h.longitude, altitude);
    h.altitude = altitude;
}

void read_wavelength_record(MeasurementSet& set, int k, int j) {
    static constexpr InputLayout<double, double, double, double, std::int64_t> RECORD =
        "(F8.4, 4X, F8.4, 2X, 2F8.4, I4)";
    WavelengthRecord& r = set.value(k, j);
    read_formatted(MEASUREMENT_UNIT, RECORD, set.wavelength(j), r.c_value, r.m_value, r.e_value, r.in_value);
}

}  // namespace

void read_measurements(MeasurementSet& set) {
    static constexpr InputLayout<Text<80>> COLUMN_HEADER = "(//, A80, /)";
    for (int k = 1; k <= set.measurement_count; ++k) {
        read_header(set, k);
        echo_header(set, k);
        read_formatted(MEASUREMENT_UNIT, COLUMN_HEADER, set.column_header_line);
        echo_column_header_line(set);
        for (int j = 1; j <= set.wavelength_count; ++j) {
            read_wavelength_record(set, k, j);
            echo_wavelength_record(set, k, j);
        }
    }
}

}  // namespace velkoran
