#include "records/input_items.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "records/fields.h"

namespace velkoran {
namespace {

// The columns of a numeric field; a comma among them ends it early.
struct NumericField {
    std::string_view text;
    std::size_t next_column;
};

NumericField numeric_field(std::string_view record, std::size_t column, std::size_t width) {
    const std::string_view columns = record.substr(std::min(column, record.size()), width);
    // Searched in place: find() would call the library for a few columns.
    const auto comma = static_cast<std::size_t>(std::ranges::find(columns, ',') - columns.begin());
    if (comma == columns.size()) {
        return {columns, column + width};
    }
    return {columns.substr(0, comma), column + comma + 1};
}

bool store_number(const Element& field, std::string_view text, const InputItem& item) {
    switch (item.kind) {
    case ItemKind::Int32: {
        const auto value = parse_integer(text, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max());
        if (value) {
            *static_cast<std::int32_t*>(item.address) = static_cast<std::int32_t>(*value);
        }
        return value.has_value();
    }
    case ItemKind::Int64: {
        const auto value = parse_integer(text, std::numeric_limits<std::int64_t>::min(),
                                         std::numeric_limits<std::int64_t>::max());
        if (value) {
            *static_cast<std::int64_t*>(item.address) = *value;
        }
        return value.has_value();
    }
    default: {
        const auto value = parse_fixed(text, field.decimals);
        if (value) {
            *static_cast<double*>(item.address) = *value;
        }
        return value.has_value();
    }
    }
}

}  // namespace

std::optional<std::size_t> take_item(const Element& field, std::string_view record, std::size_t column,
                                     const InputItem& item) {
    if (field.kind == ElementKind::Text) {
        take_text(record.substr(std::min(column, record.size()), field.width), field.width,
                  {static_cast<char*>(item.address), item.length});
        return column + field.width;
    }
    const NumericField numeric = numeric_field(record, column, field.width);
    if (!store_number(field, numeric.text, item)) {
        return std::nullopt;
    }
    return numeric.next_column;
}

}  // namespace velkoran
