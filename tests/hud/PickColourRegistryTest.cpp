#include "hud/PickColourRegistry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A scripted generator: returns the queued values in order, then zeros.
std::vector<int> script;
size_t scriptPos = 0;

int Scripted() {
    return scriptPos < script.size() ? script[scriptPos++] : 0;
}

void Play(std::vector<int> values) {
    script = std::move(values);
    scriptPos = 0;
}

TEST(PickColourRegistry, DrawsRedrawsBlackAndTakenColours) {
    PickColourRegistry registry(Scripted);
    // All three zero (256 mod 256 too) is drawn again; components are taken mod 256.
    Play({0, 256, 512, 257, 0, 7, 1, 0, 7, 3, 2, 1});
    EXPECT_EQ(registry.NewPickColour(), 1000007);
    // The same colour again is rejected and the next triple taken.
    EXPECT_EQ(registry.NewPickColour(), 3002001);
    EXPECT_EQ(registry.ids(), (std::vector<int32_t>{1000007, 3002001}));

    const PickRgb colour = DecodePickColour(1000007);
    EXPECT_EQ(colour.r, 1);
    EXPECT_EQ(colour.g, 0);
    EXPECT_EQ(colour.b, 7);
    EXPECT_EQ(EncodePickColour(255, 255, 255), 255255255);
}

TEST(PickColourRegistry, ReleaseKeepsOrderAndFreesTheId) {
    PickColourRegistry registry(Scripted);
    Play({1, 1, 1, 2, 2, 2, 3, 3, 3, 2, 2, 2});
    registry.NewPickColour();
    registry.NewPickColour();
    registry.NewPickColour();
    registry.ReleasePickColour(2002002);
    registry.ReleasePickColour(42); // unknown: nothing happens
    EXPECT_EQ(registry.ids(), (std::vector<int32_t>{1001001, 3003003}));
    EXPECT_FALSE(registry.Contains(2002002));
    // Released, the colour can be handed out again.
    EXPECT_EQ(registry.NewPickColour(), 2002002);
}

TEST(PickColourRegistry, AGeneratorThatOnlyGivesBlackDoesNotHang) {
    PickColourRegistry registry(Scripted);
    Play({});
    const int32_t first = registry.NewPickColour();
    const int32_t second = registry.NewPickColour();
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_NE(first, second);
}

TEST(PickColourRegistry, CLibraryColoursAreDistinctAndInRange) {
    PickColourRegistry registry;
    for (int i = 0; i < 2000; ++i) {
        const int32_t id = registry.NewPickColour();
        ASSERT_GT(id, 0);
        ASSERT_LE(id, 255255255);
        const PickRgb c = DecodePickColour(id);
        ASSERT_EQ(EncodePickColour(c.r, c.g, c.b), id);
    }
    EXPECT_EQ(registry.size(), 2000u);
}

} // namespace
