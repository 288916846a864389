#pragma once

#include <array>
#include <string>
#include <vector>

// Geometry for the model generator. Coordinates are those of the model files: x forward, y to the
// mech's left, z up; one battle tile spans -2..2 in x and y and the mech's feet stand on z = 0.

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

// Component-wise helpers for the few vector operations the builders need.
Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, float s);
float Dot(Vec3 a, Vec3 b);
Vec3 Cross(Vec3 a, Vec3 b);
float Length(Vec3 a);
Vec3 Normalised(Vec3 a);
// Mirrors a point to the other side of the mech (y negated).
Vec3 MirrorY(Vec3 a);

// A rectangle of the skin texture that one part of a model is mapped onto.
struct UvRect {
    float u0 = 0.0f, v0 = 0.0f, u1 = 1.0f, v1 = 1.0f;
};

// The skin is split into four regions so every skin reads the same way on every mech.
namespace SkinRegion {
inline constexpr UvRect Body{0.0f, 0.0f, 0.5f, 0.5f};
inline constexpr UvRect Head{0.5f, 0.0f, 1.0f, 0.5f};
inline constexpr UvRect Legs{0.0f, 0.5f, 0.5f, 1.0f};
inline constexpr UvRect Detail{0.5f, 0.5f, 1.0f, 1.0f};
} // namespace SkinRegion

// One ring of a loft: its centre and its half sizes across (side) and up (height) the path.
struct Ring {
    Vec3 centre;
    float halfWidth = 0.1f;
    float halfHeight = 0.1f;
};

// A triangle mesh with one texture coordinate per face corner.
struct Mesh {
    std::vector<Vec3> positions;
    std::vector<std::array<float, 2>> uvs;
    std::vector<std::array<int, 3>> faces;
    std::vector<std::array<int, 3>> texFaces;

    // Appends every triangle of another mesh.
    void Append(const Mesh& other);
    // Number of triangles.
    int TriangleCount() const { return static_cast<int>(faces.size()); }
};

// Options of a loft: number of sides, rotation of the cross-section, and which ends are closed.
struct LoftStyle {
    int sides = 8;
    float twist = 0.0f;
    bool capStart = true;
    bool capEnd = true;
    // How far each cap's centre stands out beyond its end ring (0 gives a flat cap).
    float startBulge = 0.0f;
    float endBulge = 0.0f;
};

// Sweeps a cross-section through the rings; triangles face outwards, texture spans the rectangle.
void AddLoft(Mesh& mesh, const std::vector<Ring>& rings, const LoftStyle& style, UvRect uv);

// A box from one end centre to the other, with the given full width (across) and height (up).
void AddBeam(Mesh& mesh, Vec3 from, Vec3 to, float width, float height, UvRect uv);
// A box tapering from one cross-section to another along the segment.
void AddTaperedBeam(Mesh& mesh, Vec3 from, Vec3 to, float width0, float height0, float width1, float height1,
                    UvRect uv);
// An axis-aligned box given by its centre and full sizes.
void AddBox(Mesh& mesh, Vec3 centre, Vec3 size, UvRect uv);
// A round tube between two points with radii at both ends.
void AddCylinder(Mesh& mesh, Vec3 from, Vec3 to, float radius0, float radius1, int sides, UvRect uv);
// An ellipsoid along the segment from one pole to the other, with half sizes across and up.
void AddEllipsoid(Mesh& mesh, Vec3 from, Vec3 to, float halfWidth, float halfHeight, int sides, int rings,
                  UvRect uv);
// The upper half of an ellipsoid standing on z = base, centred at (x, y) with the given half sizes.
void AddDome(Mesh& mesh, Vec3 baseCentre, Vec3 halfSize, int sides, int rings, UvRect uv);
// A limb through the joints, round, with the radius running linearly from the first to the last.
void AddLimb(Mesh& mesh, const std::vector<Vec3>& joints, float radius0, float radius1, int sides, UvRect uv);

// Smallest box holding every vertex.
void Bounds(const Mesh& mesh, Vec3& lo, Vec3& hi);
