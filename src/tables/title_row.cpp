#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "tables/tables.h"

namespace velkoran {
namespace {

// The header field that labels each measurement, chosen by title_index.
enum class TitleKind : std::int32_t {
    SampleNumber = 1,
    DateTime,
    ClockTime,
    PositionA,
    Longitude,
    Altitude,
    DatePart,
};

// Sample numbers come from a 4-column field, so none needs more than I4.
constexpr std::array<OutputLayout<std::int32_t, std::int32_t>, 4> SAMPLE_LABELS{{
    R"((" , ", I1, " , ", I1, $))",
    R"((" , ", I2, " , ", I2, $))",
    R"((" , ", I3, " , ", I3, $))",
    R"((" , ", I4, " , ", I4, $))",
}};

int characters_of(std::int32_t number) {
    int characters = number < 0 ? 2 : 1;
    for (std::int32_t rest = number / 10; rest != 0; rest /= 10) {
        ++characters;
    }
    return characters;
}

// As wide as the measurement's number, and wider where the sample number
// would not fit: a label of asterisks would tell the user nothing.
void write_sample_label(int k, std::int32_t sample_number) {
    const int width = std::max(label_width(k), characters_of(sample_number));
    write_both_tables(SAMPLE_LABELS.at(static_cast<std::size_t>(width - 1)), sample_number, sample_number);
}

template <std::size_t... I>
void write_date_part(const Text<19>& date_time, std::index_sequence<I...> /*first_ten*/) {
    write_both_tables(R"((" , ", 10A1, " , ", 10A1, $))", date_time[I]..., date_time[I]...);
}

void write_label(TitleKind kind, int k, const MeasurementHeader& h) {
    switch (kind) {
    case TitleKind::SampleNumber:
        write_sample_label(k, h.sample_number);
        break;
    case TitleKind::DateTime:
        write_both_tables(R"((" , ", A19, " , ", A19, $))", h.date_time, h.date_time);
        break;
    case TitleKind::ClockTime:
        write_both_tables(R"((" , ", A8, " , ", A8, $))", h.clock_time, h.clock_time);
        break;
    case TitleKind::PositionA:
        write_both_tables(R"((" , ", F10.6, " , ", F10.6, $))", h.position_a, h.position_a);
        break;
    case TitleKind::Longitude:
        write_both_tables(R"((" , ", F11.6, " , ", F11.6, $))", h.longitude, h.longitude);
        break;
    case TitleKind::Altitude:
        write_both_tables(R"((" , ", F5.0, " , ", F5.0, $))", h.altitude, h.altitude);
        break;
    case TitleKind::DatePart:
        write_date_part(h.date_time, std::make_index_sequence<10>());
        break;
    }
}

}  // namespace

void write_title_row(const MeasurementSet& set) {
    const auto kind = static_cast<TitleKind>(set.title_index);
    write_both_tables(R"((" - , microns ", $))");
    for (int k = 1; k <= set.measurement_count; ++k) {
        write_label(kind, k, set.header(k));
    }
    write_both_tables(R"((""))");
}

}  // namespace velkoran
