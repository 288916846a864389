#include "Mesh.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

Vec3 Lerp(Vec3 a, Vec3 b, float t) {
    return a + (b - a) * t;
}

int AddPosition(Mesh& mesh, Vec3 p) {
    mesh.positions.push_back(p);
    return static_cast<int>(mesh.positions.size()) - 1;
}

int AddUv(Mesh& mesh, float u, float v) {
    mesh.uvs.push_back({u, v});
    return static_cast<int>(mesh.uvs.size()) - 1;
}

// Adds a triangle whose front side looks along outward; degenerate triangles are dropped.
void AddTriangle(Mesh& mesh, std::array<int, 3> v, std::array<int, 3> t, Vec3 outward) {
    const Vec3 a = mesh.positions[v[0]];
    const Vec3 normal = Cross(mesh.positions[v[1]] - a, mesh.positions[v[2]] - a);
    if (Length(normal) < 1e-9f) {
        return;
    }
    if (Dot(normal, outward) < 0.0f) {
        std::swap(v[1], v[2]);
        std::swap(t[1], t[2]);
    }
    mesh.faces.push_back(v);
    mesh.texFaces.push_back(t);
}

// Tangents of the path through the ring centres.
std::vector<Vec3> PathTangents(const std::vector<Ring>& rings) {
    const size_t n = rings.size();
    std::vector<Vec3> tangents(n);
    for (size_t i = 0; i < n; ++i) {
        const Vec3 prev = rings[i == 0 ? 0 : i - 1].centre;
        const Vec3 next = rings[i + 1 == n ? n - 1 : i + 1].centre;
        tangents[i] = Normalised(next - prev);
    }
    return tangents;
}

} // namespace

Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
float Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Length(Vec3 a) {
    return std::sqrt(Dot(a, a));
}
Vec3 Normalised(Vec3 a) {
    const float len = Length(a);
    return len > 1e-12f ? a * (1.0f / len) : Vec3{};
}
Vec3 MirrorY(Vec3 a) {
    return {a.x, -a.y, a.z};
}

