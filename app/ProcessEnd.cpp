#include "app/ProcessEnd.h"

#include "ui/platform/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace app {

void endWhereTeardownMayHang(int status)
{
    if (!ui::platform::teardownMayHang()) {
        return;
    }
    // _Exit flushes nothing: what Qt or the program left in a buffer goes out
    // first.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace app
