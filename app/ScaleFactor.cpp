#include "app/ScaleFactor.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace app {

std::optional<std::string> boundedScaleFactor(std::string_view value)
{
    double factor = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), factor);
    if (error != std::errc() || end != value.data() + value.size() || std::isnan(factor)) {
        return std::nullopt;
    }
    if (factor < kSmallestScale) {
        return "1";
    }
    if (factor > kLargestScale) {
        return "8";
    }
    return std::nullopt;
}

void boundScaleFactor()
{
    const char* value = std::getenv("QT_SCALE_FACTOR");
    if (!value) {
        return;
    }
    if (const auto bounded = boundedScaleFactor(value)) {
        std::fprintf(stderr,
            "qinghe-taxcalc: QT_SCALE_FACTOR=%s is outside 1 to 8, the scales the window is drawn for; using %s\n",
            value, bounded->c_str());
        setenv("QT_SCALE_FACTOR", bounded->c_str(), 1);
    }
}

} // namespace app
