#include "platform/ColourKeyPicture.h"

#include "platform/Paths.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

// The largest BMP file read; the pick silhouettes are a few hundred kilobytes.
constexpr size_t maxFileSize = 64u << 20;

constexpr uint32_t compressionNone = 0;
constexpr uint32_t compressionRle8 = 1;
constexpr uint32_t compressionRle4 = 2;
constexpr uint32_t compressionBitfields = 3;

uint32_t Read16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

uint32_t Read32(const uint8_t* p) {
    return Read16(p) | Read16(p + 2) << 16;
}

bool Fail(std::string* error, const std::string& text) {
    if (error != nullptr) {
        *error = text;
    }
    return false;
}

// Extracts a channel of a packed pixel through its mask, scaled to 8 bits.
uint8_t MaskedChannel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) {
        ++shift;
    }
    const uint32_t max = mask >> shift;
    const uint32_t value = (pixel & mask) >> shift;
    return static_cast<uint8_t>(static_cast<uint64_t>(value) * 255u / max);
}

struct Header {
    int32_t width = 0;
    int32_t height = 0;
    bool topDown = false;
    uint32_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t pixelOffset = 0;
    uint32_t masks[3] = {0x00ff0000u, 0x0000ff00u, 0x000000ffu};
    std::vector<uint8_t> palette; // blue, green, red triples
};

bool ReadHeader(const uint8_t* data, size_t size, Header& header, std::string* error) {
    if (size < 26 || data[0] != 'B' || data[1] != 'M') {
        return Fail(error, "not a BMP file");
    }
    header.pixelOffset = Read32(data + 10);
    const uint32_t infoSize = Read32(data + 14);
    if (infoSize < 12 || infoSize > size - 14) {
        return Fail(error, "damaged BMP header");
    }
    const uint8_t* info = data + 14;
    size_t paletteEntrySize = 4;
    int64_t height = 0;
    if (infoSize == 12) {
        header.width = static_cast<int32_t>(Read16(info + 4));
        height = static_cast<int16_t>(Read16(info + 6));
        header.bitCount = Read16(info + 10);
        paletteEntrySize = 3;
    } else {
        if (infoSize < 40) {
            return Fail(error, "damaged BMP header");
        }
        header.width = static_cast<int32_t>(Read32(info + 4));
        height = static_cast<int32_t>(Read32(info + 8));
        header.bitCount = Read16(info + 14);
        header.compression = Read32(info + 16);
    }
    header.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (header.width <= 0 || height <= 0 || header.width > kMaxPictureSide || height > kMaxPictureSide) {
        return Fail(error, "BMP size out of range");
    }
    header.height = static_cast<int32_t>(height);

    const uint32_t bits = header.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return Fail(error, "unsupported BMP depth " + std::to_string(bits));
    }
    const uint32_t compression = header.compression;
    const bool rleFits = (compression == compressionRle8 && bits == 8) || (compression == compressionRle4 && bits == 4);
    const bool fieldsFit = compression == compressionBitfields && (bits == 16 || bits == 32);
    if (compression != compressionNone && !rleFits && !fieldsFit) {
        return Fail(error, "unsupported BMP compression " + std::to_string(compression));
    }
    if (bits == 16 && compression == compressionNone) {
        header.masks[0] = 0x7c00u;
        header.masks[1] = 0x03e0u;
        header.masks[2] = 0x001fu;
    }
    if (fieldsFit) {
        // The masks follow a 40-byte header, or are part of a longer one.
        if (size < 14 + 40 + 12) {
            return Fail(error, "damaged BMP header");
        }
        for (int i = 0; i < 3; ++i) {
            header.masks[i] = Read32(info + 40 + 4 * i);
        }
    }

    if (bits <= 8) {
        uint32_t colours = infoSize >= 40 ? Read32(info + 32) : 0;
        const uint32_t fullPalette = 1u << bits;
        if (colours == 0 || colours > fullPalette) {
            colours = fullPalette;
        }
        size_t start = 14 + infoSize;
        if (compression == compressionBitfields) {
            start += 12;
        }
        if (start > size || (size - start) / paletteEntrySize < colours) {
            return Fail(error, "BMP palette cut short");
        }
        header.palette.resize(static_cast<size_t>(fullPalette) * 3, 0);
        for (uint32_t i = 0; i < colours; ++i) {
            const uint8_t* entry = data + start + i * paletteEntrySize;
            header.palette[i * 3] = entry[0];
            header.palette[i * 3 + 1] = entry[1];
            header.palette[i * 3 + 2] = entry[2];
        }
    }
    if (header.pixelOffset >= size) {
        return Fail(error, "BMP pixel data missing");
    }
    return true;
}

