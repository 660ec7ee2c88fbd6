// Text units: numbered connections to files and the console, read and
// written one record at a time by layouts.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "records/failure.h"
#include "records/input_items.h"
#include "records/layout.h"

namespace velkoran {

inline constexpr UnitNumber CONSOLE_OUTPUT_UNIT = -1;
inline constexpr UnitNumber CONSOLE_INPUT_UNIT = -4;

// Connects a unit (1 to 4) to a file. An existing file is connected at its
// first byte and cut after the first record written to it; a missing one is
// created empty. Opening the file that the unit already holds changes nothing.
void open_unit(UnitNumber unit_number, std::string_view given_name);

// Closes every connected file; the console stays open and nothing is written.
void close_all_units();

// Writes one record holding a blank and then the text to the console.
void write_list_directed(std::string_view text);

struct OutputItem {
    ItemKind kind;
    const void* address;
    std::size_t length;  // of a text
};

void read_items(UnitNumber unit_number, const Layout& layout, std::span<const InputItem> items);
void write_items(UnitNumber unit_number, const Layout& layout, std::span<const OutputItem> items);

// A text item's characters, or the number itself; const where the item is.
template <class T>
auto* item_address(T& item) {
    if constexpr (requires { item.data(); }) {
        return item.data();
    } else {
        return &item;
    }
}

// A layout written in the call is a constant built afresh on the stack at
// every call; one kept in a static constexpr variable is passed as it is.
// Records read or written by the thousand name theirs so.

// Reads the next record of the unit (one more for each `/` of the layout)
// into the items; a failure ends the run.
template <class... Items>
void read_formatted(UnitNumber unit, const InputLayout<Items...>& layout, Items&... items) {
    const std::array<InputItem, sizeof...(Items)> list{
        InputItem{ItemTraits<Items>::kind, item_address(items), ItemTraits<Items>::length}...};
    read_items(unit, layout.layout(), list);
}

// Builds the record (one more at each `/`) and hands each to the operating
// system as it is finished; a failure ends the run.
template <class... Items>
void write_formatted(UnitNumber unit, const OutputLayout<Items...>& layout, const Items&... items) {
    const std::array<OutputItem, sizeof...(Items)> list{
        OutputItem{ItemTraits<Items>::kind, item_address(items), ItemTraits<Items>::length}...};
    write_items(unit, layout.layout(), list);
}

}  // namespace velkoran
