#include "app/ScaleFactor.h"

#include "app/Version.h"
#include "ui/look/Scales.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace app {

namespace {

// 8 -> "8", 1.5 -> "1.5": the shortest text that reads back as the scale.
std::string scaleText(double scale)
{
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), scale);
    return std::string(text.data(), result.ptr);
}

} // namespace

std::optional<std::string> boundedScaleFactor(std::string_view value)
{
    double factor = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), factor);
    if (error != std::errc() || end != value.data() + value.size() || std::isnan(factor)) {
        return std::nullopt;
    }
    if (factor < ui::kSmallestScale) {
        return scaleText(ui::kSmallestScale);
    }
    if (factor > ui::kLargestScale) {
        return scaleText(ui::kLargestScale);
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
            "%s: QT_SCALE_FACTOR=%s is outside %s to %s, the scales the window is drawn for; using %s\n",
            std::string(kProgramName).c_str(), value, scaleText(ui::kSmallestScale).c_str(),
            scaleText(ui::kLargestScale).c_str(), bounded->c_str());
        setenv("QT_SCALE_FACTOR", bounded->c_str(), 1);
    }
}

} // namespace app
