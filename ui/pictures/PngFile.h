#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace png {

// width x height pixels, rows top-down, four bytes a pixel (red, green, blue,
// straight alpha) -> the bytes of an 8-bit RGBA PNG file. The image data is
// kept in stored (uncompressed) deflate blocks: no zlib needed, and the same
// pixels always give the same bytes.
std::string pngFile(int width, int height, const std::vector<std::uint8_t>& rgba);

} // namespace png
