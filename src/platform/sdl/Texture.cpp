#include "platform/sdl/Texture.h"

#include "platform/ColourKeyPicture.h"
#include "platform/Dialog.h"
#include "platform/Paths.h"

#include <FreeImage.h>
#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace {

LightingModeHook lightingHook = nullptr;
int32_t screenWidth = 800;
int32_t screenHeight = 600;
GLuint whiteTexture = 0;
// Pictures loaded from files whose every pixel is opaque: blending them changes nothing, so it is skipped.
std::unordered_set<GLuint> opaqueTextures;
// Blank textures, every pixel transparent black: blending one changes nothing, so it is not drawn at all.
std::unordered_set<GLuint> clearTextures;
// The size of every picture read from a file, by texture.
std::unordered_map<GLuint, std::pair<int32_t, int32_t>> pictureSizes;

bool AllOpaque(const uint8_t* bgra, size_t pixels) {
    for (size_t i = 0; i < pixels; ++i) {
        if (bgra[i * 4 + 3] != 255) {
            return false;
        }
    }
    return true;
}

constexpr int32_t lightingUnlit = 0;
constexpr int32_t lightingLit = 1;

void SetLighting(int32_t mode) {
    if (lightingHook != nullptr) {
        lightingHook(mode);
    }
}

void ClearGlErrors() {
    for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

void QuietFreeImage(FREE_IMAGE_FORMAT, const char*) {}

// Loads a picture at its native path, or null; FreeImage's own complaints are kept off the console.
FIBITMAP* LoadPicture(const std::string& nativePath) {
    // Once, whichever thread decodes first.
    static const bool quiet = [] {
        FreeImage_SetOutputMessage(QuietFreeImage);
        return true;
    }();
    (void)quiet;
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(nativePath.c_str(), 0);
    if (format == FIF_UNKNOWN) {
        format = FreeImage_GetFIFFromFilename(nativePath.c_str());
    }
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) {
        return nullptr;
    }
    return FreeImage_Load(format, nativePath.c_str(), 0);
}

void ForgetTwinOf(GLuint picture);

GLuint UploadRgba(int32_t width, int32_t height, const void* pixels, GLenum format, GLint minFilter,
                  GLint magFilter) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    opaqueTextures.erase(texture);
    clearTextures.erase(texture);
    ForgetTwinOf(texture);
    pictureSizes.erase(texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    return texture;
}

// A picture kept a second time, top row first, for copies into the window: a software renderer keeps the
// window's rows top first too, so copying from the twin is a plain copy of memory.
struct MirroredTwin {
    GLuint picture = 0;
    GLuint texture = 0;
    GLuint frame = 0;
};
// The twins of the pictures copied into the window last, the latest at the back: a screen shows one or two.
std::vector<MirroredTwin> twins;
constexpr size_t kTwinsKept = 3;

void ForgetTwin(std::vector<MirroredTwin>::iterator twin) {
    glDeleteFramebuffers(1, &twin->frame);
    glDeleteTextures(1, &twin->texture);
    twins.erase(twin);
}

// Forgets the twin of a texture name that is about to hold another picture.
void ForgetTwinOf(GLuint picture) {
    const auto twin = std::find_if(twins.begin(), twins.end(),
                                   [picture](const MirroredTwin& t) { return t.picture == picture; });
    if (twin != twins.end()) {
        ForgetTwin(twin);
    }
}

// The framebuffer of the picture's twin, made on first use; 0 when it cannot be made. The picture is turned
// over on the way rather than by the GL, which would have to compile a program for it first: the first
// logo of the boot is one of these pictures.
GLuint TwinFrameOf(GLuint picture, int32_t width, int32_t height) {
    const auto found = std::find_if(twins.begin(), twins.end(),
                                    [picture](const MirroredTwin& t) { return t.picture == picture; });
    if (found != twins.end()) {
        MirroredTwin twin = *found;
        twins.erase(found);
        twins.push_back(twin);
        return twin.frame;
    }
    if (twins.size() >= kTwinsKept) {
        ForgetTwin(twins.begin());
    }
    GLint boundDraw = 0;
    GLint boundTexture = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &boundDraw);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    std::vector<uint8_t> rows(rowBytes * static_cast<size_t>(height));
    glBindTexture(GL_TEXTURE_2D, picture);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    MirroredTwin twin;
    twin.picture = picture;
    twin.texture = UploadRgba(width, height, nullptr, GL_BGRA, GL_NEAREST, GL_NEAREST);
    for (int32_t row = 0; row < height; ++row) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, height - 1 - row, width, 1, GL_BGRA, GL_UNSIGNED_BYTE,
                        rows.data() + rowBytes * static_cast<size_t>(row));
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
    glGenFramebuffers(1, &twin.frame);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, twin.frame);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, twin.texture, 0);
    const bool complete = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(boundDraw));
    if (!complete) {
        glDeleteFramebuffers(1, &twin.frame);
        glDeleteTextures(1, &twin.texture);
        return 0;
    }
    twins.push_back(twin);
    return twin.frame;
}

