#pragma once

#include <string>

namespace app {

// The value of the environment variable `name`; "" where it is not set, as
// the C library and Qt take an empty variable for one not set.
std::string environmentValue(const char* name);

} // namespace app
