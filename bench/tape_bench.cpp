// The core's cost per key as the tape grows, and its memory per tape line.
// Repeated equals on "1 + 1" writes five lines a calculation; the tape
// reaches 5,000,000 lines after 1,000,000 calculations.
#include "key_cost.h"

#include "calc/Calculator.h"

#include <malloc.h>

#include <memory>

namespace {

std::unique_ptr<calc::Calculator> startedCalculator()
{
    auto c = std::make_unique<calc::Calculator>();
    c->FormShow();
    for (const calc::Key key : {calc::Key::D1, calc::Key::Add, calc::Key::D1, calc::Key::Equal}) {
        c->press(key);
    }
    return c;
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

} // namespace

int main()
{
    const std::size_t heapBefore = heapInUse();
    auto c = startedCalculator();
    bench::printKeyCostTable(
        "core", startedCalculator, [](calc::Calculator& calc) { calc.press(calc::Key::Equal); },
        [](const calc::Calculator& calc) { return calc.tape().count(); });
    std::printf("(goal for the core: under 20 us per key)\n");

    while (c->tape().count() < 5'000'000) {
        c->press(calc::Key::Equal);
    }
    const std::size_t lines = c->tape().count();
    const double heapPerLine = static_cast<double>(heapInUse() - heapBefore) / static_cast<double>(lines);
    const double storePerLine = static_cast<double>(c->tape().memoryBytes()) / static_cast<double>(lines);
    std::printf("memory at %zu lines: %.1f bytes per line on the heap, %.1f held by the tape "
                "(goal <= 40)\n",
        lines, heapPerLine, storePerLine);
    return 0;
}