void Mesh::Append(const Mesh& other) {
    const int vertexBase = static_cast<int>(positions.size());
    const int uvBase = static_cast<int>(uvs.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    uvs.insert(uvs.end(), other.uvs.begin(), other.uvs.end());
    for (size_t i = 0; i < other.faces.size(); ++i) {
        const auto& f = other.faces[i];
        const auto& t = other.texFaces[i];
        faces.push_back({f[0] + vertexBase, f[1] + vertexBase, f[2] + vertexBase});
        texFaces.push_back({t[0] + uvBase, t[1] + uvBase, t[2] + uvBase});
    }
}

void AddLoft(Mesh& mesh, const std::vector<Ring>& rings, const LoftStyle& style, UvRect uv) {
    if (rings.size() < 2 || style.sides < 3) {
        return;
    }
    const int sides = style.sides;
    const int ringCount = static_cast<int>(rings.size());
    const std::vector<Vec3> tangents = PathTangents(rings);
    // A square cross-section is a four-sided circle turned by 45 degrees and widened to reach the corners.
    const float widen = sides == 4 ? std::sqrt(2.0f) : 1.0f;

    // Frames are carried along the path so that bends do not twist the cross-section.
    Vec3 reference = std::fabs(tangents[0].z) > 0.95f ? Vec3{1, 0, 0} : Vec3{0, 0, 1};
    Vec3 side = Normalised(Cross(tangents[0], reference));
    std::vector<int> firstVertex(ringCount);
    std::vector<int> firstUv(ringCount);
    for (int i = 0; i < ringCount; ++i) {
        const Vec3 t = tangents[i];
        side = Normalised(side - t * Dot(side, t));
        const Vec3 up = Normalised(Cross(side, t));
        firstVertex[i] = static_cast<int>(mesh.positions.size());
        for (int k = 0; k < sides; ++k) {
            const float a = 2.0f * pi * static_cast<float>(k) / static_cast<float>(sides) + style.twist;
            const Ring& r = rings[i];
            AddPosition(mesh, r.centre + side * (std::cos(a) * r.halfWidth * widen) +
                                  up * (std::sin(a) * r.halfHeight * widen));
        }
        firstUv[i] = static_cast<int>(mesh.uvs.size());
        const float v = uv.v0 + (uv.v1 - uv.v0) * static_cast<float>(i) / static_cast<float>(ringCount - 1);
        for (int k = 0; k <= sides; ++k) {
            AddUv(mesh, uv.u0 + (uv.u1 - uv.u0) * static_cast<float>(k) / static_cast<float>(sides), v);
        }
    }

    for (int i = 0; i + 1 < ringCount; ++i) {
        const Vec3 axisMid = Lerp(rings[i].centre, rings[i + 1].centre, 0.5f);
        for (int k = 0; k < sides; ++k) {
            const int k1 = (k + 1) % sides;
            const int a = firstVertex[i] + k, b = firstVertex[i] + k1;
            const int c = firstVertex[i + 1] + k1, d = firstVertex[i + 1] + k;
            const int ta = firstUv[i] + k, tb = firstUv[i] + k + 1;
            const int tc = firstUv[i + 1] + k + 1, td = firstUv[i + 1] + k;
            const Vec3 quadMid = (mesh.positions[a] + mesh.positions[c]) * 0.5f;
            const Vec3 outward = quadMid - axisMid;
            AddTriangle(mesh, {a, b, c}, {ta, tb, tc}, outward);
            AddTriangle(mesh, {a, c, d}, {ta, tc, td}, outward);
        }
    }

    const auto addCap = [&](int ring, Vec3 outward, float bulge) {
        const int centre = AddPosition(mesh, rings[ring].centre + outward * bulge);
        const float uMid = (uv.u0 + uv.u1) * 0.5f, vMid = (uv.v0 + uv.v1) * 0.5f;
        const int centreUv = AddUv(mesh, uMid, vMid);
        const int rimUv = static_cast<int>(mesh.uvs.size());
        for (int k = 0; k < sides; ++k) {
            const float a = 2.0f * pi * static_cast<float>(k) / static_cast<float>(sides);
            AddUv(mesh, uMid + std::cos(a) * (uv.u1 - uv.u0) * 0.5f,
                  vMid + std::sin(a) * (uv.v1 - uv.v0) * 0.5f);
        }
        for (int k = 0; k < sides; ++k) {
            const int k1 = (k + 1) % sides;
            const Vec3 edgeMid =
                (mesh.positions[firstVertex[ring] + k] + mesh.positions[firstVertex[ring] + k1]) * 0.5f;
            // Flat caps face along the path; pointed ones face away from the axis as well.
            const Vec3 facing = outward + (edgeMid - rings[ring].centre) * (bulge > 0.0f ? 1.0f : 0.0f);
            AddTriangle(mesh, {centre, firstVertex[ring] + k, firstVertex[ring] + k1},
                        {centreUv, rimUv + k, rimUv + k1}, facing);
        }
    };
    if (style.capStart) {
        addCap(0, tangents.front() * -1.0f, style.startBulge);
    }
    if (style.capEnd) {
        addCap(ringCount - 1, tangents.back(), style.endBulge);
    }
}

void AddTaperedBeam(Mesh& mesh, Vec3 from, Vec3 to, float width0, float height0, float width1, float height1,
                    UvRect uv) {
    LoftStyle style;
    style.sides = 4;
    style.twist = pi / 4.0f;
    AddLoft(mesh, {{from, width0 * 0.5f, height0 * 0.5f}, {to, width1 * 0.5f, height1 * 0.5f}}, style, uv);
}

void AddBeam(Mesh& mesh, Vec3 from, Vec3 to, float width, float height, UvRect uv) {
    AddTaperedBeam(mesh, from, to, width, height, width, height, uv);
}

void AddBox(Mesh& mesh, Vec3 centre, Vec3 size, UvRect uv) {
    // Built along x, so "across" is y and "up" is z.
    const Vec3 half{size.x * 0.5f, 0.0f, 0.0f};
    AddBeam(mesh, centre - half, centre + half, size.y, size.z, uv);
}

void AddCylinder(Mesh& mesh, Vec3 from, Vec3 to, float radius0, float radius1, int sides, UvRect uv) {
    LoftStyle style;
    style.sides = sides;
    AddLoft(mesh, {{from, radius0, radius0}, {to, radius1, radius1}}, style, uv);
}

void AddEllipsoid(Mesh& mesh, Vec3 from, Vec3 to, float halfWidth, float halfHeight, int sides, int rings,
                  UvRect uv) {
    std::vector<Ring> loft;
    const Vec3 axis = to - from;
    const float halfLength = Length(axis) * 0.5f;
    const Vec3 centre = Lerp(from, to, 0.5f);
    const Vec3 dir = Normalised(axis);
    float endOffset = 0.0f;
    for (int i = 0; i < rings; ++i) {
        const float theta = pi * (static_cast<float>(i) + 0.5f) / static_cast<float>(rings);
        const float r = std::sin(theta);
        endOffset = halfLength * (1.0f - std::fabs(std::cos(theta)));
        loft.push_back({centre + dir * (-std::cos(theta) * halfLength), halfWidth * r, halfHeight * r});
    }
    LoftStyle style;
    style.sides = sides;
    style.startBulge = endOffset;
    style.endBulge = endOffset;
    AddLoft(mesh, loft, style, uv);
}

void AddDome(Mesh& mesh, Vec3 baseCentre, Vec3 halfSize, int sides, int rings, UvRect uv) {
    std::vector<Ring> loft;
    float topOffset = 0.0f;
    for (int i = 0; i < rings; ++i) {
        const float phi = 0.5f * pi * static_cast<float>(i) / static_cast<float>(rings);
        const float r = std::cos(phi);
        topOffset = halfSize.z * (1.0f - std::sin(phi));
        loft.push_back({baseCentre + Vec3{0, 0, std::sin(phi) * halfSize.z}, halfSize.y * r, halfSize.x * r});
    }
    LoftStyle style;
    style.sides = sides;
    style.endBulge = topOffset;
    AddLoft(mesh, loft, style, uv);
}

void AddLimb(Mesh& mesh, const std::vector<Vec3>& joints, float radius0, float radius1, int sides,
             UvRect uv) {
    std::vector<Ring> loft;
    const size_t n = joints.size();
    for (size_t i = 0; i < n; ++i) {
        const float t = n > 1 ? static_cast<float>(i) / static_cast<float>(n - 1) : 0.0f;
        const float r = radius0 + (radius1 - radius0) * t;
        loft.push_back({joints[i], r, r});
    }
    LoftStyle style;
    style.sides = sides;
    style.startBulge = radius0 * 0.6f;
    style.endBulge = radius1 * 0.6f;
    AddLoft(mesh, loft, style, uv);
}

void Bounds(const Mesh& mesh, Vec3& lo, Vec3& hi) {
    lo = hi = mesh.positions.empty() ? Vec3{} : mesh.positions.front();
    for (const Vec3& p : mesh.positions) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
}
