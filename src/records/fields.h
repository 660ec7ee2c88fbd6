// Conversion of single fields between items and their columns.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace velkoran {

// Output: each writes exactly out.size() characters, the field's width. A
// number that does not fit is written as asterisks over the whole field.
void render_integer(std::int64_t value, std::span<char> out);
void render_fixed(double value, int decimals, std::span<char> out);
void render_text(std::string_view text, std::span<char> out);

// Input: `field` holds the field's columns that the record has (columns
// past the end of the record are blanks and need not be present). An empty
// optional is a conversion error.
std::optional<std::int64_t> parse_integer(std::string_view field, std::int64_t min, std::int64_t max);
std::optional<double> parse_fixed(std::string_view field, int decimals);
// `field` is `width` columns, of which the missing ones are blanks.
void take_text(std::string_view field, std::size_t width, std::span<char> item);

}  // namespace velkoran
