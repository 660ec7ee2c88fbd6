#include "tables/tables.h"

#include <array>

namespace velkoran {
namespace {

struct LabelLayouts {
    OutputLayout<int, int> me;
    OutputLayout<int, int> cin;
};

// One pair per label width: m1 .. m9, m10 .. m99, m100 .. m500.
constexpr std::array<LabelLayouts, 3> COLUMN_LABELS{{
    {R"((" , m", I1, " , e", I1, $))", R"((" , c", I1, " , in", I1, $))"},
    {R"((" , m", I2, " , e", I2, $))", R"((" , c", I2, " , in", I2, $))"},
    {R"((" , m", I3, " , e", I3, $))", R"((" , c", I3, " , in", I3, $))"},
}};

}  // namespace

int label_width(int k) { return k < 10 ? 1 : k < 100 ? 2 : 3; }

void write_tables(const MeasurementSet& set) {
    write_column_header_row(set);
    write_title_row(set);
    write_wavelength_rows(set);
}

void write_column_header_row(const MeasurementSet& set) {
    write_both_tables(R"(("number , wavelength", $))");
    for (int k = 1; k <= set.measurement_count; ++k) {
        const LabelLayouts& labels = COLUMN_LABELS.at(static_cast<std::size_t>(label_width(k) - 1));
        write_formatted(ME_TABLE_UNIT, labels.me, k, k);
        write_formatted(CIN_TABLE_UNIT, labels.cin, k, k);
    }
    write_both_tables(R"((""))");
}

}  // namespace velkoran
