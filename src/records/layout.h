// Record layouts in the fixed-column field notation, e.g. "(I4, 2X, A19, $)".
//
// A layout is written once, as text, at the place that reads or writes the
// record. It is parsed while the program compiles, and checked against the
// items passed with it: a syntax error, a field whose kind does not fit its
// item, or a count of fields that differs from the count of items does not
// build.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace velkoran {

template <std::size_t L>
using Text = std::array<char, L>;

template <std::size_t L>
constexpr std::string_view view_of(const Text<L>& text) {
    return {text.data(), L};
}

enum class ItemKind : std::uint8_t { Int32, Int64, Real64, Text };

enum class ElementKind : std::uint8_t { Integer, Real, Text, Blanks, Literal, RecordBreak };

// Kept small, a literal being an offset rather than a pointer: a layout
// written in the call is built afresh for every record, at a cost in
// proportion to its size.
struct Element {
    ElementKind kind{};
    std::uint8_t decimals = 0;  // Real only
    std::uint16_t width = 0;    // columns; for a literal its length
    std::uint32_t literal = 0;  // where a literal starts in the layout's text

    [[nodiscard]] constexpr bool is_data_field() const {
        return kind == ElementKind::Integer || kind == ElementKind::Real || kind == ElementKind::Text;
    }
};

inline constexpr std::size_t MAX_LAYOUT_ELEMENTS = 32;
// No layout of the system needs more columns than this in one record; a
// layout that would is rejected when it is compiled, so records live in
// fixed buffers and no record costs an allocation.
inline constexpr std::size_t RECORD_CAPACITY = 256;

struct Layout {
    std::array<Element, MAX_LAYOUT_ELEMENTS> elements{};
    std::size_t count = 0;
    bool keeps_line_open = false;  // closing `$`
    const char* text = nullptr;    // the layout as written, literals and all

    [[nodiscard]] constexpr const Element* begin() const { return elements.data(); }
    [[nodiscard]] constexpr const Element* end() const { return elements.data() + count; }
    [[nodiscard]] constexpr std::string_view literal_text(const Element& literal) const {
        return {text + literal.literal, literal.width};
    }
};

// Called only where a layout is malformed: being neither constexpr nor
// defined, each turns the mistake into a compile error that names it.
void layout_syntax_error();
void layout_has_too_many_elements();
void layout_record_is_too_long();
void layout_field_does_not_fit_its_item();
void layout_field_count_differs_from_item_count();
void layout_is_not_an_input_layout();

namespace layout_parsing {

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

class Parser {
public:
    explicit constexpr Parser(std::string_view text) : text_(text) { layout_.text = text.data(); }

    constexpr Layout parse() {
        skip_blanks();
        expect('(');
        skip_blanks();
        if (peek() != ')') {
            parse_element_list();
        }
        expect(')');
        skip_blanks();
        if (pos_ != text_.size()) {
            layout_syntax_error();
        }
        return layout_;
    }

private:
    constexpr void parse_element_list() {
        for (;;) {
            skip_blanks();
            parse_element();
            skip_blanks();
            if (peek() != ',') {
                return;
            }
            ++pos_;
        }
    }

    constexpr void parse_element() {
        if (layout_.keeps_line_open) {
            layout_syntax_error();  // `$` closes the layout
        }
        const char c = peek();
        if (c == '/') {
            while (peek() == '/') {
                ++pos_;
                add({.kind = ElementKind::RecordBreak});
            }
        } else if (c == '$') {
            ++pos_;
            layout_.keeps_line_open = true;
        } else if (c == '"') {
            parse_literal();
        } else {
            parse_field();
        }
    }

    constexpr void parse_literal() {
        ++pos_;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            ++pos_;
        }
        expect('"');
        const std::size_t length = pos_ - 1 - start;
        if (length > 0) {
            add({.kind = ElementKind::Literal,
                 .width = static_cast<std::uint16_t>(length),
                 .literal = static_cast<std::uint32_t>(start)});
        }
    }

    constexpr void parse_field() {
        const bool has_count = is_digit(peek());
        const unsigned count = has_count ? number() : 1;
        const char letter = peek();
        ++pos_;
        if (letter == 'X') {
            if (!has_count) {
                layout_syntax_error();
            }
            add({.kind = ElementKind::Blanks, .width = static_cast<std::uint16_t>(count)});
            return;
        }
        Element field;
        if (letter == 'I') {
            field.kind = ElementKind::Integer;
        } else if (letter == 'F') {
            field.kind = ElementKind::Real;
        } else if (letter == 'A') {
            field.kind = ElementKind::Text;
        } else {
            layout_syntax_error();
        }
        field.width = static_cast<std::uint16_t>(number());
        if (field.kind == ElementKind::Real) {
            expect('.');
            field.decimals = static_cast<std::uint8_t>(number());
            if (field.decimals >= field.width) {
                layout_syntax_error();
            }
        }
        if (count == 0 || field.width == 0) {
            layout_syntax_error();
        }
        for (unsigned i = 0; i < count; ++i) {
            add(field);
        }
    }

