#include "records/text_unit.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "records/fields.h"
#include "records/platform.h"
#include "records/record_reader.h"

namespace velkoran {
namespace {

struct TextUnit {
    UnitNumber number = 0;
    bool connected = false;
    platform::Handle handle = -1;
    std::string name;  // absolute, as failure reports show it
    bool read_only = false;
    bool cut_pending = false;
    platform::FileIdentity identity;
    RecordReader reader;
};

constexpr std::size_t FILE_UNITS = 4;
constexpr std::size_t MAX_NAME_LENGTH = 256;

// Units 1 to 4, then the console output and the console input.
std::array<TextUnit, FILE_UNITS + 2>& all_units() {
    static std::array<TextUnit, FILE_UNITS + 2> units;
    return units;
}

TextUnit& slot(UnitNumber number) {
    auto& units = all_units();
    if (number >= 1 && number <= static_cast<UnitNumber>(FILE_UNITS)) {
        return units[static_cast<std::size_t>(number - 1)];
    }
    if (number == CONSOLE_OUTPUT_UNIT) {
        return units[FILE_UNITS];
    }
    if (number == CONSOLE_INPUT_UNIT) {
        return units[FILE_UNITS + 1];
    }
    std::abort();  // the unit numbers are fixed in the program
}

void connect_console(TextUnit& unit) {
    const bool output = unit.number == CONSOLE_OUTPUT_UNIT;
    unit.connected = true;
    unit.handle = output ? platform::standard_output() : platform::standard_input();
    unit.name = output ? "CONOUT$" : "CONIN$";
    // The console is read a byte at a time: what follows the line at the
    // prompt belongs to whoever reads standard input next.
    unit.reader.reset(1);
}

TextUnit& connected_unit(UnitNumber number) {
    TextUnit& unit = slot(number);
    unit.number = number;
    if (!unit.connected && number < 0) {
        connect_console(unit);
    }
    return unit;
}

[[noreturn]] void fail(FailureNumber failure, const TextUnit& unit, std::string_view detail = {}) {
    report_failure(failure, {.number = unit.number, .name = unit.name, .detail = detail});
}

[[noreturn]] void fail_with_error(FailureNumber failure, const TextUnit& unit, platform::ErrorCode code) {
    fail(failure, unit, platform::describe(code));
}

// ---- open

std::string file_name_from(std::string_view given) {
    std::string_view name = given.substr(0, MAX_NAME_LENGTH);
    const auto first = name.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    name.remove_prefix(first);
    name.remove_suffix(name.size() - 1 - name.find_last_not_of(std::string_view(" \0", 2)));
    return std::string(name);
}

void close_unit(TextUnit& unit) {
    if (unit.number > 0) {
        platform::close_file(unit.handle);
    }
    unit.connected = false;
}

const TextUnit* unit_holding(const platform::FileIdentity& identity) {
    const auto& units = all_units();
    const auto* holder = std::find_if(units.begin(), units.end(), [&](const TextUnit& unit) {
        return unit.connected && unit.number > 0 && unit.identity == identity;
    });
    return holder == units.end() ? nullptr : holder;
}

[[noreturn]] void fail_open(const TextUnit& unit, const platform::OpenedFile& opened) {
    switch (opened.error) {
    case platform::OpenError::NotFound:
        fail(FailureNumber::FileNotFound, unit);
    case platform::OpenError::AccessDenied:
        fail(FailureNumber::PermissionDenied, unit);
    case platform::OpenError::BadName:
        fail(FailureNumber::FileNameSpecificationError, unit);
    default:
        fail_with_error(FailureNumber::OpenFailure, unit, opened.code);
    }
}

// ---- read

std::string_view next_record(TextUnit& unit) {
    const RecordReader::Result result = unit.reader.next(unit.handle);
    if (result.status == RecordReader::Status::EndOfFile) {
        fail(FailureNumber::EndOfFileDuringRead, unit);
    }
    if (result.status == RecordReader::Status::Error) {
        fail_with_error(FailureNumber::ErrorDuringRead, unit, result.error);
    }
    return unit.reader.record();
}

// ---- write

using RecordBuffer = std::array<char, RECORD_CAPACITY + 2>;

// A record's worth of blanks, copied as a literal is: filling a few columns
// would be a call into the library for each.
constexpr auto BLANK_COLUMNS = [] {
    Text<RECORD_CAPACITY> blanks{};
    blanks.fill(' ');
    return blanks;
}();

void write_record(TextUnit& unit, std::string_view record) {
    if (unit.read_only) {
        fail(FailureNumber::WriteToReadonlyFile, unit);
    }
    if (unit.reader.unread() > 0) {
        // Written data goes where reading stopped, not where it read ahead to.
        if (const auto code = platform::step_back(unit.handle, unit.reader.unread()); code != 0) {
            fail_with_error(FailureNumber::ErrorDuringWrite, unit, code);
        }
        unit.reader.discard_unread();
    }
    if (const auto code = platform::write_all(unit.handle, record); code != 0) {
        fail_with_error(FailureNumber::ErrorDuringWrite, unit, code);
    }
    if (unit.cut_pending) {
        unit.cut_pending = false;
        if (const auto code = platform::cut(unit.handle); code != 0) {
            fail_with_error(FailureNumber::ErrorDuringWrite, unit, code);
        }
    }
}

void end_record(TextUnit& unit, RecordBuffer& buffer, std::size_t size, bool with_line_end) {
    if (with_line_end) {
        buffer[size++] = '\r';
        buffer[size++] = '\n';
    }
    write_record(unit, {buffer.data(), size});
}

void render_item(const Element& field, const OutputItem& item, std::span<char> out) {
    switch (item.kind) {
    case ItemKind::Int32:
        render_integer(*static_cast<const std::int32_t*>(item.address), out);
        break;
    case ItemKind::Int64:
        render_integer(*static_cast<const std::int64_t*>(item.address), out);
        break;
    case ItemKind::Real64:
        render_fixed(*static_cast<const double*>(item.address), field.decimals, out);
        break;
    case ItemKind::Text:
        render_text({static_cast<const char*>(item.address), item.length}, out);
        break;
    }
}

}  // namespace

void open_unit(UnitNumber unit_number, std::string_view given_name) {
    TextUnit& unit = slot(unit_number);
    unit.number = unit_number;
    const std::string name = file_name_from(given_name);
    const bool valid = !name.empty() && name.find('\0') == std::string::npos;
    platform::FileIdentity existing;
    const bool exists = valid && platform::identify(name, existing);
    if (unit.connected) {
        if (exists && existing == unit.identity) {
            return;
        }
        close_unit(unit);
    }
    unit.name = platform::absolute_name(name);
    if (!valid) {
        fail(FailureNumber::FileNameSpecificationError, unit);
    }
    // Two units writing one file would destroy it: devices alone may be shared.
    if (exists && existing.regular) {
        if (const TextUnit* holder = unit_holding(existing)) {
            fail(FailureNumber::OpenFailure, unit,
                 "the file is already connected to unit " + std::to_string(holder->number));
        }
    }
    const platform::OpenedFile opened = platform::open_file(name);
    if (opened.error != platform::OpenError::None) {
        fail_open(unit, opened);
    }
    unit.connected = true;
    unit.handle = opened.handle;
    unit.read_only = opened.read_only;
    unit.identity = opened.identity;
    unit.cut_pending = opened.identity.regular;
    unit.reader.reset(READ_AHEAD_BYTES);
}

void close_all_units() {
    for (TextUnit& unit : all_units()) {
        if (unit.connected) {
            close_unit(unit);
        }
    }
}

void read_items(UnitNumber unit_number, const Layout& layout, std::span<const InputItem> items) {
    TextUnit& unit = connected_unit(unit_number);
    if (!take_items(layout, items, [&unit] { return next_record(unit); })) {
        fail(FailureNumber::InputConversionError, unit);
    }
}

void write_items(UnitNumber unit_number, const Layout& layout, std::span<const OutputItem> items) {
    TextUnit& unit = connected_unit(unit_number);
    RecordBuffer buffer;
    std::size_t size = 0;
    const OutputItem* item = items.data();
    for (const Element& element : layout) {
        const std::span<char> columns(buffer.data() + size, element.width);
        switch (element.kind) {
        case ElementKind::RecordBreak:
            end_record(unit, buffer, size, true);
            size = 0;
            continue;
        case ElementKind::Literal:
            std::ranges::copy(layout.literal_text(element), columns.begin());
            break;
        case ElementKind::Blanks:
            std::ranges::copy(view_of(BLANK_COLUMNS).substr(0, element.width), columns.begin());
            break;
        default:
            render_item(element, *item++, columns);
        }
        size += element.width;
    }
    end_record(unit, buffer, size, !layout.keeps_line_open);
}

void write_list_directed(std::string_view text) {
    TextUnit& unit = connected_unit(CONSOLE_OUTPUT_UNIT);
    RecordBuffer buffer;
    buffer[0] = ' ';
    const std::size_t length = std::min(text.size(), RECORD_CAPACITY - 1);
    std::copy_n(text.begin(), length, buffer.begin() + 1);
    end_record(unit, buffer, length + 1, true);
}

}  // namespace velkoran
