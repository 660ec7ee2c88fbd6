#include "run/run_program.h"

#include <memory>
#include <new>

#include "input/measurement_file.h"
#include "records/platform.h"
#include "records/text_unit.h"
#include "run/configuration.h"
#include "run/file_set.h"
#include "run/measurement_set.h"
#include "tables/tables.h"

namespace velkoran {

void run_program() {
    platform::prepare_process();
    // Reserved once, at full capacity: no input makes the program need more.
    const std::unique_ptr<MeasurementSet> set(new (std::nothrow) MeasurementSet);
    if (!set) {
        report_failure(FailureNumber::InsufficientVirtualMemory);
    }
    read_configuration(*set);
    open_file_set(*set);
    read_measurements(*set);
    write_tables(*set);
    finish_run();
}

void finish_run() {
    write_list_directed("");
    write_formatted(CONSOLE_OUTPUT_UNIT, R"(("Press RETURN to terminate the program !", $))");
    Text<1> answer{};
    read_formatted(CONSOLE_INPUT_UNIT, "(A1)", answer);
    stop_run(NORMAL_END);
}

void reject_configuration(std::string_view message) {
    write_list_directed(message);
    stop_run(CONFIGURATION_REJECTED);
}

void stop_run(int status) {
    close_all_units();
    platform::exit_process(static_cast<std::uint32_t>(status));
}

}  // namespace velkoran
