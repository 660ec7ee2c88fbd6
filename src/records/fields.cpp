#include "records/fields.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "records/layout.h"

namespace velkoran {
namespace {

void write_overflow_mark(std::span<char> out) { std::fill(out.begin(), out.end(), '*'); }

void write_right_justified(std::string_view digits, std::span<char> out) {
    if (digits.size() > out.size()) {
        write_overflow_mark(out);
        return;
    }
    // One pass: a field is a few columns, fewer than a library call costs.
    const std::size_t blanks = out.size() - digits.size();
    for (std::size_t column = 0; column < out.size(); ++column) {
        out[column] = column < blanks ? ' ' : digits[column - blanks];
    }
}

bool is_rounded_zero(std::string_view fixed) {
    return fixed.find_first_not_of("-0.") == std::string_view::npos;
}

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Decimal digits with an exponent, collected from a field before the
// library converts them; a field is never wider than a record.
class DecimalText {
public:
    void push(char c) {
        if (size_ < text_.size()) {
            text_[size_++] = c;
        }
    }
    [[nodiscard]] std::string_view view() const { return {text_.data(), size_}; }

private:
    // Left uninitialised: only the first size_ characters are ever read.
    std::array<char, RECORD_CAPACITY + 16> text_;
    std::size_t size_ = 0;
};

bool is_exponent_letter(char c) {
    constexpr std::string_view letters = "EeDdQq";
    return letters.find(c) != std::string_view::npos;
}

bool is_leading_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The parts of an `Fw.d` input field once its blanks are gone.
struct RealField {
    bool negative = false;
    DecimalText digits;
    std::size_t digit_count = 0;
    std::optional<std::size_t> digits_before_point;
    bool exponent_started = false;
    bool exponent_negative = false;
    bool exponent_has_digits = false;
    long exponent = 0;

