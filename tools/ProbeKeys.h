#pragma once

#include <iosfwd>

namespace probe {

// Replays a key script (tokens separated by blanks or newlines) on a fresh
// calculator and writes one JSON object per token (JSON Lines, UTF-8).
// An unknown token: message on `err`, result 2.
int runKeys(std::istream& in, std::ostream& out, std::ostream& err);

} // namespace probe