// Stores the palette colour of index at the pixel (x, row counted from the bottom).
void PutPaletteColour(const Header& header, RgbPicture& picture, int32_t x, int32_t row, uint32_t index) {
    const uint8_t* colour = header.palette.data() + static_cast<size_t>(index) * 3;
    uint8_t* out = picture.pixels.data() + (static_cast<size_t>(row) * static_cast<size_t>(picture.width) +
                                            static_cast<size_t>(x)) * 3;
    out[0] = colour[2];
    out[1] = colour[1];
    out[2] = colour[0];
}

bool DecodeUncompressed(const uint8_t* data, size_t size, const Header& header, RgbPicture& picture,
                        std::string* error) {
    const uint64_t rowBytes = (static_cast<uint64_t>(header.width) * header.bitCount + 31) / 32 * 4;
    const uint64_t needed = rowBytes * static_cast<uint64_t>(header.height);
    if (needed > size - header.pixelOffset) {
        return Fail(error, "BMP pixel data cut short");
    }
    picture.pixels.assign(static_cast<size_t>(header.width) * static_cast<size_t>(header.height) * 3, 0);
    for (int32_t stored = 0; stored < header.height; ++stored) {
        const uint8_t* in = data + header.pixelOffset + static_cast<size_t>(rowBytes) * static_cast<size_t>(stored);
        const int32_t row = header.topDown ? header.height - 1 - stored : stored;
        uint8_t* out = picture.pixels.data() + static_cast<size_t>(row) * static_cast<size_t>(header.width) * 3;
        for (int32_t x = 0; x < header.width; ++x, out += 3) {
            switch (header.bitCount) {
            case 1:
            case 4:
            case 8: {
                const uint32_t bits = header.bitCount;
                const uint32_t bitIndex = static_cast<uint32_t>(x) * bits;
                const uint32_t byte = in[bitIndex / 8];
                const uint32_t index = (byte >> (8 - bits - bitIndex % 8)) & ((1u << bits) - 1);
                PutPaletteColour(header, picture, x, row, index);
                break;
            }
            case 16: {
                const uint32_t pixel = Read16(in + x * 2);
                out[0] = MaskedChannel(pixel, header.masks[0]);
                out[1] = MaskedChannel(pixel, header.masks[1]);
                out[2] = MaskedChannel(pixel, header.masks[2]);
                break;
            }
            case 24:
                out[0] = in[x * 3 + 2];
                out[1] = in[x * 3 + 1];
                out[2] = in[x * 3];
                break;
            default: {
                const uint32_t pixel = Read32(in + x * 4);
                out[0] = MaskedChannel(pixel, header.masks[0]);
                out[1] = MaskedChannel(pixel, header.masks[1]);
                out[2] = MaskedChannel(pixel, header.masks[2]);
                break;
            }
            }
        }
    }
    return true;
}

