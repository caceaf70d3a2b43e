#pragma once

#include <iosfwd>

namespace probe {

enum class KeysFormat {
    // One JSON object per token (JSON Lines, UTF-8).
    Json,
    // The form of the golden scripts' .expected files, every field.
    Golden,
};

// Replays a key script (tools/KeyScript.h) on a fresh calculator and writes
// the state after every token. An unknown token: message on `err`, result 2.
int runKeys(std::istream& in, std::ostream& out, std::ostream& err, KeysFormat format);

} // namespace probe
