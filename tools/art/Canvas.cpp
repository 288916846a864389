#include "Canvas.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>

Colour Hex(uint32_t rgb, float alpha) {
    return Colour{((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, alpha};
}

Colour Mix(Colour a, Colour b, float t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Colour Shade(Colour c, float s) {
    return Colour{c.r * s, c.g * s, c.b * s, c.a};
}

Colour WithAlpha(Colour c, float alpha) {
    c.a = alpha;
    return c;
}

Canvas::Canvas(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

const Colour& Canvas::Wrapped(int x, int y) const {
    x = ((x % width_) + width_) % width_;
    y = ((y % height_) + height_) % height_;
    return At(x, y);
}

void Canvas::Blend(int x, int y, Colour c, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
    if (a <= 0.0f) {
        return;
    }
    Colour& d = At(x, y);
    float outA = a + d.a * (1.0f - a);
    if (outA <= 0.0f) {
        d = Colour{0, 0, 0, 0};
        return;
    }
    auto channel = [&](float s, float t) { return (s * a + t * d.a * (1.0f - a)) / outA; };
    d = Colour{channel(c.r, d.r), channel(c.g, d.g), channel(c.b, d.b), outA};
}

void Canvas::Fill(Colour c) {
    std::fill(pixels_.begin(), pixels_.end(), c);
}

void Canvas::FillRect(int x, int y, int w, int h, Colour c) {
    for (int j = std::max(0, y); j < std::min(height_, y + h); ++j) {
        for (int i = std::max(0, x); i < std::min(width_, x + w); ++i) {
            Blend(i, j, c);
        }
    }
}

void Canvas::FillGradient(int x, int y, int w, int h, Colour top, Colour bottom) {
    for (int j = std::max(0, y); j < std::min(height_, y + h); ++j) {
        Colour c = Mix(top, bottom, h > 1 ? float(j - y) / float(h - 1) : 0.0f);
        for (int i = std::max(0, x); i < std::min(width_, x + w); ++i) {
            Blend(i, j, c);
        }
    }
}

namespace {

// Signed distance from a point to a rounded box centred at the origin.
float RoundBoxDistance(float px, float py, float hx, float hy, float r) {
    float qx = std::fabs(px) - hx + r;
    float qy = std::fabs(py) - hy + r;
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

float Coverage(float distance) {
    return std::clamp(0.5f - distance, 0.0f, 1.0f);
}

} // namespace

void Canvas::RoundRect(float x, float y, float w, float h, float radius, Colour fill, float borderWidth,
                       Colour border) {
    float cx = x + w * 0.5f, cy = y + h * 0.5f;
    radius = std::min({radius, w * 0.5f, h * 0.5f});
    for (int j = std::max(0, int(y) - 1); j < std::min(height_, int(y + h) + 2); ++j) {
        for (int i = std::max(0, int(x) - 1); i < std::min(width_, int(x + w) + 2); ++i) {
            float d = RoundBoxDistance(i + 0.5f - cx, j + 0.5f - cy, w * 0.5f, h * 0.5f, radius);
            float outer = Coverage(d);
            if (outer <= 0.0f) {
                continue;
            }
            if (borderWidth > 0.0f) {
                float inner = Coverage(d + borderWidth);
                Blend(i, j, fill, inner);
                Blend(i, j, border, outer - inner);
            } else {
                Blend(i, j, fill, outer);
            }
        }
    }
}

void Canvas::Circle(float cx, float cy, float radius, Colour c) {
    for (int j = std::max(0, int(cy - radius) - 1); j < std::min(height_, int(cy + radius) + 2); ++j) {
        for (int i = std::max(0, int(cx - radius) - 1); i < std::min(width_, int(cx + radius) + 2); ++i) {
            Blend(i, j, c, Coverage(std::hypot(i + 0.5f - cx, j + 0.5f - cy) - radius));
        }
    }
}

void Canvas::Ring(float cx, float cy, float radius, float width, Colour c) {
    float reach = radius + width;
    for (int j = std::max(0, int(cy - reach) - 1); j < std::min(height_, int(cy + reach) + 2); ++j) {
        for (int i = std::max(0, int(cx - reach) - 1); i < std::min(width_, int(cx + reach) + 2); ++i) {
            float d = std::fabs(std::hypot(i + 0.5f - cx, j + 0.5f - cy) - radius) - width * 0.5f;
            Blend(i, j, c, Coverage(d));
        }
    }
}

void Canvas::Line(float x0, float y0, float x1, float y1, float width, Colour c) {
    float half = width * 0.5f;
    float dx = x1 - x0, dy = y1 - y0;
    float len2 = dx * dx + dy * dy;
    int left = std::max(0, int(std::min(x0, x1) - half) - 1);
    int right = std::min(width_, int(std::max(x0, x1) + half) + 2);
    int top = std::max(0, int(std::min(y0, y1) - half) - 1);
    int bottom = std::min(height_, int(std::max(y0, y1) + half) + 2);
    for (int j = top; j < bottom; ++j) {
        for (int i = left; i < right; ++i) {
            float px = i + 0.5f - x0, py = j + 0.5f - y0;
            float t = len2 > 0.0f ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
            float d = std::hypot(px - dx * t, py - dy * t) - half;
            Blend(i, j, c, Coverage(d));
        }
    }
}

void Canvas::Polygon(const std::vector<float>& xy, Colour c) {
    size_t n = xy.size() / 2;
    if (n < 3) {
        return;
    }
    float minY = xy[1], maxY = xy[1];
    for (size_t k = 0; k < n; ++k) {
        minY = std::min(minY, xy[2 * k + 1]);
        maxY = std::max(maxY, xy[2 * k + 1]);
    }
    constexpr int sub = 4;
    std::vector<float> coverage(static_cast<size_t>(width_), 0.0f);
    std::vector<float> crossings;
    for (int j = std::max(0, int(minY)); j < std::min(height_, int(maxY) + 1); ++j) {
        std::fill(coverage.begin(), coverage.end(), 0.0f);
        for (int s = 0; s < sub; ++s) {
            float sy = j + (s + 0.5f) / sub;
            crossings.clear();
            for (size_t k = 0; k < n; ++k) {
                float ax = xy[2 * k], ay = xy[2 * k + 1];
                float bx = xy[2 * ((k + 1) % n)], by = xy[2 * ((k + 1) % n) + 1];
                if ((ay <= sy && by > sy) || (by <= sy && ay > sy)) {
                    crossings.push_back(ax + (sy - ay) / (by - ay) * (bx - ax));
                }
            }
            std::sort(crossings.begin(), crossings.end());
            for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
                float xa = std::max(0.0f, crossings[k]);
                float xb = std::min(float(width_), crossings[k + 1]);
                for (int i = int(xa); i < int(std::ceil(xb)) && i < width_; ++i) {
                    float overlap = std::min(xb, i + 1.0f) - std::max(xa, float(i));
                    coverage[i] += std::max(0.0f, overlap) / sub;
                }
            }
        }
        for (int i = 0; i < width_; ++i) {
            if (coverage[i] > 0.0f) {
                Blend(i, j, c, std::min(1.0f, coverage[i]));
            }
        }
    }
}

void Canvas::Glow(float cx, float cy, float radius, Colour c, float falloff) {
    for (int j = std::max(0, int(cy - radius)); j < std::min(height_, int(cy + radius) + 1); ++j) {
        for (int i = std::max(0, int(cx - radius)); i < std::min(width_, int(cx + radius) + 1); ++i) {
            float d = std::hypot(i + 0.5f - cx, j + 0.5f - cy) / radius;
            if (d < 1.0f) {
                Blend(i, j, c, std::pow(1.0f - d, falloff));
            }
        }
    }
}

void Canvas::Draw(const Canvas& src, int x, int y, float opacity) {
    for (int j = 0; j < src.height_; ++j) {
        for (int i = 0; i < src.width_; ++i) {
            Blend(x + i, y + j, src.At(i, j), opacity);
        }
    }
}

void Canvas::DrawScaled(const Canvas& src, int x, int y, int w, int h) {
    for (int j = 0; j < h; ++j) {
        int sy0 = j * src.height_ / h, sy1 = std::max(sy0 + 1, (j + 1) * src.height_ / h);
        for (int i = 0; i < w; ++i) {
            int sx0 = i * src.width_ / w, sx1 = std::max(sx0 + 1, (i + 1) * src.width_ / w);
            Colour sum{0, 0, 0, 0};
            float count = 0.0f;
            for (int sy = sy0; sy < sy1; ++sy) {
                for (int sx = sx0; sx < sx1; ++sx) {
                    const Colour& p = src.At(sx, sy);
                    sum.r += p.r * p.a;
                    sum.g += p.g * p.a;
                    sum.b += p.b * p.a;
                    sum.a += p.a;
                    count += 1.0f;
                }
            }
            if (sum.a > 0.0f) {
                Blend(x + i, y + j, Colour{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / count});
            }
        }
    }
}

void Canvas::Vignette(float strength) {
    for (int j = 0; j < height_; ++j) {
        for (int i = 0; i < width_; ++i) {
            float dx = (i + 0.5f) / width_ - 0.5f, dy = (j + 0.5f) / height_ - 0.5f;
            float d = std::sqrt(dx * dx + dy * dy) * 1.41f;
            Colour& p = At(i, j);
            float s = 1.0f - strength * d * d;
            p.r *= s;
            p.g *= s;
            p.b *= s;
        }
    }
}

bool Canvas::Save(const std::string& path) const {
    bool bmp = path.size() > 4 && path.compare(path.size() - 4, 4, ".bmp") == 0;
    FIBITMAP* bitmap = FreeImage_Allocate(width_, height_, bmp ? 24 : 32);
    if (bitmap == nullptr) {
        return false;
    }
    int step = bmp ? 3 : 4;
    for (int y = 0; y < height_; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, height_ - 1 - y);
        for (int x = 0; x < width_; ++x) {
            const Colour& c = At(x, y);
            auto byte = [](float v) {
                return static_cast<BYTE>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
            };
            line[x * step + FI_RGBA_RED] = byte(c.r);
            line[x * step + FI_RGBA_GREEN] = byte(c.g);
            line[x * step + FI_RGBA_BLUE] = byte(c.b);
            if (!bmp) {
                line[x * step + FI_RGBA_ALPHA] = byte(c.a);
            }
        }
    }
    bool ok =
        FreeImage_Save(bmp ? FIF_BMP : FIF_PNG, bitmap, path.c_str(), bmp ? BMP_DEFAULT : PNG_Z_BEST_SPEED);
    FreeImage_Unload(bitmap);
    return ok;
}

float Hash01(int x, int y, uint32_t seed) {
    uint32_t h =
        static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / float(0xFFFFFF);
}

float TileNoise(float u, float v, int period, uint32_t seed) {
    float x = u * period, y = v * period;
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    float fx = x - x0, fy = y - y0;
    auto wrap = [period](int k) { return ((k % period) + period) % period; };
    auto corner = [&](int i, int j) { return Hash01(wrap(i), wrap(j), seed); };
    float sx = fx * fx * (3.0f - 2.0f * fx), sy = fy * fy * (3.0f - 2.0f * fy);
    float top = corner(x0, y0) + (corner(x0 + 1, y0) - corner(x0, y0)) * sx;
    float bottom = corner(x0, y0 + 1) + (corner(x0 + 1, y0 + 1) - corner(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

float TileFbm(float u, float v, int period, int octaves, uint32_t seed) {
    float sum = 0.0f, amplitude = 0.5f, total = 0.0f;
    for (int k = 0; k < octaves; ++k) {
        sum += TileNoise(u, v, period << k, seed + 17u * k) * amplitude;
        total += amplitude;
        amplitude *= 0.5f;
    }
    return sum / total;
}