// Run-length compressed 8- or 4-bit pixels; runs that leave the picture are cut at its edge, and
// pixels the data never reaches keep palette colour 0.
bool DecodeRunLength(const uint8_t* data, size_t size, const Header& header, RgbPicture& picture,
                     std::string* error) {
    picture.pixels.assign(static_cast<size_t>(header.width) * static_cast<size_t>(header.height) * 3, 0);
    for (int32_t row = 0; row < header.height; ++row) {
        for (int32_t x = 0; x < header.width; ++x) {
            PutPaletteColour(header, picture, x, row, 0);
        }
    }
    const bool four = header.compression == compressionRle4;
    int32_t x = 0;
    int32_t stored = 0;
    auto put = [&](uint32_t index) {
        if (x < header.width && stored < header.height) {
            const int32_t row = header.topDown ? header.height - 1 - stored : stored;
            PutPaletteColour(header, picture, x, row, index);
        }
        ++x;
    };
    size_t at = header.pixelOffset;
    while (at + 1 < size && stored < header.height) {
        const uint32_t count = data[at];
        const uint32_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (uint32_t i = 0; i < count && x < header.width; ++i) {
                put(four ? ((i % 2 == 0) ? value >> 4 : value & 15u) : value);
            }
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++stored;
        } else if (value == 1) { // end of picture
            return true;
        } else if (value == 2) { // move
            if (at + 1 >= size) {
                break;
            }
            x += data[at];
            stored += data[at + 1];
            at += 2;
        } else { // a literal run
            const uint32_t bytes = four ? (value + 1) / 2 : value;
            const size_t padded = (bytes + 1) / 2 * 2;
            if (padded > size - at) {
                return Fail(error, "BMP pixel data cut short");
            }
            for (uint32_t i = 0; i < value && x < header.width; ++i) {
                const uint32_t byte = data[at + (four ? i / 2 : i)];
                put(four ? ((i % 2 == 0) ? byte >> 4 : byte & 15u) : byte);
            }
            at += padded;
        }
    }
    return true;
}

} // namespace

std::optional<RgbPicture> DecodeBmp(const uint8_t* data, size_t size, std::string* error) {
    Header header;
    if (!ReadHeader(data, data != nullptr ? size : 0, header, error)) {
        return std::nullopt;
    }
    RgbPicture picture;
    picture.width = header.width;
    picture.height = header.height;
    const bool runLength = header.compression == compressionRle8 || header.compression == compressionRle4;
    const bool ok = runLength ? DecodeRunLength(data, size, header, picture, error)
                              : DecodeUncompressed(data, size, header, picture, error);
    if (!ok) {
        return std::nullopt;
    }
    return picture;
}

std::optional<RgbPicture> ReadBmpFile(const std::string& gamePath, std::string* error) {
    std::ifstream file(NativePath(gamePath), std::ios::binary);
    if (!file) {
        Fail(error, "cannot open " + gamePath);
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    char buffer[65536];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + file.gcount());
        if (bytes.size() > maxFileSize) {
            Fail(error, gamePath + " is too large for a picture");
            return std::nullopt;
        }
    }
    std::optional<RgbPicture> picture = DecodeBmp(bytes.data(), bytes.size(), error);
    if (!picture && error != nullptr) {
        *error = gamePath + ": " + *error;
    }
    return picture;
}

std::vector<uint8_t> ColourKeySilhouette(const RgbPicture& picture, int32_t packedColour) {
    const uint8_t red = static_cast<uint8_t>(packedColour / 1000000);
    const uint8_t green = static_cast<uint8_t>((packedColour / 1000) % 1000);
    const uint8_t blue = static_cast<uint8_t>(packedColour % 1000);
    const size_t count = picture.pixels.size() / 3;
    std::vector<uint8_t> rgba(count * 4);
    if (count == 0) {
        return rgba;
    }
    const uint8_t* key = picture.pixels.data();
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* in = picture.pixels.data() + i * 3;
        uint8_t* out = rgba.data() + i * 4;
        if (in[0] == key[0] && in[1] == key[1] && in[2] == key[2]) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 0;
        } else {
            out[0] = red;
            out[1] = green;
            out[2] = blue;
            out[3] = 255;
        }
    }
    return rgba;
}
