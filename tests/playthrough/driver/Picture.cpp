#include "driver/Picture.h"

#include "platform/sdl/Texture.h"

#include <FreeImage.h>
#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

Picture::Picture(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)), bytes_(size_t(width_) * size_t(height_) * 3) {
}

Picture::Picture(int width, int height, std::vector<uint8_t> bytes) : Picture(width, height) {
    if (bytes.size() == bytes_.size()) {
        bytes_ = std::move(bytes);
    }
}

Rgb Picture::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return {};
    }
    const size_t i = (size_t(y) * size_t(width_) + size_t(x)) * 3;
    return {bytes_[i], bytes_[i + 1], bytes_[i + 2]};
}

void Picture::set(int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    const size_t i = (size_t(y) * size_t(width_) + size_t(x)) * 3;
    bytes_[i] = colour.r;
    bytes_[i + 1] = colour.g;
    bytes_[i + 2] = colour.b;
}

Picture ReadFrameBuffer(int width, int height) {
    const size_t rowBytes = size_t(width) * 3;
    std::vector<uint8_t> rows(rowBytes * size_t(height));
    GLint previous = 0;
    glGetIntegerv(GL_READ_BUFFER, &previous);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    glReadBuffer(GLenum(previous));
    // GL gives the bottom row first.
    std::vector<uint8_t> topFirst(rows.size());
    for (int y = 0; y < height; ++y) {
        std::memcpy(topFirst.data() + size_t(y) * rowBytes, rows.data() + size_t(height - 1 - y) * rowBytes,
                    rowBytes);
    }
    return Picture(width, height, std::move(topFirst));
}

bool SavePng(const Picture& picture, const std::string& path) {
    if (picture.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    // FreeImage keeps blue, green, red in memory order on little-endian machines.
    const int pitch = picture.width() * 3;
    std::vector<uint8_t> bgr(picture.bytes().size());
    for (size_t i = 0; i + 2 < bgr.size(); i += 3) {
        bgr[i] = picture.bytes()[i + 2];
        bgr[i + 1] = picture.bytes()[i + 1];
        bgr[i + 2] = picture.bytes()[i];
    }
    FIBITMAP* bitmap =
        FreeImage_ConvertFromRawBits(bgr.data(), picture.width(), picture.height(), pitch, 24,
                                     FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, TRUE);
    if (bitmap == nullptr) {
        return false;
    }
    const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(bitmap);
    return saved;
}

std::optional<Picture> LoadGamePicture(const std::string& gamePath) {
    const std::optional<LoadedBitmap> bitmap = LoadBitmap(gamePath);
    if (!bitmap || bitmap->width <= 0 || bitmap->height <= 0) {
        return std::nullopt;
    }
    Picture picture(bitmap->width, bitmap->height);
    for (int y = 0; y < bitmap->height; ++y) {
        const size_t row = size_t(bitmap->height - 1 - y) * size_t(bitmap->width) * 3;
        for (int x = 0; x < bitmap->width; ++x) {
            const size_t i = row + size_t(x) * 3;
            picture.set(x, y, {bitmap->pixels[i], bitmap->pixels[i + 1], bitmap->pixels[i + 2]});
        }
    }
    return picture;
}

double DifferingShare(const Picture& a, const Picture& b, const PixelRect& area, int tolerance) {
    int64_t total = 0;
    int64_t differing = 0;
    for (int y = area.y; y < area.y + area.height; ++y) {
        for (int x = area.x; x < area.x + area.width; ++x) {
            const Rgb p = a.at(x, y);
            const Rgb q = b.at(x, y);
            ++total;
            if (std::abs(p.r - q.r) > tolerance || std::abs(p.g - q.g) > tolerance ||
                std::abs(p.b - q.b) > tolerance) {
                ++differing;
            }
        }
    }
    return total > 0 ? double(differing) / double(total) : 0.0;
}

Rgb AverageColour(const Picture& picture, const std::vector<PixelPoint>& pixels) {
    if (pixels.empty()) {
        return {};
    }
    int64_t sum[3] = {0, 0, 0};
    for (const PixelPoint& p : pixels) {
        const Rgb c = picture.at(p.x, p.y);
        sum[0] += c.r;
        sum[1] += c.g;
        sum[2] += c.b;
    }
    const auto n = int64_t(pixels.size());
    return {uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n)};
}

