#pragma once

#include <string>
#include <string_view>

namespace probe {

// Code page 936 -> UTF-8, strictly left to right: a lead byte whose next
// byte is no trail byte becomes U+FFFD and that next byte is read again.
std::string gbkToUtf8(std::string_view gbk);
// UTF-8 -> code page 936; a character the code page lacks becomes '?'.
std::string utf8ToGbk(std::string_view utf8);

} // namespace probe
