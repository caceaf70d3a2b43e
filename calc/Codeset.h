#pragma once

#include "calc/CFree.h"

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace calc {

// One conversion between two codesets by the C library's iconv, opened once
// and used for any number of texts: the tape's code page 936 for the probe,
// the command line's texts for a terminal of a legacy codeset.
//   Conversion("GB2312", "UTF-8")("用法") -> "\xD3\xC3\xB7\xA8"
class Conversion {
public:
    Conversion(const char* to, const char* from);

    // False where the C library knows one of the two codesets not.
    bool isOpen() const { return handle_ != nullptr; }

    // `text` whole in the target codeset; nothing where the conversion is not
    // open, `text` is not of the source codeset, or the target cannot write
    // one of its characters.
    std::optional<std::string> operator()(std::string_view text);

private:
    CHandle<void, &iconv_close> handle_;
};

} // namespace calc
