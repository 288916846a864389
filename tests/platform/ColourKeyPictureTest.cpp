#include "platform/ColourKeyPicture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Put16(std::vector<uint8_t>& bytes, uint32_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
    Put16(bytes, value & 0xffffu);
    Put16(bytes, value >> 16);
}

// A BMP file with a 40-byte header, the palette (blue, green, red, 0 quads) and the pixel bytes as given.
std::vector<uint8_t> Bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                         const std::vector<uint8_t>& palette, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> bytes = {'B', 'M'};
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size());
    Put32(bytes, offset + static_cast<uint32_t>(pixels.size()));
    Put32(bytes, 0);
    Put32(bytes, offset);
    Put32(bytes, 40);
    Put32(bytes, static_cast<uint32_t>(width));
    Put32(bytes, static_cast<uint32_t>(height));
    Put16(bytes, 1);
    Put16(bytes, bits);
    Put32(bytes, compression);
    Put32(bytes, static_cast<uint32_t>(pixels.size()));
    Put32(bytes, 2835);
    Put32(bytes, 2835);
    Put32(bytes, static_cast<uint32_t>(palette.size() / 4));
    Put32(bytes, 0);
    bytes.insert(bytes.end(), palette.begin(), palette.end());
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
}

// The red, green, blue bytes of pixel (x, y), y counted from the bottom.
std::vector<uint8_t> Pixel(const RgbPicture& picture, int32_t x, int32_t y) {
    const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)) * 3;
    return {picture.pixels[at], picture.pixels[at + 1], picture.pixels[at + 2]};
}

using Rgb = std::vector<uint8_t>;

} // namespace

