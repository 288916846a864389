// The six whole mechs and their cores. Each mech faces +x, stands on z = 0 and fits on one tile
// (-2..2 in x and y). The body, head, legs and details use their own regions of the skin.

#include "Models.h"

#include <cmath>

namespace {

using namespace SkinRegion;

constexpr float pi = 3.14159265f;

// A limb on both sides of the mech.
void AddLimbPair(Mesh& mesh, const std::vector<Vec3>& joints, float radius0, float radius1, int sides,
                 UvRect uv) {
    AddLimb(mesh, joints, radius0, radius1, sides, uv);
    std::vector<Vec3> mirrored;
    for (Vec3 j : joints) {
        mirrored.push_back(MirrorY(j));
    }
    AddLimb(mesh, mirrored, radius0, radius1, sides, uv);
}

void AddBoxPair(Mesh& mesh, Vec3 centre, Vec3 size, UvRect uv) {
    AddBox(mesh, centre, size, uv);
    AddBox(mesh, MirrorY(centre), size, uv);
}

void AddBeamPair(Mesh& mesh, Vec3 from, Vec3 to, float w0, float h0, float w1, float h1, UvRect uv) {
    AddTaperedBeam(mesh, from, to, w0, h0, w1, h1, uv);
    AddTaperedBeam(mesh, MirrorY(from), MirrorY(to), w0, h0, w1, h1, uv);
}

void AddSpherePair(Mesh& mesh, Vec3 centre, float radius, UvRect uv) {
    const Vec3 half{radius, 0, 0};
    AddEllipsoid(mesh, centre - half, centre + half, radius, radius, 8, 5, uv);
    AddEllipsoid(mesh, MirrorY(centre) - half, MirrorY(centre) + half, radius, radius, 8, 5, uv);
}

// A body swept through rings, rounded at both ends.
void AddBody(Mesh& mesh, const std::vector<Ring>& rings, int sides, float bulge, UvRect uv) {
    LoftStyle style;
    style.sides = sides;
    style.startBulge = bulge;
    style.endBulge = bulge;
    AddLoft(mesh, rings, style, uv);
}

// Two barrels on a block, the mechs' common back-mounted gun.
void AddBackGun(Mesh& mesh, Vec3 mount, float length) {
    AddBox(mesh, mount, {0.45f, 0.42f, 0.18f}, Detail);
    for (float side : {-0.12f, 0.12f}) {
        const Vec3 start = mount + Vec3{0.1f, side, 0.05f};
        AddCylinder(mesh, start, start + Vec3{length, 0, 0.02f}, 0.055f, 0.045f, 6, Detail);
    }
}

// A leg of a spider or an ant, reaching out from the hip at an angle from forward.
void AddInsectLeg(Mesh& mesh, Vec3 hip, float angle, float reach, float kneeHeight, float radius) {
    const Vec3 dir{std::cos(angle), std::sin(angle), 0.0f};
    const Vec3 knee = hip + dir * (reach * 0.4f) + Vec3{0, 0, kneeHeight - hip.z};
    const Vec3 ankle = hip + dir * (reach * 0.78f) + Vec3{0, 0, 0.45f - hip.z};
    const Vec3 foot = hip + dir * reach + Vec3{0, 0, 0.03f - hip.z};
    AddLimb(mesh, {hip, knee, ankle, foot}, radius, radius * 0.45f, 6, Legs);
}

// [SECTION] Wolf: lean, four long legs, snout and tail.

void WolfBody(Mesh& m) {
    AddBody(m,
            {{{-1.05f, 0, 1.45f}, 0.30f, 0.28f},
             {{-0.3f, 0, 1.45f}, 0.34f, 0.33f},
             {{0.45f, 0, 1.55f}, 0.42f, 0.45f},
             {{0.85f, 0, 1.62f}, 0.34f, 0.38f}},
            8, 0.15f, Body);
    AddTaperedBeam(m, {-0.95f, 0, 1.76f}, {0.7f, 0, 1.98f}, 0.5f, 0.12f, 0.62f, 0.14f, Detail);
}

void WolfHead(Mesh& m) {
    AddTaperedBeam(m, {0.8f, 0, 1.72f}, {1.15f, 0, 2.05f}, 0.38f, 0.34f, 0.3f, 0.28f, Body);
    AddTaperedBeam(m, {1.05f, 0, 2.08f}, {1.38f, 0, 2.04f}, 0.42f, 0.38f, 0.34f, 0.3f, Head);
    AddTaperedBeam(m, {1.36f, 0, 2.0f}, {1.8f, 0, 1.92f}, 0.26f, 0.22f, 0.15f, 0.13f, Head);
    AddBeamPair(m, {1.15f, 0.12f, 2.2f}, {1.08f, 0.16f, 2.52f}, 0.12f, 0.08f, 0.02f, 0.02f, Head);
    AddBox(m, {1.36f, 0, 2.13f}, {0.08f, 0.36f, 0.07f}, Detail); // visor
}

void WolfLegs(Mesh& m) {
    AddLimbPair(m, {{0.7f, 0.28f, 1.45f}, {0.82f, 0.33f, 0.85f}, {0.78f, 0.33f, 0.3f}, {0.9f, 0.33f, 0.1f}},
                0.15f, 0.08f, 8, Legs);
    AddBoxPair(m, {0.95f, 0.33f, 0.06f}, {0.3f, 0.18f, 0.12f}, Legs);
    AddLimbPair(
        m, {{-0.85f, 0.28f, 1.38f}, {-0.58f, 0.33f, 0.88f}, {-1.05f, 0.33f, 0.42f}, {-0.95f, 0.33f, 0.1f}},
        0.18f, 0.08f, 8, Legs);
    AddBoxPair(m, {-0.9f, 0.33f, 0.06f}, {0.3f, 0.18f, 0.12f}, Legs);
    const Vec3 thigh0{-0.98f, 0.31f, 1.45f}, thigh1{-0.62f, 0.33f, 1.02f};
    AddEllipsoid(m, thigh0, thigh1, 0.14f, 0.2f, 8, 5, Legs);
    AddEllipsoid(m, MirrorY(thigh0), MirrorY(thigh1), 0.14f, 0.2f, 8, 5, Legs);
}

void WolfTail(Mesh& m) {
    AddLimb(m, {{-1.1f, 0, 1.5f}, {-1.42f, 0, 1.62f}, {-1.72f, 0, 1.45f}}, 0.1f, 0.04f, 6, Detail);
}

// [SECTION] Rat: low and long, pointed head, round ears, long curling tail.

void RatBody(Mesh& m) {
    AddBody(m,
            {{{-0.95f, 0, 0.75f}, 0.45f, 0.42f},
             {{-0.35f, 0, 0.86f}, 0.52f, 0.48f},
             {{0.3f, 0, 0.8f}, 0.43f, 0.4f},
             {{0.7f, 0, 0.72f}, 0.3f, 0.3f}},
            10, 0.2f, Body);
    for (float x : {-0.7f, -0.3f, 0.1f}) {
        AddTaperedBeam(m, {x, 0, 1.22f}, {x + 0.3f, 0, 1.2f}, 0.6f, 0.1f, 0.5f, 0.08f, Detail);
    }
}

void RatHead(Mesh& m) {
    LoftStyle cone;
    cone.sides = 8;
    cone.endBulge = 0.05f;
    AddLoft(m,
            {{{0.7f, 0, 0.76f}, 0.28f, 0.26f},
             {{1.05f, 0, 0.68f}, 0.18f, 0.16f},
             {{1.42f, 0, 0.6f}, 0.05f, 0.05f}},
            cone, Head);
    for (float side : {-1.0f, 1.0f}) {
        AddCylinder(m, {0.85f, 0.16f * side, 1.02f}, {0.85f, 0.21f * side, 1.02f}, 0.15f, 0.15f, 10, Head);
    }
    AddSpherePair(m, {1.0f, 0.13f, 0.8f}, 0.05f, Detail);
}

void RatLegs(Mesh& m) {
    AddLimbPair(m, {{0.45f, 0.3f, 0.6f}, {0.55f, 0.42f, 0.3f}, {0.62f, 0.45f, 0.06f}}, 0.1f, 0.06f, 6, Legs);
    AddBoxPair(m, {0.66f, 0.45f, 0.04f}, {0.22f, 0.14f, 0.08f}, Legs);
    AddLimbPair(m, {{-0.65f, 0.32f, 0.65f}, {-0.4f, 0.5f, 0.35f}, {-0.72f, 0.5f, 0.06f}}, 0.15f, 0.07f, 6,
                Legs);
    AddBoxPair(m, {-0.66f, 0.5f, 0.04f}, {0.28f, 0.15f, 0.08f}, Legs);
}

void RatTail(Mesh& m) {
    AddLimb(m,
            {{-1.15f, 0, 0.72f},
             {-1.5f, 0, 0.56f},
             {-1.75f, 0.22f, 0.42f},
             {-1.8f, 0.62f, 0.32f},
             {-1.6f, 1.02f, 0.25f},
             {-1.3f, 1.25f, 0.2f}},
            0.1f, 0.03f, 6, Detail);
}

// [SECTION] Spider: small thorax, big abdomen, eight high-kneed legs.

void SpiderBody(Mesh& m) {
    AddEllipsoid(m, {0.0f, 0, 1.0f}, {0.85f, 0, 1.1f}, 0.42f, 0.3f, 10, 6, Body);
    AddEllipsoid(m, {-1.35f, 0, 1.4f}, {-0.05f, 0, 1.1f}, 0.62f, 0.5f, 12, 7, Body);
    AddCylinder(m, {-1.2f, 0, 1.75f}, {-1.55f, 0, 2.05f}, 0.12f, 0.07f, 8, Detail); // spinneret gun
}

void SpiderHead(Mesh& m) {
    AddSpherePair(m, {0.82f, 0.1f, 1.2f}, 0.07f, Head);
    AddSpherePair(m, {0.78f, 0.22f, 1.16f}, 0.055f, Head);
    AddBeamPair(m, {0.88f, 0.1f, 0.98f}, {1.05f, 0.08f, 0.72f}, 0.08f, 0.08f, 0.02f, 0.02f, Head);
}

void SpiderLegs(Mesh& m) {
    const float hipX[4] = {0.7f, 0.48f, 0.26f, 0.04f};
    const float angle[4] = {40.0f, 72.0f, 104.0f, 138.0f};
    for (int i = 0; i < 4; ++i) {
        for (float side : {-1.0f, 1.0f}) {
            const float a = angle[i] * pi / 180.0f * side;
            AddInsectLeg(m, {hipX[i], 0.28f * side, 1.0f}, a, 1.55f, 1.75f, 0.09f);
        }
    }
}

// [SECTION] Ant: head, thorax and abdomen on a narrow waist; six legs, mandibles, antennae.

void AntBody(Mesh& m) {
    AddEllipsoid(m, {-1.75f, 0, 1.08f}, {-0.55f, 0, 0.86f}, 0.5f, 0.45f, 12, 7, Body);
    AddCylinder(m, {-0.62f, 0, 0.86f}, {-0.3f, 0, 0.86f}, 0.1f, 0.1f, 6, Body);
    AddEllipsoid(m, {-0.52f, 0, 0.86f}, {-0.38f, 0, 0.86f}, 0.15f, 0.18f, 6, 4, Body);
    AddEllipsoid(m, {-0.35f, 0, 0.85f}, {0.5f, 0, 0.96f}, 0.28f, 0.26f, 10, 6, Body);
    AddCylinder(m, {0.42f, 0, 0.95f}, {0.72f, 0, 1.05f}, 0.09f, 0.09f, 6, Body);
    AddBackGun(m, {-0.05f, 0, 1.2f}, 0.55f);
}

void AntHead(Mesh& m) {
    AddEllipsoid(m, {0.62f, 0, 1.1f}, {1.2f, 0, 1.0f}, 0.32f, 0.28f, 10, 6, Head);
    AddLimbPair(m, {{1.1f, 0.15f, 0.9f}, {1.42f, 0.22f, 0.85f}, {1.6f, 0.05f, 0.8f}}, 0.06f, 0.02f, 6, Head);
    AddLimbPair(m, {{1.0f, 0.1f, 1.25f}, {1.2f, 0.25f, 1.7f}, {1.6f, 0.35f, 1.82f}}, 0.03f, 0.015f, 5,
                Detail);
    AddSpherePair(m, {1.02f, 0.26f, 1.12f}, 0.07f, Detail);
}

void AntLegs(Mesh& m) {
    const float hipX[3] = {0.3f, 0.05f, -0.2f};
    const float angle[3] = {50.0f, 90.0f, 130.0f};
    for (int i = 0; i < 3; ++i) {
        for (float side : {-1.0f, 1.0f}) {
            AddInsectLeg(m, {hipX[i], 0.2f * side, 0.8f}, angle[i] * pi / 180.0f * side, 1.5f, 1.3f, 0.075f);
        }
    }
}

// [SECTION] Turtle: domed shell on a flat belly, stubby legs, head on a neck.

void TurtleBody(Mesh& m) {
    AddDome(m, {-0.1f, 0, 0.58f}, {1.35f, 1.12f, 1.0f}, 14, 6, Body);
    LoftStyle skirt;
    skirt.sides = 14;
    AddLoft(m, {{{-0.1f, 0, 0.42f}, 1.2f, 1.42f}, {{-0.1f, 0, 0.62f}, 1.24f, 1.47f}}, skirt, Detail);
    AddBox(m, {-0.1f, 0, 0.42f}, {2.2f, 1.8f, 0.2f}, Body);
    AddDome(m, {-0.1f, 0, 1.5f}, {0.5f, 0.45f, 0.14f}, 6, 2, Detail);
    AddDome(m, {0.6f, 0, 1.3f}, {0.35f, 0.5f, 0.12f}, 6, 2, Detail);
    AddDome(m, {-0.8f, 0, 1.3f}, {0.35f, 0.5f, 0.12f}, 6, 2, Detail);
    AddCylinder(m, {-0.1f, 0, 1.55f}, {-0.1f, 0, 1.8f}, 0.3f, 0.26f, 10, Detail);
    for (float side : {-0.1f, 0.1f}) {
        AddCylinder(m, {0.1f, side, 1.7f}, {0.85f, side, 1.75f}, 0.06f, 0.05f, 6, Detail);
    }
}

void TurtleHead(Mesh& m) {
    AddCylinder(m, {1.05f, 0, 0.6f}, {1.45f, 0, 0.76f}, 0.22f, 0.18f, 8, Body);
    AddEllipsoid(m, {1.35f, 0, 0.8f}, {1.85f, 0, 0.74f}, 0.22f, 0.2f, 8, 6, Head);
}

void TurtleLegs(Mesh& m) {
    AddLimbPair(m, {{0.75f, 0.75f, 0.5f}, {0.98f, 1.15f, 0.3f}, {1.05f, 1.28f, 0.06f}}, 0.24f, 0.18f, 8,
                Legs);
    AddLimbPair(m, {{-0.9f, 0.72f, 0.5f}, {-1.12f, 1.1f, 0.3f}, {-1.2f, 1.22f, 0.06f}}, 0.24f, 0.18f, 8,
                Legs);
    AddBoxPair(m, {1.08f, 1.3f, 0.05f}, {0.4f, 0.34f, 0.1f}, Legs);
    AddBoxPair(m, {-1.22f, 1.24f, 0.05f}, {0.4f, 0.34f, 0.1f}, Legs);
}

void TurtleTail(Mesh& m) {
    AddCylinder(m, {-1.42f, 0, 0.55f}, {-1.8f, 0, 0.4f}, 0.12f, 0.03f, 6, Detail);
}

// [SECTION] Frog: squat body tilted up at the front, huge folded hind legs, eyes on top.

void FrogBody(Mesh& m) {
    AddBody(m,
            {{{-0.9f, 0, 0.55f}, 0.55f, 0.4f},
             {{-0.3f, 0, 0.76f}, 0.74f, 0.56f},
             {{0.35f, 0, 0.92f}, 0.64f, 0.48f},
             {{0.8f, 0, 0.98f}, 0.45f, 0.34f}},
            10, 0.2f, Body);
    AddBackGun(m, {-0.35f, 0, 1.35f}, 0.6f);
}

void FrogHead(Mesh& m) {
    AddEllipsoid(m, {0.55f, 0, 1.04f}, {1.48f, 0, 0.92f}, 0.56f, 0.3f, 12, 6, Head);
    AddSpherePair(m, {0.95f, 0.32f, 1.3f}, 0.18f, Detail);
}

void FrogLegs(Mesh& m) {
    AddLimbPair(m, {{0.62f, 0.45f, 0.75f}, {0.88f, 0.72f, 0.42f}, {1.0f, 0.75f, 0.06f}}, 0.12f, 0.08f, 8,
                Legs);
    AddBeamPair(m, {0.92f, 0.75f, 0.04f}, {1.25f, 0.8f, 0.04f}, 0.22f, 0.07f, 0.32f, 0.05f, Legs);
    AddLimbPair(m,
                {{-0.6f, 0.55f, 0.64f}, {0.15f, 1.22f, 0.6f}, {-1.05f, 1.35f, 0.26f}, {-0.4f, 1.5f, 0.07f}},
                0.34f, 0.08f, 8, Legs);
    AddBeamPair(m, {-0.55f, 1.5f, 0.04f}, {0.2f, 1.55f, 0.04f}, 0.45f, 0.08f, 0.62f, 0.05f, Legs);
}

// Hardpoints where heads, tails and weapons sit on a bare core.
void AddHardpoints(Mesh& m, Vec3 front, Vec3 back, Vec3 top) {
    AddCylinder(m, front, front + Vec3{0.12f, 0, 0}, 0.16f, 0.16f, 8, Detail);
    AddCylinder(m, back, back - Vec3{0.12f, 0, 0}, 0.14f, 0.14f, 8, Detail);
    AddBox(m, top + Vec3{0, 0, 0.05f}, {0.4f, 0.4f, 0.1f}, Detail);
}

} // namespace

