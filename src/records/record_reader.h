// Splits the bytes of a unit into records, reading ahead in large blocks.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "records/layout.h"
#include "records/platform.h"

namespace velkoran {

inline constexpr std::size_t READ_AHEAD_BYTES = 64 * 1024;

class RecordReader {
public:
    enum class Status { Record, EndOfFile, Error };
    struct Result {
        Status status = Status::Record;
        platform::ErrorCode error = 0;
    };

    // `chunk` bytes at most are taken from the handle per read; 1 keeps
    // every byte past a record's end with its owner (the console).
    void reset(std::size_t chunk);
    Result next(platform::Handle handle);

    // The record's first RECORD_CAPACITY columns: no layout looks further,
    // so however long a line is, it costs no more memory than this.
    [[nodiscard]] std::string_view record() const { return {record_.data(), record_size_}; }
    // Bytes taken from the handle but not yet part of a record.
    [[nodiscard]] std::size_t unread() const { return end_ - begin_; }
    void discard_unread() { begin_ = end_ = 0; }

private:
    void keep(const char* bytes, std::size_t count);

    // The counts come first: every record written asks for unread(), and so
    // they share the cache lines of the unit's other fields.
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::size_t chunk_ = READ_AHEAD_BYTES;
    std::size_t record_size_ = 0;
    // Left uninitialised: only bytes read into them are ever looked at, and
    // a unit that never reads touches none of their pages.
    std::array<char, RECORD_CAPACITY> record_;
    std::array<char, READ_AHEAD_BYTES> ahead_;
};

}  // namespace velkoran