TEST(ColourKeyPicture, ReadsEveryDepthAndBothRowOrders) {
    // 24 bits, 3 x 2, bottom row first, rows padded to 12 bytes.
    const std::vector<uint8_t> rows24 = {
        0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0,      // bottom: red, green, blue
        255, 255, 255, 0, 0, 0, 10, 20, 30, 0, 0, 0}; // top: white, black, (30, 20, 10)
    const std::vector<uint8_t> file24 = Bmp(3, 2, 24, 0, {}, rows24);
    std::optional<RgbPicture> picture = DecodeBmp(file24.data(), file24.size());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 3);
    EXPECT_EQ(picture->height, 2);
    EXPECT_EQ(Pixel(*picture, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(Pixel(*picture, 2, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(Pixel(*picture, 2, 1), (Rgb{30, 20, 10}));

    // 32 bits stored top row first (negative height): the rows come out bottom first all the same.
    const std::vector<uint8_t> rows32 = {0, 0, 255, 0, 0, 255, 0, 0};
    const std::vector<uint8_t> topDown = Bmp(1, -2, 32, 0, {}, rows32);
    picture = DecodeBmp(topDown.data(), topDown.size());
    ASSERT_TRUE(picture);
    EXPECT_EQ(Pixel(*picture, 0, 1), (Rgb{255, 0, 0})) << "the first stored row is the top";
    EXPECT_EQ(Pixel(*picture, 0, 0), (Rgb{0, 255, 0}));

    // 8 bits through a palette; 1 bit, most significant bit first.
    const std::vector<uint8_t> palette = {0, 0, 0, 0, 255, 0, 0, 0, 0, 200, 100, 0};
    const std::vector<uint8_t> eight = Bmp(2, 1, 8, 0, palette, {2, 1, 0, 0});
    picture = DecodeBmp(eight.data(), eight.size());
    ASSERT_TRUE(picture);
    EXPECT_EQ(Pixel(*picture, 0, 0), (Rgb{100, 200, 0}));
    EXPECT_EQ(Pixel(*picture, 1, 0), (Rgb{0, 0, 255}));
    const std::vector<uint8_t> one = Bmp(3, 1, 1, 0, {0, 0, 0, 0, 255, 255, 255, 0}, {0b10100000, 0, 0, 0});
    picture = DecodeBmp(one.data(), one.size());
    ASSERT_TRUE(picture);
    EXPECT_EQ(Pixel(*picture, 0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(Pixel(*picture, 1, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(Pixel(*picture, 2, 0), (Rgb{255, 255, 255}));

    // 16 bits as 5-5-5.
    const std::vector<uint8_t> sixteen = Bmp(2, 1, 16, 0, {}, {0x00, 0x7c, 0x1f, 0x00});
    picture = DecodeBmp(sixteen.data(), sixteen.size());
    ASSERT_TRUE(picture);
    EXPECT_EQ(Pixel(*picture, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(Pixel(*picture, 1, 0), (Rgb{0, 0, 255}));
}

TEST(ColourKeyPicture, RunLengthPicturesAreCutAtTheirEdges) {
    const std::vector<uint8_t> palette = {0, 0, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0};
    // Row 0: a run of 3 red, end of line. Row 1: a literal run of 3 (blue, red, blue) padded to 4 bytes,
    // end of line. Row 2: one blue, then a run of 200 red that stops at the edge. Then the end of the
    // picture: row 3 is never reached.
    const std::vector<uint8_t> runs = {3, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 0, 1, 2, 200, 1, 0, 1};
    const std::vector<uint8_t> file = Bmp(3, 4, 8, 1, palette, runs);
    const std::optional<RgbPicture> picture = DecodeBmp(file.data(), file.size());
    ASSERT_TRUE(picture);
    EXPECT_EQ(Pixel(*picture, 2, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(Pixel(*picture, 0, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(Pixel(*picture, 1, 1), (Rgb{255, 0, 0}));
    EXPECT_EQ(Pixel(*picture, 2, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(Pixel(*picture, 0, 2), (Rgb{0, 0, 255}));
    EXPECT_EQ(Pixel(*picture, 2, 2), (Rgb{255, 0, 0})) << "the long run stops at the edge";
    EXPECT_EQ(Pixel(*picture, 0, 3), (Rgb{0, 0, 0})) << "pixels the data never reaches keep colour 0";
}

TEST(ColourKeyPicture, DamagedFilesAreRefusedWithTheirReason) {
    const std::vector<uint8_t> good = Bmp(2, 2, 24, 0, {}, std::vector<uint8_t>(16, 7));
    struct Case {
        std::vector<uint8_t> bytes;
        std::string reason;
    };
    std::vector<Case> cases = {
        {{}, "not a BMP file"},
        {{'P', 'N', 'G'}, "not a BMP file"},
        {std::vector<uint8_t>(good.begin(), good.end() - 1), "BMP pixel data cut short"},
        {Bmp(100000, 1, 24, 0, {}, {}), "BMP size out of range"},
        {Bmp(0, 5, 24, 0, {}, {}), "BMP size out of range"},
        {Bmp(2, 2, 7, 0, {}, std::vector<uint8_t>(16, 0)), "unsupported BMP depth 7"},
        {Bmp(2, 2, 24, 4, {}, std::vector<uint8_t>(16, 0)), "unsupported BMP compression 4"},
        {Bmp(2, 2, 8, 0, {1, 2, 3}, {}), "BMP palette cut short"},
        // A header claiming a 4096 x 4096 picture in a file of a few bytes.
        {Bmp(4096, 4096, 32, 0, {}, {1, 2, 3, 4}), "BMP pixel data cut short"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(DecodeBmp(c.bytes.data(), c.bytes.size(), &error));
        EXPECT_EQ(error, c.reason);
    }
    std::string error;
    EXPECT_FALSE(ReadBmpFile("no such folder\\no such picture.bmp", &error));
    EXPECT_NE(error.find("no such picture.bmp"), std::string::npos) << error;
}

TEST(ColourKeyPicture, SilhouetteClearsTheKeyColourAndPaintsTheRest) {
    RgbPicture picture;
    picture.width = 3;
    picture.height = 1;
    picture.pixels = {9, 9, 9, 1, 2, 3, 9, 9, 9};
    const std::vector<uint8_t> rgba = ColourKeySilhouette(picture, 255000128);
    ASSERT_EQ(rgba.size(), 12u);
    EXPECT_EQ(rgba[3], 0) << "the first pixel's colour is the key";
    EXPECT_EQ((std::vector<uint8_t>(rgba.begin() + 4, rgba.begin() + 8)), (std::vector<uint8_t>{255, 0, 128, 255}));
    EXPECT_EQ(rgba[11], 0);
    EXPECT_TRUE(ColourKeySilhouette(RgbPicture{}, 5).empty());
}
