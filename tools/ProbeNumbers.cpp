#include "tools/ProbeNumbers.h"

#include "calc/Exception.h"
#include "calc/NumberText.h"
#include "tools/GbkUtf8.h"
#include "tools/Hex20.h"

#include <charconv>
#include <istream>
#include <ostream>
#include <string>

namespace probe {
namespace {

std::string answerGeneral(std::string_view argument)
{
    const auto value = fromHex20(argument);
    return value ? calc::GeneralText(*value) : "! expected 20 hex digits";
}

std::string answerFixed(std::string_view arguments)
{
    const auto blank = arguments.find(' ');
    if (blank == std::string_view::npos) {
        return "! expected: F <P> <hex20>";
    }
    int digits = 0;
    const auto [end, error] = std::from_chars(arguments.data(), arguments.data() + blank, digits);
    const auto value = fromHex20(arguments.substr(blank + 1));
    if (error != std::errc{} || end != arguments.data() + blank || !value) {
        return "! expected: F <P> <hex20>";
    }
    return calc::FixedText(*value, digits);
}

std::string answerParse(std::string_view utf8Text)
{
    try {
        return "= " + toHex20(calc::ParseNumber(utf8ToGbk(utf8Text)));
    } catch (const calc::Exception& error) {
        return "! " + gbkToUtf8(error.message());
    }
}

std::string answer(std::string_view line)
{
    if (line == "P") {
        return answerParse({});
    }
    if (line.size() >= 2 && line[1] == ' ') {
        const std::string_view rest = line.substr(2);
        switch (line[0]) {
        case 'G': return answerGeneral(rest);
        case 'F': return answerFixed(rest);
        case 'P': return answerParse(rest);
        default: break;
        }
    }
    return "! unknown request";
}

} // namespace

int runNumbers(std::istream& in, std::ostream& out)
{
    std::string line;
    while (std::getline(in, line)) {
        out << answer(line) << '\n';
    }
    out.flush();
    return out ? 0 : 1;
}

} // namespace probe
