#pragma once

#include <array>
#include <cstddef>
#include <type_traits>

// Compile-time checks of tables with one row per value of an enum whose last
// enumerator is `Count` (calc::Key, calc::Hint). Each table states its size
// against the count in a static_assert of its own, whose message names the
// table, then its rows with one of these:
//   static_assert(kHints.size() == kHintCount, "kHints: a Hint without its text");
//   static_assert(rowsInEnumOrder(kHints, &HintRow::hint), "kHints: rows out of the order of Hint");
// A table of the right size whose rows pass is one row per value.
namespace calc {

// `value` is the row's member that names its value: &HintRow::hint.

// Row i is the row of value i, so the table can be indexed by the enum.
template <class Row, std::size_t N, class Member>
constexpr bool rowsInEnumOrder(const std::array<Row, N>& rows, Member value)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(rows[i].*value) != i) {
            return false;
        }
    }
    return true;
}

// No value has two rows; the rows may come in any order.
template <class Row, std::size_t N, class Member>
constexpr bool noValueTwice(const std::array<Row, N>& rows, Member value)
{
    using Enum = std::remove_cvref_t<decltype(rows[0].*value)>;
    std::array<bool, static_cast<std::size_t>(Enum::Count)> seen{};
    for (const Row& row : rows) {
        const auto i = static_cast<std::size_t>(row.*value);
        if (i >= seen.size() || seen[i]) {
            return false;
        }
        seen[i] = true;
    }
    return true;
}

} // namespace calc
