#include "calc/Exception.h"

namespace calc {

EConvertError EConvertError::forText(std::string_view text)
{
    std::string message;
    message.reserve(text.size() + 40);
    message += '\'';
    message += text;
    message += "' is not a valid floating point value";
    return EConvertError(std::move(message));
}

} // namespace calc
