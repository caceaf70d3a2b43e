#include "app/Answer.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

namespace app {

Answer::Answer()
{
    std::cout.flush();
    std::fflush(stdout);
    output_ = ::dup(STDOUT_FILENO);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
}

Answer::~Answer()
{
    // What others left in the buffers belongs to standard error still.
    std::cout.flush();
    std::fflush(stdout);
    if (output_ >= 0) {
        ::dup2(output_, STDOUT_FILENO);
        ::close(output_);
    }
}

bool Answer::write(std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(output_, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace app
