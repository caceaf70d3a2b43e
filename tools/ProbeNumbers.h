#pragma once

#include <iosfwd>

namespace probe {

// Answers one line per request line:
//   G <hex20>      -> GeneralText of the value
//   F <P> <hex20>  -> FixedText with digit budget P
//   P <text>       -> "= <hex20>" or "! <message>" (texts in UTF-8)
int runNumbers(std::istream& in, std::ostream& out);

} // namespace probe
