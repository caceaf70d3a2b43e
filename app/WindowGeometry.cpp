#include "app/WindowGeometry.h"

#include <charconv>

namespace app {
namespace {

// Reads "{+-}DIGITS" at the front of `text`: the sign and the number.
std::optional<std::pair<bool, int>> readOffset(std::string_view& text)
{
    if (text.empty() || (text.front() != '+' && text.front() != '-')) {
        return std::nullopt;
    }
    const bool fromFarEdge = text.front() == '-';
    int value = 0;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() + 1) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return std::pair{fromFarEdge, value};
}

} // namespace

std::optional<QPoint> requestedPlace(std::string_view geometry, QSize window, const QRect& available)
{
    if (geometry.starts_with('=')) {
        geometry.remove_prefix(1);
    }
    // The size, which a window of fixed size does not take.
    const auto place = geometry.find_first_of("+-");
    if (place == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view size = geometry.substr(0, place);
    if (!size.empty() && size.find_first_not_of("0123456789xX") != std::string_view::npos) {
        return std::nullopt;
    }
    geometry.remove_prefix(place);
    const auto x = readOffset(geometry);
    const auto y = readOffset(geometry);
    if (!x || !y || !geometry.empty()) {
        return std::nullopt;
    }
    const int left = x->first ? available.right() + 1 - x->second - window.width() : available.left() + x->second;
    const int top = y->first ? available.bottom() + 1 - y->second - window.height() : available.top() + y->second;
    return QPoint(left, top);
}

} // namespace app
