#include "tables/tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "testing/scratch_directory.h"

namespace velkoran {
namespace {

template <std::size_t L>
Text<L> text(const std::string& value) {
    Text<L> t{};
    t.fill(' ');
    std::copy_n(value.begin(), std::min(value.size(), L), t.begin());
    return t;
}

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos;
         start = end + separator.size()) {
        parts.push_back(text.substr(start, end - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<std::string> lines_of(const std::string& table) {
    std::vector<std::string> lines = split(table, "\r\n");
    EXPECT_EQ(lines.back(), "") << "the table ends without its line end";
    lines.pop_back();
    return lines;
}

std::vector<std::string> cells_of(const std::string& line) { return split(line, " , "); }

class TablesTest : public testing::ScratchDirectory {
protected:
    void SetUp() override {
        ScratchDirectory::SetUp();
        set_ = std::make_unique<MeasurementSet>();
        set_->wavelength_count = 1;
        set_->title_index = 1;
    }

    void measurements(int count) {
        set_->measurement_count = count;
        for (int k = 1; k <= count; ++k) {
            set_->header(k).sample_number = k;
        }
    }

    // Writes with `write` on fresh table files and gives their lines.
    template <class Write>
    std::pair<std::vector<std::string>, std::vector<std::string>> tables(Write write) {
        open_unit(ME_TABLE_UNIT, "me.csv");
        open_unit(CIN_TABLE_UNIT, "cin.csv");
        write(*set_);
        close_all_units();
        return {lines_of(read_file("me.csv")), lines_of(read_file("cin.csv"))};
    }

    std::unique_ptr<MeasurementSet> set_;
};

TEST_F(TablesTest, ColumnHeaderRowLabelsGrowWithTheMeasurementNumber) {
    struct Case {
        int measurements;
        const char* me;
        const char* cin;
    };
    const Case cases[] = {
        {1, "number , wavelength , m1 , e1", "number , wavelength , c1 , in1"},
        {3, "number , wavelength , m1 , e1 , m2 , e2 , m3 , e3",
         "number , wavelength , c1 , in1 , c2 , in2 , c3 , in3"},
        {12,
         "number , wavelength , m1 , e1 , m2 , e2 , m3 , e3 , m4 , e4 , m5 , e5 , m6 , e6 , m7 , e7 , m8 , "
         "e8 , "
         "m9 , e9 , m10 , e10 , m11 , e11 , m12 , e12",
         "number , wavelength , c1 , in1 , c2 , in2 , c3 , in3 , c4 , in4 , c5 , in5 , c6 , in6 , c7 , in7 , "
         "c8 , "
         "in8 , c9 , in9 , c10 , in10 , c11 , in11 , c12 , in12"},
    };
    for (const Case& c : cases) {
        measurements(c.measurements);
        const auto [me, cin] = tables(write_column_header_row);
        EXPECT_EQ(me, std::vector<std::string>{c.me});
        EXPECT_EQ(cin, std::vector<std::string>{c.cin});
    }
}

TEST_F(TablesTest, ColumnHeaderRowOfTheLargestRun) {
    measurements(MAX_MEASUREMENTS);
    const auto [me, cin] = tables(write_column_header_row);
    const std::vector<std::string> me_cells = cells_of(me.at(0));
    const std::vector<std::string> cin_cells = cells_of(cin.at(0));
    ASSERT_EQ(me_cells.size(), 1002U);
    ASSERT_EQ(cin_cells.size(), 1002U);
    EXPECT_EQ(me_cells[2 * 99], "m99");
    EXPECT_EQ(me_cells[2 * 100 + 1], "e100");
    EXPECT_EQ(me_cells.back(), "e500");
    EXPECT_EQ(cin_cells[2 * 500], "c500");
    EXPECT_EQ(cin_cells.back(), "in500");
}

TEST_F(TablesTest, TitleRowOfEveryKind) {
    measurements(3);
    const char* date_times[] = {"2005-06-21 09:15:00", "2005-06-21 09:45:30", "2005-06-22 14:05:10"};
    const char* clock_times[] = {"11:15:00", "11:45:30", "16:05:10"};
    const double positions[] = {47.25, 47.251234, -47.26};
    const double longitudes[] = {8.5, 8.512345, -8.6};
    const double altitudes[] = {415, 420, 1234};
    for (int k = 1; k <= 3; ++k) {
        MeasurementHeader& h = set_->header(k);
        h.date_time = text<19>(date_times[k - 1]);
        h.clock_time = text<8>(clock_times[k - 1]);
        h.position_a = positions[k - 1];
        h.longitude = longitudes[k - 1];
        h.altitude = altitudes[k - 1];
    }
    const char* rows[] = {
        " - , microns  , 1 , 1 , 2 , 2 , 3 , 3",
        " - , microns  , 2005-06-21 09:15:00 , 2005-06-21 09:15:00 , 2005-06-21 09:45:30 , 2005-06-21 "
        "09:45:30 , "
        "2005-06-22 14:05:10 , 2005-06-22 14:05:10",
        " - , microns  , 11:15:00 , 11:15:00 , 11:45:30 , 11:45:30 , 16:05:10 , 16:05:10",
        " - , microns  ,  47.250000 ,  47.250000 ,  47.251234 ,  47.251234 , -47.260000 , -47.260000",
        " - , microns  ,    8.500000 ,    8.500000 ,    8.512345 ,    8.512345 ,   -8.600000 ,   -8.600000",
        " - , microns  ,  415. ,  415. ,  420. ,  420. , 1234. , 1234.",
        " - , microns  , 2005-06-21 , 2005-06-21 , 2005-06-21 , 2005-06-21 , 2005-06-22 , 2005-06-22",
    };
    for (int title = 1; title <= 7; ++title) {
        set_->title_index = title;
        const auto [me, cin] = tables(write_title_row);
        EXPECT_EQ(me, std::vector<std::string>{rows[title - 1]}) << "title index " << title;
        EXPECT_EQ(cin, me);
    }
}

TEST_F(TablesTest, SampleNumberLabelsAreNeverAsterisks) {
    struct Case {
        int k;
        std::int32_t sample_number;
        const char* cell;
    };
    const Case cases[] = {
        {3, 15, "15"}, {150, 1000, "1000"}, {5, -3, "-3"},     {20, -3, "-3"},
        {12, 5, " 5"}, {100, 7, "  7"},     {4, 9999, "9999"}, {6, -999, "-999"},
    };
    measurements(150);
    for (const Case& c : cases) {
        set_->header(c.k).sample_number = c.sample_number;
    }
    const auto [me, cin] = tables(write_title_row);
    const std::vector<std::string> cells = cells_of(me.at(0));
    for (const Case& c : cases) {
        EXPECT_EQ(cells.at(2 * static_cast<std::size_t>(c.k)), c.cell) << "measurement " << c.k;
        EXPECT_EQ(cells.at(2 * static_cast<std::size_t>(c.k) + 1), c.cell) << "measurement " << c.k;
    }
    EXPECT_EQ(cin, me);
}

TEST_F(TablesTest, RowsOfASingleMeasurement) {
    measurements(1);
    set_->wavelength(1) = 0.44;
    set_->value(1, 1) = {.c_value = 0.1234, .m_value = 0.2345, .e_value = 0.0123, .in_value = 1};
    const auto [me, cin] = tables(write_wavelength_rows);
    EXPECT_EQ(me, std::vector<std::string>{"   1 , 0.4400 , 0.2345 , 0.0123"});
    EXPECT_EQ(cin, std::vector<std::string>{"   1 , 0.4400 , 0.1234 , 1"});
}

TEST_F(TablesTest, SixteenWavelengthsMakeEighteenLines) {
    measurements(2);
    set_->wavelength_count = MAX_WAVELENGTHS;
    const auto [me, cin] = tables(write_tables);
    ASSERT_EQ(me.size(), 18U);
    ASSERT_EQ(cin.size(), 18U);
    EXPECT_EQ(me.back(), "  16 , 0.0000 , 0.0000 , 0.0000 , 0.0000 , 0.0000");
    EXPECT_EQ(cin.back(), "  16 , 0.0000 , 0.0000 , 0 , 0.0000 , 0");
}

TEST(LabelWidth, DigitsOfTheMeasurementNumber) {
    for (const auto& [k, width] : {std::pair{1, 1}, {9, 1}, {10, 2}, {99, 2}, {100, 3}, {500, 3}}) {
        EXPECT_EQ(label_width(k), width) << k;
    }
}

}  // namespace
}  // namespace velkoran
