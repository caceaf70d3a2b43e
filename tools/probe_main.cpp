// calc-probe: replays number conversions and key scripts on the calculator core.
//   calc-probe numbers < requests
//   calc-probe keys < script      (JSON Lines)
//   calc-probe golden < script    (the golden scripts' form)
#include "tools/ProbeKeys.h"
#include "tools/ProbeNumbers.h"

#include <iostream>
#include <string_view>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
    const std::string_view mode = argc == 2 ? argv[1] : "";
    if (mode == "numbers") {
        return probe::runNumbers(std::cin, std::cout);
    }
    if (mode == "keys") {
        return probe::runKeys(std::cin, std::cout, std::cerr, probe::KeysFormat::Json);
    }
    if (mode == "golden") {
        return probe::runKeys(std::cin, std::cout, std::cerr, probe::KeysFormat::Golden);
    }
    std::cerr << "usage: calc-probe numbers | calc-probe keys | calc-probe golden\n";
    return 2;
}
