#include "records/fields.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>

namespace velkoran {
namespace {

std::string integer_field(std::int64_t value, std::size_t width) {
    std::string out(width, '?');
    render_integer(value, out);
    return out;
}

std::string fixed_field(double value, std::size_t width, int decimals) {
    std::string out(width, '?');
    render_fixed(value, decimals, out);
    return out;
}

TEST(OutputFields, Integer) {
    struct Case {
        std::int64_t value;
        std::size_t width;
        const char* field;
    };
    const Case cases[] = {
        {7, 4, "   7"},
        {-12, 4, " -12"},
        {0, 4, "   0"},
        {-1000, 4, "****"},
        {9, 1, "9"},
        {10, 1, "*"},
        {-1, 1, "*"},
        {1000, 3, "***"},
        {-999, 4, "-999"},
        {12, 1, "*"},
        {std::numeric_limits<std::int64_t>::min(), 20, "-9223372036854775808"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(integer_field(c.value, c.width), c.field) << c.value << " in I" << c.width;
    }
}

TEST(OutputFields, Fixed) {
    struct Case {
        double value;
        std::size_t width;
        int decimals;
        const char* field;
    };
    const Case cases[] = {
        {0.5, 6, 4, "0.5000"},
        {-0.5, 6, 4, "-.5000"},
        {1.02, 6, 4, "1.0200"},
        {12.5, 6, 4, "******"},
        {0.03125, 6, 4, "0.0312"},  // an exact half goes to the even digit
        {0.35, 8, 4, "  0.3500"},
        {-0.5, 8, 4, " -0.5000"},
        {-0.00004, 8, 4, "  0.0000"},
        {-0.0, 8, 4, "  0.0000"},
        {123.0, 5, 0, " 123."},
        {0.0, 5, 0, "   0."},
        {-5.0, 5, 0, "  -5."},
        {-999.0, 5, 0, "-999."},
        {9999.0, 5, 0, "9999."},
        {12345.0, 5, 0, "*****"},
        {1234.5, 10, 6, "**********"},
        {9.99996, 6, 4, "******"},
        {10.0, 6, 4, "******"},
        {-1.0, 6, 4, "******"},
        {-0.015, 6, 4, "-.0150"},
        {-0.00004, 6, 4, "0.0000"},
        {0.04, 2, 1, ".0"},
        {-0.4, 2, 0, "0."},
        {0.0, 1, 0, "*"},  // "." would hold no digit
        {0.4, 1, 0, "*"},
        {0.0, 6, 4, "0.0000"},
        {-123.45678, 10, 6, "**********"},
        {-47.26, 10, 6, "-47.260000"},
        {48.123456, 10, 6, " 48.123456"},
        {1e300, 10, 6, "**********"},
        {std::numeric_limits<double>::quiet_NaN(), 6, 4, "******"},
        {-std::numeric_limits<double>::infinity(), 6, 4, "******"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fixed_field(c.value, c.width, c.decimals), c.field)
            << c.value << " in F" << c.width << '.' << c.decimals;
    }
}

TEST(OutputFields, Text) {
    std::string out(70, '?');
    const std::string header = std::string(70, 'a') + "0123456789";
    render_text(header, out);
    EXPECT_EQ(out, std::string(70, 'a'));

    std::string wide(5, '?');
    render_text("ab", wide);
    EXPECT_EQ(wide, "   ab");
}

TEST(InputFields, Integer) {
    struct Case {
        const char* field;
        std::int64_t value;
    };
    const Case accepted[] = {
        {"  -7", -7},
        {"", 0},
        {"    ", 0},
        {"1 5", 15},
        {" +12", 12},
        {"- 5", -5},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483648},
    };
    for (const Case& c : accepted) {
        EXPECT_EQ(parse_integer(c.field, std::numeric_limits<std::int32_t>::min(),
                                std::numeric_limits<std::int32_t>::max()),
                  c.value)
            << '|' << c.field << '|';
    }
    const char* rejected[] = {"  1.5", "8.0", "1a", "\t1",        "1\t",
                              "--1",   "1-",  "+",  "2147483648", "-2147483649"};
    for (const char* field : rejected) {
        EXPECT_FALSE(parse_integer(field, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()))
            << '|' << field << '|';
    }
    EXPECT_EQ(parse_integer("9223372036854775807", std::numeric_limits<std::int64_t>::min(),
                            std::numeric_limits<std::int64_t>::max()),
              std::numeric_limits<std::int64_t>::max());
}

TEST(InputFields, Fixed) {
    struct Case {
        const char* field;
        int decimals;
        double value;
    };
    const Case accepted[] = {
        {"    3400", 4, 0.34},        {"  0.3400", 4, 0.34}, {"  3.4E-1", 4, 0.34}, {"  123E2", 4, 1.23},
        {"  12345678", 6, 12.345678}, {"", 4, 0.0},          {"        ", 4, 0.0},  {"1.5+2", 4, 150.0},
        {"1.5-2", 4, 0.015},          {"1.5d2", 4, 150.0},   {"1.5Q-1", 4, 0.15},   {" 1 . 5 ", 4, 1.5},
        {"\t\r 2.5", 4, 2.5},         {"-1", 4, -0.0001},    {"+.5", 4, 0.5},       {"7", 0, 7.0},
        {"1E-400", 4, 0.0},           {"0.1", 4, 0.1},       {"1.064", 4, 1.064},   {"+12.5", 4, 12.5},
        {"-.25", 4, -0.25},           {"5.", 4, 5.0},
    };
    for (const Case& c : accepted) {
        EXPECT_EQ(parse_fixed(c.field, c.decimals), c.value) << '|' << c.field << '|';
    }
    const char* rejected[] = {"  0.34x", "1.2.3", "1\t.5", "Infinity", "NaN",  "1E999", "1E",   "E5",
                              ".",       "-",     "1.5E+", "-.",       "+-5.", "-+5.",  "--5.", "5.-"};
    for (const char* field : rejected) {
        EXPECT_FALSE(parse_fixed(field, 4)) << '|' << field << '|';
    }
}

// Blanks inside a number are ignored, so a field with one reads as the
// same field without it, down to the sign of a zero and the last bit.
TEST(InputFields, FixedWithBlanksInsideReadsAsWithout) {
    const char* fields[] = {
        "  12.3456", "-0.0000", "0.1", "+7.25", "-1234.5678", "0.30000000000000004", "\t9007199254740993.0"};
    for (const std::string field : fields) {
        std::string spread = field;
        spread.insert(spread.find_first_not_of(" \t") + 1, " ");
        const auto plain = parse_fixed(field, 4);
        const auto spaced = parse_fixed(spread, 4);
        ASSERT_TRUE(plain && spaced) << '|' << field << '|';
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*plain), std::bit_cast<std::uint64_t>(*spaced))
            << '|' << field << "| and |" << spread << '|';
    }
}

TEST(InputFields, Text) {
    struct Case {
        const char* field;
        std::size_t width;
        std::size_t length;
        const char* item;
    };
    const Case cases[] = {
        {"ABC", 80, 5, "     "},  // the rightmost 5 of 80 columns: all missing
        {"ABC", 3, 5, "ABC  "},   // w < L: the field, then blanks
        {"ABCDEF", 6, 2, "EF"},   // w > L: the rightmost L
        {"", 1, 1, " "},          // A1 of an empty line
        {"x,y", 3, 3, "x,y"},     // commas are text
    };
    for (const Case& c : cases) {
        std::string item(c.length, '?');
        take_text(c.field, c.width, item);
        EXPECT_EQ(item, c.item) << '|' << c.field << "| in A" << c.width;
    }
}

}  // namespace
}  // namespace velkoran