// A small checker in loud colours, so a missing picture shows where it should have been.
GLuint PlaceholderTexture() {
    constexpr int size = 8;
    uint8_t pixels[size * size * 4];
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            uint8_t* p = pixels + (y * size + x) * 4;
            bool magenta = ((x / 2) + (y / 2)) % 2 == 0;
            p[0] = magenta ? 255 : 0;
            p[1] = 0;
            p[2] = magenta ? 255 : 0;
            p[3] = 255;
        }
    }
    return UploadRgba(size, size, pixels, GL_RGBA, GL_NEAREST, GL_NEAREST);
}

// Copies an opaque picture shown at its own size straight into the frame, for DrawTexturedRect: with one
// texel on each pixel and nothing to blend, the copy gives exactly the pixels drawing would, and a software
// renderer copies in about half the time it takes to draw (a tenth, from a twin into the window). False
// (nothing done) where the two could differ: a viewport that scales the layout, a picture reaching past the
// layout's edge, a stencil test, or a GL without framebuffer copies.
bool CopyPictureIntoFrame(GLuint texture, int32_t x, int32_t y, int32_t width, int32_t height) {
    static GLuint reader = 0;
    static bool unavailable = false;
    if (unavailable || glBlitFramebuffer == nullptr || glGenFramebuffers == nullptr ||
        glIsEnabled(GL_STENCIL_TEST)) {
        return false;
    }
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    // A copy is clipped by the frame's edges, drawing by the viewport's: the picture must lie inside it.
    if (viewport[2] != screenWidth || viewport[3] != screenHeight || x + width > screenWidth ||
        y + height > screenHeight) {
        return false;
    }
    GLint boundRead = 0;
    GLint boundDraw = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &boundRead);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &boundDraw);
    ClearGlErrors();
    // The layout's origin is the top left, the frame's the bottom left; the picture's bottom row is its
    // first, its twin's top row.
    const GLint left = viewport[0] + x;
    const GLint bottom = viewport[1] + viewport[3] - (y + height);
    const GLuint twin = boundDraw == 0 ? TwinFrameOf(texture, width, height) : 0;
    if (twin != 0) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, twin);
        glBlitFramebuffer(0, 0, width, height, left, bottom + height, left + width, bottom, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
    } else {
        if (reader == 0) {
            glGenFramebuffers(1, &reader);
        }
        // Attached afresh each time: a texture name freed and given to another picture must not show the
        // old one.
        glBindFramebuffer(GL_READ_FRAMEBUFFER, reader);
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        if (glCheckFramebufferStatus(GL_READ_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
            glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(boundRead));
            return false;
        }
        glBlitFramebuffer(0, 0, width, height, left, bottom, left + width, bottom + height, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(boundRead));
    if (glGetError() != GL_NO_ERROR) {
        unavailable = true;
        return false;
    }
    return true;
}

// The state DrawTexturedRect leaves behind, whether it drew, copied or skipped the picture.
void LeaveDrawingState() {
    SetLighting(lightingLit);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    UnbindTexture();
    glMatrixMode(GL_MODELVIEW);
}

} // namespace

void SetTextureLightingHook(LightingModeHook hook) {
    lightingHook = hook;
}

void SetTextureScreenSize(int32_t width, int32_t height) {
    screenWidth = width;
    screenHeight = height;
}

DecodedPicture DecodePicture(const std::string& gamePath) {
    DecodedPicture picture;
    picture.gamePath = gamePath;
    FIBITMAP* source = LoadPicture(NativePath(gamePath));
    if (source == nullptr) {
        picture.failure = "Could not read picture: ";
        return picture;
    }
    FIBITMAP* bitmap = FreeImage_ConvertTo32Bits(source);
    FreeImage_Unload(source);
    if (bitmap == nullptr) {
        picture.failure = "Could not convert picture: ";
        return picture;
    }
    picture.width = static_cast<int32_t>(FreeImage_GetWidth(bitmap));
    picture.height = static_cast<int32_t>(FreeImage_GetHeight(bitmap));
    // FreeImage keeps 32-bit pixels as blue, green, red, alpha bytes with rows padded to 4 bytes: no padding.
    const uint8_t* bits = FreeImage_GetBits(bitmap);
    picture.bgra.assign(bits, bits + static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 4);
    FreeImage_Unload(bitmap);
    return picture;
}

uint32_t UploadPicture(const DecodedPicture& picture) {
    ClearGlErrors();
    if (!picture.failure.empty() || picture.bgra.empty()) {
        std::fprintf(stderr, "%s%s\n", picture.failure.empty() ? "Could not read picture: " : picture.failure.c_str(),
                     picture.gamePath.c_str());
        return PlaceholderTexture();
    }
    GLuint texture =
        UploadRgba(picture.width, picture.height, picture.bgra.data(), GL_BGRA, GL_NEAREST, GL_LINEAR);
    if (AllOpaque(picture.bgra.data(), static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height))) {
        opaqueTextures.insert(texture);
    }
    pictureSizes[texture] = {picture.width, picture.height};
    GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        ShowAssertionBox("error loading texture: " + picture.gamePath + "\n" +
                         reinterpret_cast<const char*>(gluErrorString(error)));
    }
    return texture;
}

