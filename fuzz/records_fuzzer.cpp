// Any bytes as a file the program reads: the product's RecordReader splits
// them into records, and every input layout of the program takes its items
// from every record (or run of records) it could be handed.
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "records/input_items.h"
#include "records/layout.h"
#include "records/record_reader.h"
#include "records/text_unit.h"

namespace velkoran {
namespace {

void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// The records as the reader must make them: lines end at LF, one CR before
// it is dropped, a Ctrl-Z line ends the file, and no layout looks past
// RECORD_CAPACITY columns.
std::vector<std::string> expected_records(std::string_view bytes) {
    std::vector<std::string> records;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line == "\x1a") {
            break;
        }
        records.emplace_back(line.substr(0, RECORD_CAPACITY));
    }
    return records;
}

std::vector<std::string> read_records(std::string_view bytes, std::size_t chunk) {
    const int fd = ::memfd_create("records", 0);
    require(fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
            ::lseek(fd, 0, SEEK_SET) == 0);
    static RecordReader reader;  // 64 KiB: kept off the stack
    reader.reset(chunk);
    std::vector<std::string> records;
    for (;;) {
        const RecordReader::Result result = reader.next(fd);
        require(result.status != RecordReader::Status::Error);
        if (result.status == RecordReader::Status::EndOfFile) {
            break;
        }
        records.emplace_back(reader.record());
    }
    ::close(fd);
    return records;
}

template <class T>
void check_item(const T& item) {
    if constexpr (std::is_same_v<T, double>) {
        require(std::isfinite(item));  // no field spells an infinity or a NaN
    }
}

// Takes the layout's items from every run of records long enough for it.
template <class... Items>
void take_from_every_record(std::span<const std::string> records, InputLayout<Items...> layout) {
    const Layout& elements = layout.layout();
    std::size_t needed = 1;
    for (const Element& element : elements) {
        needed += element.kind == ElementKind::RecordBreak ? 1 : 0;
    }
    for (std::size_t first = 0; first + needed <= records.size(); ++first) {
        std::tuple<Items...> items{};
        std::apply(
            [&](auto&... item) {
                const std::array<InputItem, sizeof...(Items)> list{
                    InputItem{ItemTraits<Items>::kind, item_address(item), ItemTraits<Items>::length}...};
                std::size_t next = first;
                const bool taken =
                    take_items(elements, list, [&] { return std::string_view(records[next++]); });
                // A layout asks for its records only, and for none after a failed field.
                require(taken ? next == first + needed : next <= first + needed);
                if (taken) {
                    (check_item(item), ...);
                }
            },
            items);
    }
}

// Read sizes from one byte at a time to the reader's whole buffer, so
// records cross every kind of boundary between reads.
constexpr std::array<std::size_t, 8> CHUNKS{1, 2, 3, 7, 64, 255, 4096, READ_AHEAD_BYTES};

}  // namespace
}  // namespace velkoran

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velkoran;
    if (size == 0) {
        return 0;
    }
    const std::size_t chunk = CHUNKS[data[0] % CHUNKS.size()];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::vector<std::string> records = read_records(bytes, chunk);
    require(records == expected_records(bytes));

    take_from_every_record<std::int32_t, Text<19>, Text<8>, double, double, std::int32_t>(
        records, "(////, I4, 2X, A19, 2X, A8, 2X, F10.6, 2X, F11.6, 2X, I4)");
    take_from_every_record<Text<80>>(records, "(//, A80, /)");
    take_from_every_record<double, double, double, double, std::int64_t>(records,
                                                                         "(F8.4, 4X, F8.4, 2X, 2F8.4, I4)");
    take_from_every_record<Text<80>>(records, "(A80)");
    take_from_every_record<std::int32_t, std::int32_t, std::int32_t>(records, "(I2, I3, I2)");
    take_from_every_record<Text<1>>(records, "(A1)");
    return 0;
}
