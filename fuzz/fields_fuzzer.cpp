// Output fields of any value in every width the program writes, and in
// widths and decimal counts beyond them. Besides crashes, it checks what a
// field must be: exactly w characters, asterisks exactly when the value does
// not fit, and read back through the input conversion, the value itself
// (rounded to the field's decimals).
#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/fields.h"
#include "records/layout.h"

namespace velkoran {
namespace {

// Names the field that breaks a rule, then stops the fuzzer on it.
template <class Describe>
void require(bool holds, std::string_view field, Describe describe) {
    if (!holds) {
        std::fprintf(stderr, "broken rule for %s: |%.*s|\n", describe().c_str(),
                     static_cast<int>(field.size()), field.data());
        std::abort();
    }
}

bool all_asterisks(std::string_view field) { return field.find_first_not_of('*') == std::string_view::npos; }

// The value with d decimals as the C library prints it, with the sign of a
// value that rounds to zero dropped: a second opinion on every digit.
std::string printed(double value, int decimals) {
    std::array<char, 400 + RECORD_CAPACITY> text{};
    const int length = std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
    std::string result(text.data(), static_cast<std::size_t>(length));
    if (result.starts_with('-') && result.find_first_not_of("-0.") == std::string::npos) {
        result.erase(0, 1);
    }
    return result;
}

// Whether Fw.d has room: the point is always shown, and the 0 before it may
// go only where a digit after it remains.
bool fixed_fits(double value, int width, int decimals) {
    if (!std::isfinite(value)) {
        return false;
    }
    std::string text = printed(value, decimals);
    if (decimals == 0) {
        text += '.';
    }
    const std::size_t sign = text.starts_with('-') ? 1 : 0;
    const bool zero_may_go = decimals > 0 && text.compare(sign, 2, "0.") == 0;
    const auto w = static_cast<std::size_t>(width);
    return text.size() <= w || (zero_may_go && text.size() - 1 <= w);
}

// Blanks, then the characters of the number, and nothing after them.
bool right_justified(std::string_view field) {
    const std::size_t first = field.find_first_not_of(' ');
    return first != std::string_view::npos && field.find(' ', first) == std::string_view::npos;
}

void check_fixed(double value, int width, int decimals) {
    // Exactly w characters of memory: a write past them is a sanitizer report.
    std::vector<char> out(static_cast<std::size_t>(width));
    render_fixed(value, decimals, out);
    const std::string_view field(out.data(), out.size());
    const auto format = [&] {
        return "F" + std::to_string(width) + "." + std::to_string(decimals) + " of " +
               printed(value, std::max(decimals, 17));
    };
    const bool fits = fixed_fits(value, width, decimals);
    require(all_asterisks(field) != fits, field, format);
    if (fits) {
        require(right_justified(field), field, format);
        const std::optional<double> back = parse_fixed(field, decimals);
        require(back.has_value() && printed(*back, decimals) == printed(value, decimals), field, format);
    }
}

void check_integer(std::int64_t value, int width) {
    std::vector<char> out(static_cast<std::size_t>(width));
    render_integer(value, out);
    const std::string_view field(out.data(), out.size());
    const auto format = [&] { return "I" + std::to_string(width) + " of " + std::to_string(value); };
    const bool fits = std::to_string(value).size() <= out.size();
    require(all_asterisks(field) != fits, field, format);
    if (fits) {
        require(right_justified(field), field, format);
        require(parse_integer(field, std::numeric_limits<std::int64_t>::min(),
                              std::numeric_limits<std::int64_t>::max()) == value,
                field, format);
    }
}

// Aw of a text of length L: right-justified when w >= L, cut to its first w
// characters otherwise; and read back with Aw, the text itself.
void check_text(std::string_view text, std::size_t width) {
    std::vector<char> out(width);
    render_text(text, out);
    const std::string_view field(out.data(), out.size());
    std::string expected(width, ' ');
    if (width >= text.size()) {
        expected.replace(width - text.size(), text.size(), text);
    } else {
        expected = text.substr(0, width);
    }
    const auto format = [&] { return "A" + std::to_string(width) + " of |" + std::string(text) + "|"; };
    require(field == expected, field, format);

    std::vector<char> item(text.size());
    take_text(field, width, item);
    std::string back(text.substr(0, std::min(width, text.size())));
    back.resize(text.size(), ' ');
    require(std::string_view(item.data(), item.size()) == back, field, format);
}

// Blanks inside a number are ignored: a field with one more after its first
// character reads exactly as it stands, whichever way each is read.
void check_blank_inside(std::string_view field, int decimals) {
    const std::size_t first = field.find_first_not_of(" \t\n\v\f\r");
    if (first == std::string_view::npos) {
        return;
    }
    std::string spread(field);
    spread.insert(first + 1, " ");
    const std::optional<double> as_is = parse_fixed(field, decimals);
    const std::optional<double> spaced = parse_fixed(spread, decimals);
    const bool same =
        as_is.has_value() == spaced.has_value() &&
        (!as_is || std::bit_cast<std::uint64_t>(*as_is) == std::bit_cast<std::uint64_t>(*spaced));
    require(same, field, [&] { return "F input with a blank inside, |" + spread + "|"; });
}

struct FixedFormat {
    int width;
    int decimals;
};
// Every Fw.d the program writes; I1 to I4 and the A widths likewise.
constexpr std::array<FixedFormat, 5> PROGRAM_FIXED{{{5, 0}, {6, 4}, {8, 4}, {10, 6}, {11, 6}}};
constexpr std::array<int, 4> PROGRAM_INTEGER{1, 2, 3, 4};
constexpr std::array<std::size_t, 5> PROGRAM_TEXT{1, 8, 19, 70, 80};

// Reads the input, one byte or value at a time; past its end, zeros.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t byte(std::size_t i) const { return i < size_ ? data_[i] : 0; }
    template <class T>
    T bits() const {
        std::array<std::uint8_t, sizeof(T)> raw{};
        std::memcpy(raw.data(), data_, std::min(size_, raw.size()));
        T value;
        std::memcpy(&value, raw.data(), sizeof value);
        return value;
    }
    std::string_view text() const { return {reinterpret_cast<const char*>(data_), size_}; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

void check_real(double value, const Input& in) {
    for (const FixedFormat& f : PROGRAM_FIXED) {
        check_fixed(value, f.width, f.decimals);
    }
    // Beyond the program's formats: a narrow one, where the edges are, and
    // any the layouts allow, up to a whole record.
    const int narrow = 1 + in.byte(8) % 12;
    check_fixed(value, narrow, in.byte(9) % narrow);
    const int wide = 1 + in.byte(10) % static_cast<int>(RECORD_CAPACITY);
    check_fixed(value, wide, in.byte(11) % wide);
}

void check_whole(std::int64_t value, const Input& in) {
    for (const int width : PROGRAM_INTEGER) {
        check_integer(value, width);
    }
    check_integer(value, 1 + in.byte(12) % 24);
}

}  // namespace
}  // namespace velkoran

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velkoran;
    const Input in(data, size);