uint32_t LoadTexture(const std::string& gamePath) {
    return UploadPicture(DecodePicture(gamePath));
}

uint32_t CreateBlankTexture(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) {
        width = height = 1;
    }
    glEnable(GL_TEXTURE_2D);
    std::vector<uint8_t> zeros(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    GLuint texture = UploadRgba(width, height, zeros.data(), GL_RGBA, GL_LINEAR, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glDisable(GL_TEXTURE_2D);
    UnbindTexture();
    clearTextures.insert(texture);
    return texture;
}

std::optional<LoadedBitmap> LoadBitmap(const std::string& gamePath) {
    FIBITMAP* source = LoadPicture(NativePath(gamePath));
    if (source == nullptr) {
        return std::nullopt;
    }
    FIBITMAP* bitmap = FreeImage_ConvertTo24Bits(source);
    FreeImage_Unload(source);
    if (bitmap == nullptr) {
        return std::nullopt;
    }
    LoadedBitmap result;
    result.width = static_cast<int32_t>(FreeImage_GetWidth(bitmap));
    result.height = static_cast<int32_t>(FreeImage_GetHeight(bitmap));
    result.pixels.resize(static_cast<size_t>(result.width) * static_cast<size_t>(result.height) * 3);
    uint8_t* out = result.pixels.data();
    // Scan line 0 is the bottom row.
    for (int32_t y = 0; y < result.height; ++y) {
        const uint8_t* row = FreeImage_GetScanLine(bitmap, y);
        for (int32_t x = 0; x < result.width; ++x) {
            const uint8_t* p = row + x * 3;
            *out++ = p[FI_RGBA_RED];
            *out++ = p[FI_RGBA_GREEN];
            *out++ = p[FI_RGBA_BLUE];
        }
    }
    FreeImage_Unload(bitmap);
    return result;
}

uint32_t LoadColourKeyTexture(const std::string& gamePath, int32_t packedColour) {
    std::string error;
    const std::optional<RgbPicture> picture = ReadBmpFile(gamePath, &error);
    if (!picture) {
        std::fprintf(stderr, "Failed to load texture file: %s (%s)\n", gamePath.c_str(), error.c_str());
        return 0;
    }
    const std::vector<uint8_t> rgba = ColourKeySilhouette(*picture, packedColour);
    GLuint texture = UploadRgba(picture->width, picture->height, rgba.data(), GL_RGBA, GL_LINEAR, GL_LINEAR);
    UnbindTexture();
    return texture;
}

uint32_t WhiteTexture() {
    if (whiteTexture == 0) {
        const uint8_t white[4] = {255, 255, 255, 255};
        whiteTexture = UploadRgba(1, 1, white, GL_RGBA, GL_NEAREST, GL_NEAREST);
    }
    return whiteTexture;
}

void UnbindTexture() {
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, WhiteTexture());
}

void DrawTexturedRect(uint32_t texture, uint32_t x, uint32_t y, uint32_t width, uint32_t height, bool blend) {
    const auto size = pictureSizes.find(texture);
    const bool ownSize = size != pictureSizes.end() && size->second.first == static_cast<int32_t>(width) &&
                         size->second.second == static_cast<int32_t>(height);
    // Nothing to see, or a copy that gives the drawn pixels: either way the state is left as drawing leaves it.
    const bool unseen = blend && clearTextures.count(texture) != 0;
    if (unseen || (ownSize && (!blend || opaqueTextures.count(texture) != 0) &&
                   CopyPictureIntoFrame(texture, static_cast<int32_t>(x), static_cast<int32_t>(y),
                                        static_cast<int32_t>(width), static_cast<int32_t>(height)))) {
        LeaveDrawingState();
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, screenWidth, screenHeight, 0, 1, -1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    SetLighting(lightingUnlit);
    glBindTexture(GL_TEXTURE_2D, texture != 0 ? texture : WhiteTexture());
    if (blend && opaqueTextures.count(texture) == 0) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    // A picture drawn at its own size puts each texel on one pixel's centre: the nearest texel is the colour
    // filtering would give, at far less cost on a software renderer.
    GLint magFilter = GL_LINEAR;
    if (ownSize) {
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }

    const float left = static_cast<float>(x);
    const float top = static_cast<float>(y);
    const float right = static_cast<float>(x + width);
    const float bottom = static_cast<float>(y + height);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex3f(left, top, 0);
    glTexCoord2f(0, 0);
    glVertex3f(left, bottom, 0);
    glTexCoord2f(1, 0);
    glVertex3f(right, bottom, 0);
    glTexCoord2f(1, 1);
    glVertex3f(right, top, 0);
    glEnd();
    if (ownSize) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    }

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    LeaveDrawingState();
}
