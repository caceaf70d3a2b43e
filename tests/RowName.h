#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <type_traits>

// Names the rows of a parameterised test after themselves, never after their
// bytes: Rows/Flows.ShowTheResult/Third. A row is named by its `name`, a row
// that is a name (a golden script's) by itself, a number (a random seed) as
// Seed<n>. Every instantiation is called Rows, and suites are named after
// what they check, with no Test suffix:
//   INSTANTIATE_TEST_SUITE_P(Rows, Flows, testing::Values(...), RowName());
struct RowName {
    template <class Row>
    std::string operator()(const testing::TestParamInfo<Row>& info) const
    {
        if constexpr (std::is_convertible_v<const Row&, std::string_view>) {
            return std::string(std::string_view(info.param));
        } else if constexpr (std::is_integral_v<Row>) {
            return "Seed" + std::to_string(info.param);
        } else {
            return std::string(info.param.name);
        }
    }
};