    // The input's first bytes as the bits of a real and of an integer: any
    // value at all, NaNs, infinities and subnormals among them.
    check_real(in.bits<double>(), in);
    check_whole(in.bits<std::int64_t>(), in);

    // The input as the text of a number: values a person writes, and the
    // reals next to them, where rounding decides.
    const std::string_view text = in.text();
    const std::size_t start = std::min(text.find_first_not_of(' '), text.size());
    double real = 0;
    if (std::from_chars(text.data() + start, text.data() + text.size(), real).ec == std::errc{}) {
        for (const double near : {real, std::nextafter(real, -INFINITY), std::nextafter(real, INFINITY)}) {
            check_real(near, in);
        }
    }
    // No field is wider than a record, the added blank included.
    check_blank_inside(text.substr(0, RECORD_CAPACITY - 1), in.byte(15) % 10);
    std::int64_t whole = 0;
    if (std::from_chars(text.data() + start, text.data() + text.size(), whole).ec == std::errc{}) {
        check_whole(whole, in);
    }

    for (const std::size_t width : PROGRAM_TEXT) {
        check_text(text.substr(0, std::min<std::size_t>(80, text.size())), width);
    }
    check_text(text.substr(0, in.byte(13) % 100), 1 + in.byte(14) % RECORD_CAPACITY);
    return 0;
}
