#include <cstdint>

#include "tables/tables.h"

namespace velkoran {

void write_wavelength_rows(const MeasurementSet& set) {
    static constexpr OutputLayout<double, double> ME_PAIR = R"((F6.4, " , ", F6.4, " , ", $))";
    static constexpr OutputLayout<double, std::int64_t> CIN_PAIR = R"((F6.4, " , ", I1, " , ", $))";
    const int last = set.measurement_count;
    for (int j = 1; j <= set.wavelength_count; ++j) {
        write_both_tables(R"((I4, " , ", F6.4, " , ", $))", j, set.wavelength(j));
        for (int k = 1; k < last; ++k) {
            const WavelengthRecord& v = set.value(k, j);
            write_formatted(ME_TABLE_UNIT, ME_PAIR, v.m_value, v.e_value);
            write_formatted(CIN_TABLE_UNIT, CIN_PAIR, v.c_value, v.in_value);
        }
        // The last pair ends the row: no separator after it.
        const WavelengthRecord& v = set.value(last, j);
        write_formatted(ME_TABLE_UNIT, R"((F6.4, " , ", F6.4))", v.m_value, v.e_value);
        write_formatted(CIN_TABLE_UNIT, R"((F6.4, " , ", I1))", v.c_value, v.in_value);
    }
}

}  // namespace velkoran