    [[nodiscard]] bool empty() const {
        return !negative && digit_count == 0 && !digits_before_point && !exponent_started;
    }
};

enum class RealState { Start, Mantissa, ExponentSign, ExponentDigits };

bool scan_mantissa_char(char c, RealField& f, RealState& state) {
    if (is_digit(c)) {
        f.digits.push(c);
        ++f.digit_count;
    } else if (c == '.' && !f.digits_before_point) {
        f.digits_before_point = f.digit_count;
    } else if (f.digit_count > 0 && is_exponent_letter(c)) {
        f.exponent_started = true;
        state = RealState::ExponentSign;
    } else if (f.digit_count > 0 && (c == '+' || c == '-')) {
        // 1.5+2 is 1.5E+2: a sign right after the digits opens the exponent
        f.exponent_started = true;
        f.exponent_negative = c == '-';
        state = RealState::ExponentDigits;
    } else {
        return false;
    }
    return true;
}

bool scan_exponent_char(char c, RealField& f, RealState& state) {
    if (state == RealState::ExponentSign && (c == '+' || c == '-')) {
        f.exponent_negative = c == '-';
        state = RealState::ExponentDigits;
        return true;
    }
    if (!is_digit(c)) {
        return false;
    }
    state = RealState::ExponentDigits;
    f.exponent_has_digits = true;
    // Far beyond any 64-bit real already; saturating keeps it an int.
    constexpr long EXPONENT_LIMIT = 100000;
    f.exponent = std::min(f.exponent * 10 + (c - '0'), EXPONENT_LIMIT);
    return true;
}

// False where the field is not a number; `f` is then of no use. The field
// is filled in place: as a return value it would be copied, text and all.
bool scan_real_field(std::string_view field, RealField& f) {
    RealState state = RealState::Start;
    std::size_t i = 0;
    while (i < field.size() && is_leading_space(field[i])) {
        ++i;
    }
    for (; i < field.size(); ++i) {
        const char c = field[i];
        if (c == ' ') {
            continue;
        }
        if (state == RealState::Start) {
            state = RealState::Mantissa;
            if (c == '+' || c == '-') {
                f.negative = c == '-';
                continue;
            }
        }
        const bool taken =
            state == RealState::Mantissa ? scan_mantissa_char(c, f, state) : scan_exponent_char(c, f, state);
        if (!taken) {
            return false;
        }
    }
    return true;
}

// The field as nearly every file writes it: blanks, an optional sign, and
// digits with a point among them, nothing else. Such a field is already the
// number's own text and goes to the library as it stands; the rest is
// rebuilt from its parts first.
std::optional<double> parse_plain_decimal(std::string_view field) {
    std::size_t first = 0;
    while (first < field.size() && is_leading_space(field[first])) {
        ++first;
    }
    std::size_t end = field.size();
    while (end > first && field[end - 1] == ' ') {
        --end;
    }
    const bool plus = first < end && field[first] == '+';
    const bool minus = first < end && field[first] == '-';
    const std::size_t digits = plus || minus ? first + 1 : first;
    bool point = false;
    for (std::size_t i = digits; i < end; ++i) {
        if (field[i] == '.' && !point) {
            point = true;
        } else if (!is_digit(field[i])) {
            return std::nullopt;
        }
    }
    if (!point) {
        return std::nullopt;
    }
    // The library takes a minus sign but no plus sign.
    const char* text = field.data() + (plus ? digits : first);
    const char* last = field.data() + end;
    double value = 0.0;
    const auto result = std::from_chars(text, last, value, std::chars_format::fixed);
    if (result.ec != std::errc{} || result.ptr != last) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

void render_integer(std::int64_t value, std::span<char> out) {
    std::array<char, 24> digits;
    const auto result = std::to_chars(digits.begin(), digits.end(), value);
    write_right_justified({digits.data(), result.ptr}, out);
}

void render_fixed(double value, int decimals, std::span<char> out) {
    if (!std::isfinite(value)) {
        write_overflow_mark(out);
        return;
    }
    // Room for the 309 integer digits of the largest double and any decimals;
    // not zeroed, as only what to_chars writes is read.
    std::array<char, 320 + RECORD_CAPACITY> buffer;
    const auto result =
        std::to_chars(buffer.begin(), buffer.end() - 1, value, std::chars_format::fixed, decimals);
    char* end = result.ptr;
    if (decimals == 0) {
        *end++ = '.';
    }
    char* first = buffer.data();
    if (*first == '-' && is_rounded_zero({first, end})) {
        ++first;
    }
    // The 0 before the point is the first thing a narrow field gives up, but
    // only for a digit after the point: a field needs one digit at least.
    char* zero = *first == '-' ? first + 1 : first;
    if (static_cast<std::size_t>(end - first) > out.size() && decimals > 0 && zero[0] == '0' &&
        zero[1] == '.') {
        *zero = *first;  // a minus sign moves onto the zero; a zero stays
        ++first;
    }
    write_right_justified({first, end}, out);
}

void render_text(std::string_view text, std::span<char> out) {
    if (out.size() >= text.size()) {
        const auto blanks = static_cast<std::ptrdiff_t>(out.size() - text.size());
        std::fill(out.begin(), out.begin() + blanks, ' ');
        std::copy(text.begin(), text.end(), out.begin() + blanks);
    } else {
        std::copy_n(text.begin(), out.size(), out.begin());
    }
}

std::optional<std::int64_t> parse_integer(std::string_view field, std::int64_t min, std::int64_t max) {
    DecimalText number;
    bool sign_seen = false;
    std::size_t digit_count = 0;
    for (const char c : field) {
        if (c == ' ') {
            continue;
        }
        if ((c == '+' || c == '-') && !sign_seen && digit_count == 0) {
            sign_seen = true;
            if (c == '-') {
                number.push(c);
            }
        } else if (is_digit(c)) {
            number.push(c);
            ++digit_count;
        } else {
            return std::nullopt;
        }
    }
    if (digit_count == 0) {
        return sign_seen ? std::nullopt : std::optional<std::int64_t>(0);
    }
    std::int64_t value = 0;
    const std::string_view text = number.view();
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc{} || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parse_fixed(std::string_view field, int decimals) {
    if (const auto plain = parse_plain_decimal(field)) {
        return plain;
    }
    RealField f;
    if (!scan_real_field(field, f)) {
        return std::nullopt;
    }
    if (f.empty()) {
        return 0.0;
    }
    if (f.digit_count == 0 || (f.exponent_started && !f.exponent_has_digits)) {
        return std::nullopt;
    }
    // Without a point the last `decimals` digits are the decimals.
    const long fraction_digits =
        f.digits_before_point ? static_cast<long>(f.digit_count - *f.digits_before_point) : decimals;
    const long exponent = (f.exponent_negative ? -f.exponent : f.exponent) - fraction_digits;

    std::array<char, RECORD_CAPACITY + 32> text;  // only what is written is read
    char* end = text.data();
    if (f.negative) {
        *end++ = '-';
    }
    const std::string_view digits = f.digits.view();
    end = std::copy(digits.begin(), digits.end(), end);
    *end++ = 'e';
    end = std::to_chars(end, text.data() + text.size(), exponent).ptr;

    double value = 0.0;
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Below the smallest subnormal is zero; above the largest real, an error.
        const auto first_significant = digits.find_first_not_of('0');
        const auto significant = static_cast<long>(digits.size() - first_significant);
        if (exponent + significant - 1 >= 0) {
            return std::nullopt;
        }
        return f.negative ? -0.0 : 0.0;
    }
    return value;
}

void take_text(std::string_view field, std::size_t width, std::span<char> item) {
    const auto column = [&](std::size_t c) { return c < field.size() ? field[c] : ' '; };
    const std::size_t length = item.size();
    const std::size_t first = width >= length ? width - length : 0;
    for (std::size_t i = 0; i < length; ++i) {
        item[i] = first + i < width ? column(first + i) : ' ';
    }
}

}  // namespace velkoran
