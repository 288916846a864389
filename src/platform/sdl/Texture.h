#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Pictures become OpenGL textures, known everywhere by their GL texture name (0 means none). Textures
// are never deleted. The lighting shader samples texture unit 0 for every draw, so whenever nothing else
// is bound there the one white texture is: untextured drawing then shows its vertex colours unchanged.

// A picture decoded to 8-bit red, green, blue triples, rows from the bottom of the image upward.
struct LoadedBitmap {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// Tells the lighting shader whether to light (1), show unlit (0) or draw flat colours (2).
using LightingModeHook = void (*)(int32_t mode);

// Installs the function DrawTexturedRect uses to switch the shader to unlit and back to lit.
void SetTextureLightingHook(LightingModeHook hook);
// Sets the size of the 2D layout DrawTexturedRect draws in (800 x 600 unless told otherwise).
void SetTextureScreenSize(int32_t width, int32_t height);

// Loads any picture FreeImage reads into an RGBA texture, its bottom row first. An unreadable file prints
// its path to standard error and gives a small magenta-and-black checker texture instead.
uint32_t LoadTexture(const std::string& gamePath);
// A picture read and decoded to blue, green, red, alpha bytes, bottom row first, not yet a texture. Decoding
// needs no GL context, so pictures may be decoded on another thread and made textures later.
struct DecodedPicture {
    std::string gamePath;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bgra;
    // Empty when decoded; else the start of the message naming the file.
    std::string failure;
};
// Reads and decodes a picture (no GL call).
DecodedPicture DecodePicture(const std::string& gamePath);
// Makes the texture of a decoded picture as LoadTexture does (the checker for an unreadable one).
uint32_t UploadPicture(const DecodedPicture& picture);
// Makes a width x height RGBA texture filled with zeros.
uint32_t CreateBlankTexture(int32_t width, int32_t height);
// Makes a pick silhouette: pixels equal to the image's first stored (bottom-left) pixel are transparent,
// all others take the packed colour (r * 1000000 + g * 1000 + b) with full alpha. The image is a BMP read by
// ReadBmpFile (platform/ColourKeyPicture.h); 0 when unreadable.
uint32_t LoadColourKeyTexture(const std::string& gamePath, int32_t packedColour);
// Decodes a picture (BMP of any depth and compression, or any other FreeImage format); none when unreadable.
std::optional<LoadedBitmap> LoadBitmap(const std::string& gamePath);

// The 1 x 1 white texture bound whenever no picture is (made on first use with a GL context current).
uint32_t WhiteTexture();
// Disables texturing and binds the white texture to unit 0: the shader then draws plain vertex colours.
void UnbindTexture();

// Draws the texture as a screen rectangle in layout pixels, origin top left, optionally alpha blended.
// Afterwards blending and texturing are off, depth testing and face culling on, the shader lit, both
// matrices as before and the model-view matrix current.
void DrawTexturedRect(uint32_t texture, uint32_t x, uint32_t y, uint32_t width, uint32_t height, bool blend);
