#include "run/file_set.h"

#include <gtest/gtest.h>

namespace velkoran {
namespace {

TEST(FileNames, OnlyTrailingBlanksAreTrimmedAndNothingIsPutBetween) {
    struct Case {
        std::string_view prefix;
        std::string_view name;
        const char* file_name;
    };
    const Case cases[] = {
        {"run7/   ", "spectra.txt   ", "run7/spectra.txt"},
        {"run7", "spectra.txt", "run7spectra.txt"},
        {"run7/", "  out.csv", "run7/  out.csv"},
        {"   ", "  out.csv", "  out.csv"},
        {"run7/", "   ", "run7/"},
        {"   ", "", ""},
        {" data\t ", "a b \t", " data\ta b \t"},
        {"run7/", PROTOCOL_FILE_NAME, "run7/prtotocol.dat"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(build_file_name(c.prefix, c.name), c.file_name) << '|' << c.prefix << '|' << c.name << '|';
    }
    EXPECT_EQ(trim_trailing_blanks("  a  "), "  a");
}

}  // namespace
}  // namespace velkoran
