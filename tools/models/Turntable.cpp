// Renders each whole mech from four sides into one review picture, with a small software rasteriser:
//   vantor_turntable <run folder> <output folder>
// The mechs are read back from the files the catalogue names and drawn with the player's skin
// ("Art Assets\Textures\ArmyPlayer.png") when it exists, otherwise with a chart of the skin regions.

#include "platform/Paths.h"

#include <FreeImage.h>
#include <tinyxml2.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int viewSize = 320;
constexpr int viewCount = 4;
constexpr float pi = 3.14159265f;

struct V3 {
    float x, y, z;
};
V3 Sub(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 CrossV(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float DotV(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Norm(V3 a) {
    const float l = std::sqrt(DotV(a, a));
    return l > 0 ? V3{a.x / l, a.y / l, a.z / l} : a;
}

struct Triangle {
    std::array<V3, 3> p;
    std::array<std::array<float, 2>, 3> uv;
};

// Reads the triangles of every object of an exported scene, in the file's coordinates.
std::vector<Triangle> ReadTriangles(const std::string& path) {
    std::ifstream in(path);
    std::vector<Triangle> tris;
    std::vector<V3> verts;
    std::vector<std::array<float, 2>> tverts;
    std::vector<std::array<int, 3>> faces, tfaces;
    const auto flush = [&] {
        for (size_t i = 0; i < faces.size(); ++i) {
            Triangle t{};
            bool ok = true;
            for (int c = 0; c < 3; ++c) {
                const int v = faces[i][c];
                const int tv = i < tfaces.size() ? tfaces[i][c] : -1;
                ok = ok && v >= 0 && v < static_cast<int>(verts.size());
                if (ok) {
                    t.p[c] = verts[v];
                }
                t.uv[c] =
                    tv >= 0 && tv < static_cast<int>(tverts.size()) ? tverts[tv] : std::array<float, 2>{0, 0};
            }
            if (ok) {
                tris.push_back(t);
            }
        }
        verts.clear();
        tverts.clear();
        faces.clear();
        tfaces.clear();
    };
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream s(line);
        std::string token;
        s >> token;
        if (token == "*GEOMOBJECT") {
            flush();
        } else if (token == "*MESH_VERTEX") {
            int index;
            V3 v;
            s >> index >> v.x >> v.y >> v.z;
            verts.push_back(v);
        } else if (token == "*MESH_FACE") {
            std::string word;
            std::array<int, 3> f{};
            s >> word >> word >> f[0] >> word >> f[1] >> word >> f[2];
            faces.push_back(f);
        } else if (token == "*MESH_TVERT") {
            int index;
            std::array<float, 2> uv{};
            s >> index >> uv[0] >> uv[1];
            tverts.push_back(uv);
        } else if (token == "*MESH_TFACE") {
            int index;
            std::array<int, 3> f{};
            s >> index >> f[0] >> f[1] >> f[2];
            if (index >= static_cast<int>(tfaces.size())) {
                tfaces.resize(index + 1, {-1, -1, -1});
            }
            tfaces[index] = f;
        }
    }
    flush();
    return tris;
}

struct Texture {
    int width = 0, height = 0;
    std::vector<std::array<float, 3>> texels;

    std::array<float, 3> Sample(float u, float v) const {
        u -= std::floor(u);
        v -= std::floor(v);
        const int x = std::min(width - 1, static_cast<int>(u * static_cast<float>(width)));
        const int y = std::min(height - 1, static_cast<int>(v * static_cast<float>(height)));
        return texels[static_cast<size_t>(y) * width + x];
    }
};

// Four colours for the four skin regions, with a grid so stretching shows.
Texture RegionChart() {
    Texture t;
    t.width = t.height = 256;
    const std::array<float, 3> colours[4] = {
        {0.8f, 0.3f, 0.25f}, {0.3f, 0.45f, 0.85f}, {0.3f, 0.7f, 0.35f}, {0.85f, 0.75f, 0.3f}};
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            std::array<float, 3> c = colours[(x >= 128 ? 1 : 0) + (y >= 128 ? 2 : 0)];
            if (x % 32 == 0 || y % 32 == 0) {
                c = {c[0] * 0.5f, c[1] * 0.5f, c[2] * 0.5f};
            }
            t.texels.push_back(c);
        }
    }
    return t;
}

