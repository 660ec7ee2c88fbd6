#include "run/configuration.h"

#include "records/text_unit.h"
#include "run/run_program.h"
#include "run/units.h"

namespace velkoran {

void read_configuration(MeasurementSet& set) {
    open_unit(CONFIGURATION_UNIT, CONFIGURATION_FILE_NAME);
    read_formatted(CONFIGURATION_UNIT, "(A80)", set.path_prefix);
    read_formatted(CONFIGURATION_UNIT, "(A80)", set.measurement_file_name);
    read_formatted(CONFIGURATION_UNIT, "(A80)", set.me_table_file_name);
    read_formatted(CONFIGURATION_UNIT, "(A80)", set.cin_table_file_name);
    read_formatted(CONFIGURATION_UNIT, "(I2, I3, I2)", set.wavelength_count, set.measurement_count,
                   set.title_index);

    if (set.wavelength_count < 1 || set.wavelength_count > MAX_WAVELENGTHS) {
        reject_configuration("Number of wavelengths is out of range 1-16 !");
    }
    if (set.measurement_count < 1 || set.measurement_count > MAX_MEASUREMENTS) {
        reject_configuration("Number of measurements is out of range [1-500] !");
    }
    constexpr int TITLE_KINDS = 7;
    if (set.title_index < 1 || set.title_index > TITLE_KINDS) {
        reject_configuration("Wrong title index !");
    }
}

}  // namespace velkoran
