// calc-probe: replays number conversions and key scripts on the calculator core.
//   calc-probe numbers < requests
//   calc-probe keys < script
#include "ProbeKeys.h"
#include "ProbeNumbers.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
    if (argc == 2 && std::strcmp(argv[1], "numbers") == 0) {
        return probe::runNumbers(std::cin, std::cout);
    }
    if (argc == 2 && std::strcmp(argv[1], "keys") == 0) {
        return probe::runKeys(std::cin, std::cout, std::cerr);
    }
    std::cerr << "usage: calc-probe numbers | calc-probe keys\n";
    return 2;
}