bool LoadTexture(const std::string& path, Texture& t) {
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) {
        return false;
    }
    FIBITMAP* loaded = FreeImage_Load(format, path.c_str(), 0);
    if (loaded == nullptr) {
        return false;
    }
    FIBITMAP* rgb = FreeImage_ConvertTo24Bits(loaded);
    FreeImage_Unload(loaded);
    if (rgb == nullptr) {
        return false;
    }
    t.width = static_cast<int>(FreeImage_GetWidth(rgb));
    t.height = static_cast<int>(FreeImage_GetHeight(rgb));
    for (int y = 0; y < t.height; ++y) {
        const BYTE* row = FreeImage_GetScanLine(rgb, y);
        for (int x = 0; x < t.width; ++x) {
            const BYTE* px = row + 3 * x;
            t.texels.push_back(
                {px[FI_RGBA_RED] / 255.0f, px[FI_RGBA_GREEN] / 255.0f, px[FI_RGBA_BLUE] / 255.0f});
        }
    }
    FreeImage_Unload(rgb);
    return t.width > 0 && t.height > 0;
}

struct Canvas {
    int width, height;
    std::vector<std::array<float, 3>> colour;
    std::vector<float> depth;
};

// Draws the mesh into one square of the canvas, seen from the given yaw and pitch around the tile centre.
void DrawView(Canvas& canvas, int left, const std::vector<Triangle>& tris, const Texture& tex, float yaw,
              float pitch) {
    const V3 target{0, 0, 1.0f};
    const float distance = 7.0f;
    const V3 eye{target.x + distance * std::cos(pitch) * std::cos(yaw),
                 target.y + distance * std::cos(pitch) * std::sin(yaw),
                 target.z + distance * std::sin(pitch)};
    const V3 forward = Norm(Sub(target, eye));
    const V3 right = Norm(CrossV(forward, {0, 0, 1}));
    const V3 up = CrossV(right, forward);
    const V3 light = Norm({0.4f, 0.3f, 0.85f});
    const float focal = static_cast<float>(viewSize) * 1.6f;

    // The tile the mech stands on, as a flat grey floor.
    std::vector<Triangle> scene = tris;
    const float h = 2.0f;
    scene.push_back({{{{-h, -h, 0}, {h, -h, 0}, {h, h, 0}}}, {{{-1, -1}, {-1, -1}, {-1, -1}}}});
    scene.push_back({{{{-h, -h, 0}, {h, h, 0}, {-h, h, 0}}}, {{{-1, -1}, {-1, -1}, {-1, -1}}}});

    for (const Triangle& t : scene) {
        const V3 n = Norm(CrossV(Sub(t.p[1], t.p[0]), Sub(t.p[2], t.p[0])));
        const bool floor = t.uv[0][0] < 0;
        if (!floor && DotV(n, Sub(t.p[0], eye)) >= 0) {
            continue; // back face: the files must face outwards
        }
        const float shade = 0.35f + 0.65f * std::max(0.0f, DotV(n, light));
        float sx[3], sy[3], iz[3];
        bool visible = true;
        for (int c = 0; c < 3; ++c) {
            const V3 d = Sub(t.p[c], eye);
            const float z = DotV(d, forward);
            if (z < 0.1f) {
                visible = false;
                break;
            }
            iz[c] = 1.0f / z;
            sx[c] = static_cast<float>(left) + viewSize * 0.5f + DotV(d, right) * focal * iz[c];
            sy[c] = viewSize * 0.55f - DotV(d, up) * focal * iz[c];
        }
        if (!visible) {
            continue;
        }
        const float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
        if (std::fabs(area) < 1e-6f) {
            continue;
        }
        const int x0 = std::max(left, static_cast<int>(std::floor(std::min({sx[0], sx[1], sx[2]}))));
        const int x1 =
            std::min(left + viewSize - 1, static_cast<int>(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({sy[0], sy[1], sy[2]}))));
        const int y1 =
            std::min(canvas.height - 1, static_cast<int>(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                float w[3];
                for (int c = 0; c < 3; ++c) {
                    const int a = (c + 1) % 3, b = (c + 2) % 3;
                    w[c] = ((sx[b] - sx[a]) * (py - sy[a]) - (sy[b] - sy[a]) * (px - sx[a])) / area;
                }
                if (w[0] < 0 || w[1] < 0 || w[2] < 0) {
                    continue;
                }
                const float invZ = w[0] * iz[0] + w[1] * iz[1] + w[2] * iz[2];
                const size_t at = static_cast<size_t>(y) * canvas.width + x;
                if (invZ <= canvas.depth[at]) {
                    continue;
                }
                canvas.depth[at] = invZ;
                std::array<float, 3> c{0.45f, 0.47f, 0.5f};
                if (!floor) {
                    float u = 0, v = 0;
                    for (int k = 0; k < 3; ++k) {
                        u += w[k] * iz[k] * t.uv[k][0];
                        v += w[k] * iz[k] * t.uv[k][1];
                    }
                    c = tex.Sample(u / invZ, v / invZ);
                }
                canvas.colour[at] = {c[0] * shade, c[1] * shade, c[2] * shade};
            }
        }
    }
}

