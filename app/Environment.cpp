#include "app/Environment.h"

#include <cstdlib>

namespace app {

std::string environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

} // namespace app
