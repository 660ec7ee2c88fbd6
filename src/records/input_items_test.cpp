#include "records/input_items.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velkoran {
namespace {

// Hands out the records in turn and counts how many were asked for.
struct Records {
    std::vector<std::string> lines;
    std::size_t asked = 0;

    auto next() {
        return [this] { return std::string_view(lines.at(asked++)); };
    }
};

TEST(InputItems, EachRecordBreakAsksForOneMoreRecord) {
    Records records{{"skipped", "  42 abc", "  7"}};
    std::int32_t number = 0;
    Text<3> text{};
    std::int64_t last = 0;
    const InputItem items[] = {
        {ItemKind::Int32, &number, 0}, {ItemKind::Text, text.data(), 3}, {ItemKind::Int64, &last, 0}};
    constexpr Layout layout =
        InputLayout<std::int32_t, Text<3>, std::int64_t>("(/, I4, 1X, A3, /, I3)").layout();
    EXPECT_TRUE(take_items(layout, items, records.next()));
    EXPECT_EQ(records.asked, 3U);
    EXPECT_EQ(number, 42);
    EXPECT_EQ(view_of(text), "abc");
    EXPECT_EQ(last, 7);
}

TEST(InputItems, FieldThatDoesNotConvertStopsBeforeTheNextRecord) {
    Records records{{"  4x", "  5"}};
    std::int32_t first = 0;
    std::int32_t second = 0;
    const InputItem items[] = {{ItemKind::Int32, &first, 0}, {ItemKind::Int32, &second, 0}};
    constexpr Layout layout = InputLayout<std::int32_t, std::int32_t>("(I4, /, I4)").layout();
    EXPECT_FALSE(take_items(layout, items, records.next()));
    EXPECT_EQ(records.asked, 1U);
}

TEST(InputItems, FieldsPastTheEndOfAShortRecordAreBlank) {
    Records records{{"1.5"}};
    double present = -1;
    double missing = -1;
    Text<2> text{'?', '?'};
    const InputItem items[] = {
        {ItemKind::Real64, &present, 0}, {ItemKind::Real64, &missing, 0}, {ItemKind::Text, text.data(), 2}};
    constexpr Layout layout = InputLayout<double, double, Text<2>>("(F4.1, 2X, F8.4, A2)").layout();
    EXPECT_TRUE(take_items(layout, items, records.next()));
    EXPECT_EQ(present, 1.5);
    EXPECT_EQ(missing, 0.0);
    EXPECT_EQ(view_of(text), "  ");
}

}  // namespace
}  // namespace velkoran
