// Names for parameterised test cases that carry one (a `name` field): the name ends the test's
// name, so a failing case is found by what it is, not by its index.
//   INSTANTIATE_TEST_SUITE_P(Cases, Suite, ::testing::Values(...), TestSupport::caseName<Case>);
// Pair it with a PrintTo(const Case&, std::ostream*) that prints the name, so that messages and
// CTest's list show the name rather than a byte dump of the case.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace TestSupport {

template <class Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    return std::string(info.param.name);
}

} // namespace TestSupport
