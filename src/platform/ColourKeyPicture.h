#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The colour-key pictures (button pick silhouettes): Windows BMP files read by a small reader of our own,
// so that a damaged file can only ever give an error, and the silhouette made from them.

// A picture as 8-bit red, green, blue triples, rows from the bottom of the image upward.
struct RgbPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// Largest width or height a picture may have.
constexpr int32_t kMaxPictureSide = 4096;

// Decodes an uncompressed BMP (1, 4, 8, 16, 24 or 32 bits per pixel, rows stored either way up) or one
// with 8- or 4-bit run-length compression. On failure returns none and, when error is given, says why.
std::optional<RgbPicture> DecodeBmp(const uint8_t* data, size_t size, std::string* error = nullptr);

// Reads and decodes the BMP file at a game path; none (with the reason in error) when it cannot.
std::optional<RgbPicture> ReadBmpFile(const std::string& gamePath, std::string* error = nullptr);

// The silhouette of a colour-key picture as red, green, blue, alpha bytes: pixels of the key colour (the
// colour of the first pixel) become transparent, every other pixel the opaque colour packed as
// red * 1000000 + green * 1000 + blue.
std::vector<uint8_t> ColourKeySilhouette(const RgbPicture& picture, int32_t packedColour);