namespace {

// How far a shown colour is from a colour lit by a brighter or darker white light (bright light clips each
// channel at full), in units of the tolerance: 1 or less is a match.
double LitDistance(const Rgb& shown, const Rgb& colour) {
    const double p[3] = {double(shown.r), double(shown.g), double(shown.b)};
    const double c[3] = {double(colour.r), double(colour.g), double(colour.b)};
    if (c[0] + c[1] + c[2] < 1.0) {
        return 1e9;
    }
    const double tolerance = std::max(8.0, 0.09 * std::max({p[0], p[1], p[2]}));
    double best = 1e9;
    // Light from a fifth to two and a half times the colour, in steps of 4 %.
    for (double scale = 0.2; scale <= 2.5; scale *= 1.04) {
        double worst = 0.0;
        for (int i = 0; i < 3; ++i) {
            worst = std::max(worst, std::abs(p[i] - std::min(255.0, scale * c[i])));
        }
        best = std::min(best, worst);
    }
    return best / tolerance;
}

// Below this brightest channel a pixel's hue cannot be told.
constexpr int darkestJudged = 24;

} // namespace

std::vector<ColourGroup> ColourGroups(const Picture& picture, double minShare) {
    struct Bin {
        int64_t count = 0;
        int64_t sum[3] = {0, 0, 0};
    };
    // Sixteen levels a channel; each bin's colour is the average of its pixels.
    std::vector<Bin> bins(4096);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.at(x, y);
            Bin& bin = bins[size_t((c.r >> 4) << 8 | (c.g >> 4) << 4 | (c.b >> 4))];
            ++bin.count;
            bin.sum[0] += c.r;
            bin.sum[1] += c.g;
            bin.sum[2] += c.b;
        }
    }
    std::sort(bins.begin(), bins.end(), [](const Bin& a, const Bin& b) { return a.count > b.count; });
    const double total = std::max(1.0, double(picture.width()) * double(picture.height()));
    std::vector<ColourGroup> groups;
    for (const Bin& bin : bins) {
        if (bin.count == 0) {
            break;
        }
        const Rgb colour{uint8_t(bin.sum[0] / bin.count), uint8_t(bin.sum[1] / bin.count),
                         uint8_t(bin.sum[2] / bin.count)};
        const double share = double(bin.count) / total;
        auto same = std::find_if(groups.begin(), groups.end(), [&](const ColourGroup& group) {
            return LitDistance(colour, group.colour) <= 1.0 || LitDistance(group.colour, colour) <= 1.0;
        });
        if (same != groups.end()) {
            same->share += share;
        } else {
            groups.push_back({colour, share});
        }
    }
    std::erase_if(groups, [minShare](const ColourGroup& group) { return group.share < minShare; });
    return groups;
}

ColourMatch MatchColours(const Picture& shown, const std::vector<PixelPoint>& pixels,
                         const std::vector<ColourGroup>& groups) {
    ColourMatch match;
    std::vector<int>& counts = match.counts;
    counts.assign(groups.size(), 0);
    for (const PixelPoint& point : pixels) {
        const Rgb p = shown.at(point.x, point.y);
        if (std::max({p.r, p.g, p.b}) < darkestJudged) {
            continue;
        }
        ++match.judged;
        size_t best = groups.size();
        double bestDistance = 1.0;
        for (size_t g = 0; g < groups.size(); ++g) {
            const double distance = LitDistance(p, groups[g].colour);
            if (distance <= bestDistance) {
                bestDistance = distance;
                best = g;
            }
        }
        if (best < groups.size()) {
            ++match.matched;
            ++counts[best];
        }
    }
    double total = 0.0;
    for (const ColourGroup& group : groups) {
        total += group.share;
    }
    if (match.matched > 0 && total > 0.0) {
        for (size_t g = 0; g < groups.size(); ++g) {
            match.likeness += std::min(double(counts[g]) / double(match.matched), groups[g].share / total);
        }
        match.likeness *= match.share();
    }
    return match;
}