bool SavePng(const Canvas& canvas, const std::string& path) {
    FIBITMAP* out = FreeImage_Allocate(canvas.width, canvas.height, 24);
    if (out == nullptr) {
        return false;
    }
    for (int y = 0; y < canvas.height; ++y) {
        BYTE* row = FreeImage_GetScanLine(out, canvas.height - 1 - y);
        for (int x = 0; x < canvas.width; ++x) {
            const auto& c = canvas.colour[static_cast<size_t>(y) * canvas.width + x];
            row[3 * x + FI_RGBA_RED] = static_cast<BYTE>(std::clamp(c[0], 0.0f, 1.0f) * 255.0f);
            row[3 * x + FI_RGBA_GREEN] = static_cast<BYTE>(std::clamp(c[1], 0.0f, 1.0f) * 255.0f);
            row[3 * x + FI_RGBA_BLUE] = static_cast<BYTE>(std::clamp(c[2], 0.0f, 1.0f) * 255.0f);
        }
    }
    const bool saved = FreeImage_Save(FIF_PNG, out, path.c_str(), 0) != 0;
    FreeImage_Unload(out);
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <run folder> <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path runDir = argv[1];
    const std::filesystem::path outDir = argv[2];
    std::filesystem::create_directories(outDir);
    FreeImage_Initialise(FALSE);

    Texture skin;
    const std::string skinPath = (runDir / NativePath("Art Assets\\Textures\\ArmyPlayer.png")).string();
    const bool textured = LoadTexture(skinPath, skin);
    if (!textured) {
        skin = RegionChart();
    }
    Texture chart = RegionChart();

    tinyxml2::XMLDocument doc;
    const std::string catalogue = (runDir / NativePath("XMLFiles\\Models.xml")).string();
    const tinyxml2::XMLElement* models =
        doc.LoadFile(catalogue.c_str()) == tinyxml2::XML_SUCCESS ? doc.FirstChildElement("models") : nullptr;
    if (models == nullptr) {
        std::fprintf(stderr, "Could not open file for reading: %s\n", catalogue.c_str());
        FreeImage_DeInitialise();
        return 1;
    }

    const char* mechs[] = {"WOLF_COMPILED", "RAT_COMPILED",    "SPIDER_COMPILED",
                           "ANT_COMPILED",  "TURTLE_COMPILED", "FROG_COMPILED"};
    const int rows = 2 * static_cast<int>(std::size(mechs));
    Canvas sheet{viewSize * viewCount, viewSize * rows, {}, {}};
    sheet.colour.assign(static_cast<size_t>(sheet.width) * sheet.height, {0.16f, 0.17f, 0.2f});
    int failures = 0;
    for (int m = 0; m < static_cast<int>(std::size(mechs)); ++m) {
        const tinyxml2::XMLElement* slot = models->FirstChildElement(mechs[m]);
        const std::string path = slot != nullptr && slot->GetText() != nullptr
                                     ? (runDir / NativePath(slot->GetText())).string()
                                     : "";
        const std::vector<Triangle> tris = ReadTriangles(path);
        if (tris.empty()) {
            std::fprintf(stderr, "No triangles in %s (%s)\n", mechs[m], path.c_str());
            ++failures;
            continue;
        }
        // Top row of each pair: the skin; bottom row: the region chart.
        for (int pass = 0; pass < 2; ++pass) {
            Canvas row{sheet.width, viewSize, {}, {}};
            row.colour.assign(static_cast<size_t>(row.width) * row.height, {0.16f, 0.17f, 0.2f});
            row.depth.assign(row.colour.size(), 0.0f);
            for (int v = 0; v < viewCount; ++v) {
                const float yaw = pi * 0.25f + pi * 0.5f * static_cast<float>(v);
                DrawView(row, v * viewSize, tris, pass == 0 ? skin : chart, yaw, 0.35f);
            }
            std::copy(row.colour.begin(), row.colour.end(),
                      sheet.colour.begin() + static_cast<long>(2 * m + pass) * viewSize * sheet.width);
        }
        Canvas single{sheet.width, 2 * viewSize, {}, {}};
        const auto first = sheet.colour.begin() + static_cast<long>(2 * m) * viewSize * sheet.width;
        single.colour.assign(first, first + static_cast<long>(single.width) * single.height);
        std::string name = mechs[m];
        name = name.substr(0, name.find('_'));
        if (!SavePng(single, (outDir / ("turntable_" + name + ".png")).string())) {
            ++failures;
        }
    }
    const std::string out = (outDir / "mech_turntables.png").string();
    if (!SavePng(sheet, out)) {
        std::fprintf(stderr, "Could not write %s\n", out.c_str());
        ++failures;
    } else {
        std::printf("Wrote %s (%s)\n", out.c_str(),
                    textured ? "player skin and region chart" : "region chart");
    }
    FreeImage_DeInitialise();
    return failures == 0 ? 0 : 1;
}
