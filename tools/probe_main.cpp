// calc-probe: replays number conversions on the calculator core.
//   calc-probe numbers < requests
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
    std::cerr << "usage: calc-probe numbers\n";
    return 2;
}
