#include "records/record_reader.h"

#include <algorithm>
#include <cstring>

namespace velkoran {

namespace {
constexpr char END_OF_FILE_MARK = '\x1a';  // Ctrl-Z alone on a line
}

void RecordReader::reset(std::size_t chunk) {
    chunk_ = std::min(chunk, ahead_.size());
    discard_unread();
}

void RecordReader::keep(const char* bytes, std::size_t count) {
    const std::size_t kept = std::min(count, record_.size() - record_size_);
    std::memcpy(record_.data() + record_size_, bytes, kept);
    record_size_ += kept;
}

RecordReader::Result RecordReader::next(platform::Handle handle) {
    record_size_ = 0;
    std::size_t length = 0;  // of the whole line, however much of it is kept
    char last = '\0';
    for (;;) {
        if (begin_ == end_) {
            const platform::Transfer transfer = platform::read_some(handle, {ahead_.data(), chunk_});
            if (transfer.error != 0) {
                return {.status = Status::Error, .error = transfer.error};
            }
            if (transfer.bytes == 0) {
                if (length == 0) {
                    return {.status = Status::EndOfFile};
                }
                break;  // a last line without its LF is still a record
            }
            begin_ = 0;
            end_ = transfer.bytes;
        }
        const char* start = ahead_.data() + begin_;
        const auto available = end_ - begin_;
        const auto* line_feed = static_cast<const char*>(std::memchr(start, '\n', available));
        const std::size_t count =
            line_feed != nullptr ? static_cast<std::size_t>(line_feed - start) : available;
        keep(start, count);
        if (count > 0) {
            last = start[count - 1];
            length += count;
        }
        begin_ += line_feed != nullptr ? count + 1 : count;
        if (line_feed != nullptr) {
            break;
        }
    }
    const std::size_t true_length = last == '\r' ? length - 1 : length;
    record_size_ = std::min(record_size_, true_length);
    if (true_length == 1 && record_[0] == END_OF_FILE_MARK) {
        return {.status = Status::EndOfFile};
    }
    return {};
}

}  // namespace velkoran