    constexpr unsigned number() {
        if (!is_digit(peek())) {
            layout_syntax_error();
        }
        unsigned value = 0;
        while (is_digit(peek())) {
            value = value * 10 + static_cast<unsigned>(text_[pos_++] - '0');
            if (value > RECORD_CAPACITY) {
                layout_record_is_too_long();
            }
        }
        return value;
    }

    constexpr void add(const Element& element) {
        if (layout_.count == MAX_LAYOUT_ELEMENTS) {
            layout_has_too_many_elements();
        }
        layout_.elements[layout_.count++] = element;
    }

    constexpr void expect(char c) {
        if (peek() != c) {
            layout_syntax_error();
        }
        ++pos_;
    }

    [[nodiscard]] constexpr char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    constexpr void skip_blanks() {
        while (peek() == ' ') {
            ++pos_;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    Layout layout_;
};

constexpr void check_record_lengths(const Layout& layout) {
    std::size_t columns = 0;
    for (const Element& element : layout) {
        columns = element.kind == ElementKind::RecordBreak ? 0 : columns + element.width;
        if (columns > RECORD_CAPACITY) {
            layout_record_is_too_long();
        }
    }
}

}  // namespace layout_parsing

template <class T>
struct ItemTraits;
template <>
struct ItemTraits<std::int32_t> {
    static constexpr ItemKind kind = ItemKind::Int32;
    static constexpr std::size_t length = 0;
};
template <>
struct ItemTraits<std::int64_t> {
    static constexpr ItemKind kind = ItemKind::Int64;
    static constexpr std::size_t length = 0;
};
template <>
struct ItemTraits<double> {
    static constexpr ItemKind kind = ItemKind::Real64;
    static constexpr std::size_t length = 0;
};
template <std::size_t L>
struct ItemTraits<Text<L>> {
    static constexpr ItemKind kind = ItemKind::Text;
    static constexpr std::size_t length = L;
};
// One character is a text of length 1, so `10A1` can take ten of them.
template <>
struct ItemTraits<char> {
    static constexpr ItemKind kind = ItemKind::Text;
    static constexpr std::size_t length = 1;
};

constexpr bool field_fits_item(ElementKind field, ItemKind item) {
    switch (field) {
    case ElementKind::Integer:
        return item == ItemKind::Int32 || item == ItemKind::Int64;
    case ElementKind::Real:
        return item == ItemKind::Real64;
    case ElementKind::Text:
        return item == ItemKind::Text;
    default:
        return false;
    }
}

enum class Direction : std::uint8_t { Input, Output };

// A layout that has been parsed and checked against the kinds of Items; it
// is built from a string literal at compile time only.
template <Direction D, class... Items>
class CheckedLayout {
public:
    template <std::size_t N>
    consteval CheckedLayout(const char (&text)[N])  // NOLINT(google-explicit-constructor)
        : layout_(layout_parsing::Parser({text, N - 1}).parse()) {
        layout_parsing::check_record_lengths(layout_);
        check_items();
        if (D == Direction::Input) {
            check_input_only();
        }
    }

    [[nodiscard]] constexpr const Layout& layout() const { return layout_; }

private:
    consteval void check_items() const {
        constexpr std::array<ItemKind, sizeof...(Items)> kinds{ItemTraits<Items>::kind...};
        std::size_t item = 0;
        for (const Element& element : layout_) {
            if (!element.is_data_field()) {
                continue;
            }
            if (item == kinds.size()) {
                layout_field_count_differs_from_item_count();
            }
            if (!field_fits_item(element.kind, kinds[item++])) {
                layout_field_does_not_fit_its_item();
            }
        }
        if (item != kinds.size()) {
            layout_field_count_differs_from_item_count();
        }
    }

    consteval void check_input_only() const {
        if (layout_.keeps_line_open) {
            layout_is_not_an_input_layout();
        }
        for (const Element& element : layout_) {
            if (element.kind == ElementKind::Literal) {
                layout_is_not_an_input_layout();
            }
        }
    }

    Layout layout_;
};

template <class... Items>
using InputLayout = CheckedLayout<Direction::Input, std::type_identity_t<Items>...>;
template <class... Items>
using OutputLayout = CheckedLayout<Direction::Output, std::type_identity_t<Items>...>;

}  // namespace velkoran