Mesh BuildWolf() {
    Mesh m;
    WolfBody(m);
    WolfHead(m);
    WolfLegs(m);
    WolfTail(m);
    AddBackGun(m, {-0.15f, 0, 2.06f}, 0.7f);
    return m;
}

Mesh BuildRat() {
    Mesh m;
    RatBody(m);
    RatHead(m);
    RatLegs(m);
    RatTail(m);
    return m;
}

Mesh BuildSpider() {
    Mesh m;
    SpiderBody(m);
    SpiderHead(m);
    SpiderLegs(m);
    return m;
}

Mesh BuildAnt() {
    Mesh m;
    AntBody(m);
    AntHead(m);
    AntLegs(m);
    return m;
}

Mesh BuildTurtle() {
    Mesh m;
    TurtleBody(m);
    TurtleHead(m);
    TurtleLegs(m);
    TurtleTail(m);
    return m;
}

Mesh BuildFrog() {
    Mesh m;
    FrogBody(m);
    FrogHead(m);
    FrogLegs(m);
    return m;
}

Mesh BuildWolfCore() {
    Mesh m;
    WolfBody(m);
    AddHardpoints(m, {0.95f, 0, 1.65f}, {-1.15f, 0, 1.5f}, {-0.1f, 0, 2.0f});
    return m;
}

Mesh BuildRatCore() {
    Mesh m;
    RatBody(m);
    AddHardpoints(m, {0.85f, 0, 0.74f}, {-1.1f, 0, 0.76f}, {-0.3f, 0, 1.3f});
    return m;
}

Mesh BuildSpiderCore() {
    Mesh m;
    SpiderBody(m);
    AddHardpoints(m, {0.85f, 0, 1.08f}, {-1.3f, 0, 1.35f}, {-0.6f, 0, 1.88f});
    return m;
}

Mesh BuildAntCore() {
    Mesh m;
    AntBody(m);
    AddHardpoints(m, {0.7f, 0, 1.04f}, {-1.72f, 0, 1.06f}, {0.05f, 0, 1.1f});
    return m;
}

Mesh BuildTurtleCore() {
    Mesh m;
    TurtleBody(m);
    AddHardpoints(m, {1.05f, 0, 0.62f}, {-1.4f, 0, 0.55f}, {-0.1f, 0, 1.8f});
    return m;
}

Mesh BuildFrogCore() {
    Mesh m;
    FrogBody(m);
    AddHardpoints(m, {0.88f, 0, 0.98f}, {-0.95f, 0, 0.55f}, {-0.35f, 0, 1.42f});
    return m;
}
