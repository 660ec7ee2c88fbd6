// The one store of a run: its configuration and every measurement read.
#pragma once

#include <array>
#include <cstdint>

#include "records/layout.h"

namespace velkoran {

inline constexpr int MAX_WAVELENGTHS = 16;
inline constexpr int MAX_MEASUREMENTS = 500;

struct MeasurementHeader {
    std::int32_t sample_number = 0;
    Text<19> date_time{};
    Text<8> clock_time{};
    double position_a = 0;
    double longitude = 0;
    double altitude = 0;  // read as an integer; always a whole number
};

struct WavelengthRecord {
    double c_value = 0;
    double m_value = 0;
    double e_value = 0;
    std::int64_t in_value = 0;
};

// Indices are 1-based, as the records and tables number them: measurement
// k = 1 .. measurement_count, wavelength j = 1 .. wavelength_count.
struct MeasurementSet {
    Text<80> path_prefix{};
    Text<80> measurement_file_name{};
    Text<80> me_table_file_name{};
    Text<80> cin_table_file_name{};
    std::int32_t wavelength_count = 0;
    std::int32_t measurement_count = 0;
    std::int32_t title_index = 0;

    // One list for the whole run: every block overwrites it.
    std::array<double, MAX_WAVELENGTHS> wavelengths{};
    Text<80> column_header_line{};

    std::array<MeasurementHeader, MAX_MEASUREMENTS> headers{};
    // By wavelength first: a table row reads one wavelength of every
    // measurement, and so reads consecutive memory.
    std::array<std::array<WavelengthRecord, MAX_MEASUREMENTS>, MAX_WAVELENGTHS> values{};

    MeasurementHeader& header(int k) { return headers.at(static_cast<std::size_t>(k - 1)); }
    [[nodiscard]] const MeasurementHeader& header(int k) const {
        return headers.at(static_cast<std::size_t>(k - 1));
    }
    WavelengthRecord& value(int k, int j) {
        return values.at(static_cast<std::size_t>(j - 1)).at(static_cast<std::size_t>(k - 1));
    }
    [[nodiscard]] const WavelengthRecord& value(int k, int j) const {
        return values.at(static_cast<std::size_t>(j - 1)).at(static_cast<std::size_t>(k - 1));
    }
    double& wavelength(int j) { return wavelengths.at(static_cast<std::size_t>(j - 1)); }
    [[nodiscard]] double wavelength(int j) const { return wavelengths.at(static_cast<std::size_t>(j - 1)); }
};

}  // namespace velkoran
