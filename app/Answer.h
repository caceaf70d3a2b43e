#pragma once

#include <string_view>

namespace app {

// Standard output kept for the program's answer (the picked number, the
// tape), as a caller's `$(...)` reads it: while an Answer lives, whatever
// else writes to standard output, Qt, a plugin or a library, writes to
// standard error instead.
class Answer {
public:
    Answer();
    ~Answer();
    Answer(const Answer&) = delete;
    Answer& operator=(const Answer&) = delete;

    // Writes to the real standard output. False where it could not be
    // written whole (closed, a full disk, a reader gone).
    bool write(std::string_view text);

private:
    int output_ = -1;
};

} // namespace app
