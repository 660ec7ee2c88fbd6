#include "run/file_set.h"

#include "records/text_unit.h"
#include "run/units.h"

namespace velkoran {

std::string_view trim_trailing_blanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return text.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

std::string build_file_name(std::string_view prefix, std::string_view name) {
    std::string file_name(trim_trailing_blanks(prefix));
    file_name += trim_trailing_blanks(name);
    return file_name;
}

void open_file_set(const MeasurementSet& set) {
    const std::string_view prefix = view_of(set.path_prefix);
    open_unit(MEASUREMENT_UNIT, build_file_name(prefix, view_of(set.measurement_file_name)));
    open_unit(ME_TABLE_UNIT, build_file_name(prefix, view_of(set.me_table_file_name)));
    open_unit(CIN_TABLE_UNIT, build_file_name(prefix, view_of(set.cin_table_file_name)));
    open_unit(PROTOCOL_UNIT, build_file_name(prefix, PROTOCOL_FILE_NAME));
}

}  // namespace velkoran
