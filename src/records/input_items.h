// The items of an input layout and the record columns they are taken from:
// the part of reading that needs no unit, so any bytes can be put through it
// without a failure ending the process.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "records/layout.h"

namespace velkoran {

struct InputItem {
    ItemKind kind;
    void* address;
    std::size_t length;  // of a text
};

// Takes the item of one data field from the record's columns from `column`
// on; gives the column where the next field starts, or nothing when the
// field does not convert.
std::optional<std::size_t> take_item(const Element& field, std::string_view record, std::size_t column,
                                     const InputItem& item);

// Takes the items of a layout from records: `next_record()` gives the first
// one, and one more at each `/`. False at the first field that does not
// convert; no record after it is asked for.
template <class NextRecord>
bool take_items(const Layout& layout, std::span<const InputItem> items, NextRecord next_record) {
    std::string_view record = next_record();
    std::size_t column = 0;
    const InputItem* item = items.data();
    for (const Element& element : layout) {
        if (element.kind == ElementKind::RecordBreak) {
            record = next_record();
            column = 0;
        } else if (element.kind == ElementKind::Blanks) {
            column += element.width;
        } else {
            const std::optional<std::size_t> next = take_item(element, record, column, *item++);
            if (!next) {
                return false;
            }
            column = *next;
        }
    }
    return true;
}

}  // namespace velkoran
