#include "run/configuration.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "run/run_program.h"
#include "testing/scratch_directory.h"

namespace velkoran {
namespace {

using ::testing::ExitedWithCode;

constexpr const char* WAVELENGTH_MESSAGE = " Number of wavelengths is out of range 1-16 !\r\n";
constexpr const char* MEASUREMENT_MESSAGE = " Number of measurements is out of range [1-500] !\r\n";
constexpr const char* TITLE_MESSAGE = " Wrong title index !\r\n";

class ConfigurationTest : public testing::ScratchDirectory {
protected:
    static void write_configuration(const std::string& line5) {
        write_file("Velkoran.cfg", "run7/\nspectra.txt\nme.csv\ncin.csv\n" + line5 + "\nanything\n");
    }

    // Reads the configuration in a child process, whose console goes to a
    // file; gives that console output and checks the exit status.
    std::string rejection(int status) {
        EXPECT_EXIT(
            {
                ::dup2(::open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
                read_configuration(set_);
                ::_exit(100);  // accepted
            },
            ExitedWithCode(status), "");
        return read_file("console.txt");
    }

    MeasurementSet set_;
};

TEST_F(ConfigurationTest, CountsInRangeAreAccepted) {
    struct Case {
        const char* line5;
        int wavelengths, measurements, title;
    };
    const Case cases[] = {
        {" 8 20 1", 8, 20, 1},    // A
        {"16500 7", 16, 500, 7},  // B: the fields abut
        {"8 20 1", 8, 20, 1},     // J: blanks inside a field are ignored
        {"8,20,1", 8, 20, 1},     // M: each comma ends its field
        {"1,2,3", 1, 2, 3},       // N
        {" 8 20 1 and a comment", 8, 20, 1},
    };
    for (const Case& c : cases) {
        write_configuration(c.line5);
        read_configuration(set_);
        EXPECT_EQ(set_.wavelength_count, c.wavelengths) << c.line5;
        EXPECT_EQ(set_.measurement_count, c.measurements) << c.line5;
        EXPECT_EQ(set_.title_index, c.title) << c.line5;
        close_all_units();
    }
}

TEST_F(ConfigurationTest, TextLinesAreTakenAsTheyStand) {
    write_file("Velkoran.cfg", std::string(79, 'p') + "/ignored past column 80\n  out.csv\n\nx\n 1  1 1\n");
    read_configuration(set_);
    const auto text = [](const Text<80>& line) { return std::string(line.begin(), line.end()); };
    EXPECT_EQ(text(set_.path_prefix), std::string(79, 'p') + "/");
    EXPECT_EQ(text(set_.measurement_file_name), "  out.csv" + std::string(71, ' '));
    EXPECT_EQ(text(set_.me_table_file_name), std::string(80, ' '));
    EXPECT_EQ(text(set_.cin_table_file_name), "x" + std::string(79, ' '));
}

TEST_F(ConfigurationTest, FirstCountOutOfRangeIsTheOneReported) {
    struct Case {
        const char* line5;
        const char* message;
    };
    const Case cases[] = {
        {"17 20 1", WAVELENGTH_MESSAGE},   // C
        {" 8501 1", MEASUREMENT_MESSAGE},  // D
        {" 8 20 8", TITLE_MESSAGE},        // E
        {" 8 20 0", TITLE_MESSAGE},        // F
        {" 0  0 0", WAVELENGTH_MESSAGE},   // G: only the first test reports
        {"", WAVELENGTH_MESSAGE},          // H: an empty line reads as zeros
        {"-1 20 1", WAVELENGTH_MESSAGE},   // I
        {"  8 20 1", WAVELENGTH_MESSAGE},  // K: shifted one column right
        {"1 5 20 1", TITLE_MESSAGE},       // L: 1, 52, 0
    };
    for (const Case& c : cases) {
        write_configuration(c.line5);
        EXPECT_EQ(rejection(CONFIGURATION_REJECTED), c.message) << '|' << c.line5 << '|';
    }
    // Nothing but the configuration file was touched.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path_), {}), 2);
}

TEST_F(ConfigurationTest, LineFiveThatDoesNotConvertIsAFailure) {
    for (const char* line5 : {"8.0 20 1", " 8\t20 1", " x 20 1"}) {  // O, a tab, a letter
        write_configuration(line5);
        EXPECT_EXIT(
            read_configuration(set_), ExitedWithCode(64),
            "^velkoran: severe \\(64\\): input conversion error, unit 2, file " + absolute("Velkoran.cfg"))
            << line5;
    }
}

TEST_F(ConfigurationTest, MissingOrShortFileEndsTheRunAtTheMissingLine) {
    EXPECT_EXIT(
        read_configuration(set_), ExitedWithCode(24),
        "^velkoran: severe \\(24\\): end-of-file during read, unit 2, file " + absolute("Velkoran.cfg"));
    EXPECT_EQ(read_file("Velkoran.cfg"), "");  // created by the open, and left
    write_file("Velkoran.cfg", "run7/\nspectra.txt\nme.csv\n");
    EXPECT_EXIT(read_configuration(set_), ExitedWithCode(24), "end-of-file during read, unit 2");
}

}  // namespace
}  // namespace velkoran
