// Compiled by the tests with one LAYOUT_CASE_ defined: only the accepted
// case may build.
#include <cstdint>

#include "records/layout.h"

namespace velkoran {

template <class... Items>
constexpr bool builds(InputLayout<Items...> /*layout*/, const Items&... /*items*/) {
    return true;
}
template <class... Items>
constexpr bool builds_output(OutputLayout<Items...> /*layout*/, const Items&... /*items*/) {
    return true;
}

constexpr std::int32_t number = 0;
constexpr double real = 0;
constexpr Text<19> text{};

#if defined(LAYOUT_CASE_accepted)
static_assert(builds("(I4, 2X, A19, F8.4)", number, text, real));
static_assert(builds_output(R"(("N = ", I3, $))", number));
#elif defined(LAYOUT_CASE_syntax)
static_assert(builds("(I4, 2X, A19, F8.4", number, text, real));
#elif defined(LAYOUT_CASE_kind)
static_assert(builds("(I4, 2X, A19, F8.4)", number, text, number));
#elif defined(LAYOUT_CASE_count)
static_assert(builds("(I4, 2X, A19, F8.4)", number, text));
#elif defined(LAYOUT_CASE_literal_in_input)
static_assert(builds(R"(("N = ", I3))", number));
#elif defined(LAYOUT_CASE_too_long)
static_assert(builds_output("(200X, 100X)"));
#endif

}  // namespace velkoran
