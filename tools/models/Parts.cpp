// Modules (weapons, heads, tails), buildings and the animated test scene. Modules are built around
// their mount point at the origin, facing +x; buildings fill most of one tile.

#include "Models.h"

#include <cmath>

namespace {

using namespace SkinRegion;

constexpr float pi = 3.14159265f;

Vec3 OnCircle(float angle, float radius, float x) {
    return {x, std::cos(angle) * radius, std::sin(angle) * radius};
}

// A missile: body, pointed nose and four fins.
void AddMissile(Mesh& m, Vec3 tail, float length, float radius) {
    const Vec3 bodyEnd = tail + Vec3{length * 0.75f, 0, 0};
    AddCylinder(m, tail, bodyEnd, radius, radius, 8, Detail);
    LoftStyle nose;
    nose.sides = 8;
    nose.capStart = false;
    nose.endBulge = length * 0.25f;
    AddLoft(m, {{bodyEnd, radius, radius}, {bodyEnd + Vec3{0.001f, 0, 0}, radius, radius}}, nose, Head);
    for (int k = 0; k < 4; ++k) {
        const float a = pi * 0.5f * static_cast<float>(k) + pi * 0.25f;
        const Vec3 out{0, std::cos(a), std::sin(a)};
        AddTaperedBeam(m, tail + out * radius, tail + out * (radius * 2.2f), length * 0.2f, 0.015f,
                       length * 0.1f, 0.01f, Detail);
    }
}

// A mount block every weapon sits on.
void AddMount(Mesh& m, Vec3 size) {
    AddBox(m, {0, 0, size.z * 0.5f}, size, Body);
}

} // namespace

Mesh BuildWeapon(const std::string& name) {
    Mesh m;
    if (name == "W_DOUBLECANNON") {
        AddMount(m, {0.5f, 0.5f, 0.3f});
        for (float y : {-0.13f, 0.13f}) {
            AddCylinder(m, {0.1f, y, 0.18f}, {1.0f, y, 0.18f}, 0.08f, 0.07f, 8, Detail);
            AddCylinder(m, {0.95f, y, 0.18f}, {1.1f, y, 0.18f}, 0.1f, 0.1f, 8, Head);
        }
    } else if (name == "W_MISSILELAUNCHER") {
        AddBox(m, {0.1f, 0, 0.3f}, {0.7f, 0.6f, 0.45f}, Body);
        for (int row = 0; row < 2; ++row) {
            for (int col = 0; col < 3; ++col) {
                const Vec3 at{0.46f, -0.18f + 0.18f * static_cast<float>(col),
                              0.2f + 0.2f * static_cast<float>(row)};
                AddCylinder(m, at, at + Vec3{0.05f, 0, 0}, 0.07f, 0.07f, 6, Detail);
            }
        }
    } else if (name == "W_WEBCANNON") {
        AddMount(m, {0.45f, 0.45f, 0.25f});
        AddCylinder(m, {0.0f, 0, 0.25f}, {0.6f, 0, 0.3f}, 0.12f, 0.16f, 10, Detail);
        AddCylinder(m, {0.6f, 0, 0.3f}, {0.9f, 0, 0.32f}, 0.16f, 0.3f, 10, Head);
    } else if (name == "W_STINGERSALVO") {
        AddMount(m, {0.5f, 0.5f, 0.2f});
        for (int k = 0; k < 5; ++k) {
            const Vec3 base =
                OnCircle(2.0f * pi * static_cast<float>(k) / 5.0f, 0.16f, 0.0f) + Vec3{0, 0, 0.45f};
            AddCylinder(m, base, base + Vec3{0.6f, 0, 0.05f}, 0.06f, 0.005f, 6, Detail);
        }
    } else if (name == "W_AIRBURST") {
        AddMount(m, {0.5f, 0.5f, 0.25f});
        AddCylinder(m, {0.0f, 0, 0.2f}, {0.45f, 0, 0.9f}, 0.17f, 0.15f, 10, Detail);
        AddCylinder(m, {0.4f, 0, 0.82f}, {0.5f, 0, 0.98f}, 0.19f, 0.19f, 10, Head);
    } else if (name == "W_SHELLLASERS") {
        AddBox(m, {0, 0, 0.15f}, {0.6f, 0.7f, 0.3f}, Body);
        for (float y : {-0.28f, 0.28f}) {
            AddTaperedBeam(m, {-0.1f, y, 0.2f}, {0.5f, y, 0.2f}, 0.16f, 0.16f, 0.12f, 0.12f, Detail);
            AddCylinder(m, {0.5f, y, 0.2f}, {1.2f, y, 0.2f}, 0.03f, 0.03f, 6, Head);
        }
    } else if (name == "W_REFLEXCANNON") {
        AddMount(m, {0.5f, 0.45f, 0.3f});
        AddCylinder(m, {0.0f, 0, 0.25f}, {1.1f, 0, 0.25f}, 0.09f, 0.08f, 8, Detail);
        for (float x : {0.35f, 0.6f, 0.85f}) {
            AddCylinder(m, {x, 0, 0.25f}, {x + 0.06f, 0, 0.25f}, 0.15f, 0.15f, 10, Head);
        }
    } else if (name == "W_PLASMACANNON") {
        AddMount(m, {0.5f, 0.5f, 0.3f});
        const Vec3 coreAt{0.15f, 0, 0.35f};
        AddEllipsoid(m, coreAt - Vec3{0.22f, 0, 0}, coreAt + Vec3{0.22f, 0, 0}, 0.22f, 0.22f, 10, 6, Head);
        AddCylinder(m, {0.3f, 0, 0.35f}, {1.0f, 0, 0.35f}, 0.1f, 0.14f, 10, Detail);
    } else if (name == "W_ASSUALTCANNON") {
        AddMount(m, {0.5f, 0.5f, 0.3f});
        for (int k = 0; k < 6; ++k) {
            const Vec3 base =
                OnCircle(2.0f * pi * static_cast<float>(k) / 6.0f, 0.1f, 0.05f) + Vec3{0, 0, 0.3f};
            AddCylinder(m, base, base + Vec3{0.9f, 0, 0}, 0.035f, 0.035f, 6, Detail);
        }
        AddCylinder(m, {0.6f, 0, 0.3f}, {0.68f, 0, 0.3f}, 0.16f, 0.16f, 10, Head);
    } else if (name == "W_DEATHBLOSSOM") {
        AddCylinder(m, {0, 0, 0}, {0, 0, 0.35f}, 0.28f, 0.22f, 10, Body);
        for (int k = 0; k < 8; ++k) {
            const float a = 2.0f * pi * static_cast<float>(k) / 8.0f;
            const Vec3 out{std::cos(a), std::sin(a), 0.0f};
            AddCylinder(m, out * 0.15f + Vec3{0, 0, 0.3f}, out * 0.6f + Vec3{0, 0, 0.55f}, 0.06f, 0.05f, 6,
                        Detail);
        }
    } else if (name == "W_ESPIONAGEKIT") {
        AddBox(m, {0, 0, 0.15f}, {0.5f, 0.4f, 0.3f}, Body);
        AddCylinder(m, {0, 0, 0.3f}, {0, 0, 0.75f}, 0.03f, 0.03f, 6, Detail);
        AddCylinder(m, {-0.02f, 0, 0.75f}, {0.1f, 0, 0.9f}, 0.02f, 0.3f, 12, Head);
        AddCylinder(m, {0.2f, 0.12f, 0.3f}, {0.2f, 0.12f, 0.55f}, 0.015f, 0.015f, 5, Detail);
    } else { // W_ANTIARMORMISSILES
        AddMount(m, {0.4f, 0.6f, 0.15f});
        AddBox(m, {0.2f, 0, 0.2f}, {0.9f, 0.08f, 0.08f}, Body);
        for (float y : {-0.2f, 0.2f}) {
            AddMissile(m, {-0.2f, y, 0.3f}, 1.0f, 0.08f);
        }
    }
    return m;
}

Mesh BuildHead(const std::string& name) {
    Mesh m;
    if (name == "H_CLOSECOMBAT") {
        AddTaperedBeam(m, {0, 0, 0.2f}, {0.5f, 0, 0.15f}, 0.5f, 0.4f, 0.25f, 0.2f, Head);
        for (float y : {-0.15f, 0.15f}) {
            AddTaperedBeam(m, {0.4f, y, 0.05f}, {0.75f, y, 0.0f}, 0.08f, 0.1f, 0.01f, 0.01f, Detail);
        }
    } else if (name == "H_SENSOR") {
        AddDome(m, {0.15f, 0, 0.0f}, {0.3f, 0.3f, 0.3f}, 12, 5, Head);
        for (float y : {-0.15f, 0.15f}) {
            AddCylinder(m, {0.1f, y, 0.2f}, {0.0f, y * 1.5f, 0.75f}, 0.02f, 0.01f, 5, Detail);
        }
        AddCylinder(m, {0.4f, 0, 0.15f}, {0.46f, 0, 0.15f}, 0.1f, 0.1f, 8, Detail);
    } else if (name == "H_MANDIBLE") {
        AddEllipsoid(m, {0, 0, 0.2f}, {0.5f, 0, 0.2f}, 0.28f, 0.22f, 10, 6, Head);
        for (float s : {-1.0f, 1.0f}) {
            AddLimb(m, {{0.4f, 0.12f * s, 0.1f}, {0.7f, 0.25f * s, 0.08f}, {0.9f, 0.04f * s, 0.05f}}, 0.06f,
                    0.015f, 6, Detail);
        }
    } else if (name == "H_TACTICAL") {
        AddBox(m, {0.2f, 0, 0.2f}, {0.5f, 0.45f, 0.35f}, Head);
        AddBox(m, {0.46f, 0, 0.26f}, {0.04f, 0.4f, 0.1f}, Detail);
        AddCylinder(m, {0.0f, 0.15f, 0.35f}, {0.0f, 0.15f, 0.8f}, 0.02f, 0.01f, 5, Detail);
    } else if (name == "H_ASSUALT") {
        AddTaperedBeam(m, {0, 0, 0.22f}, {0.55f, 0, 0.2f}, 0.5f, 0.42f, 0.38f, 0.3f, Head);
        AddCylinder(m, {0.3f, 0.22f, 0.25f}, {0.85f, 0.22f, 0.25f}, 0.05f, 0.05f, 6, Detail);
        AddBox(m, {0.52f, 0, 0.28f}, {0.05f, 0.36f, 0.08f}, Detail);
    } else { // H_FIREPINCER
        AddEllipsoid(m, {0, 0, 0.22f}, {0.45f, 0, 0.22f}, 0.26f, 0.22f, 10, 6, Head);
        for (float s : {-1.0f, 1.0f}) {
            AddLimb(m, {{0.35f, 0.15f * s, 0.15f}, {0.65f, 0.3f * s, 0.1f}, {0.85f, 0.1f * s, 0.08f}}, 0.08f,
                    0.02f, 6, Detail);
        }
        AddCylinder(m, {0.4f, 0, 0.25f}, {0.8f, 0, 0.25f}, 0.05f, 0.09f, 8, Detail);
    }
    return m;
}

Mesh BuildTail(const std::string& name) {
    Mesh m;
    if (name == "T_SENSOR") {
        AddCylinder(m, {0, 0, 0}, {-0.1f, 0, 0.9f}, 0.05f, 0.03f, 6, Detail);
        AddCylinder(m, {-0.12f, 0, 0.9f}, {-0.05f, 0, 1.0f}, 0.02f, 0.22f, 10, Head);
    } else if (name == "T_ENGINEOPTIMIZER") {
        AddCylinder(m, {0, 0, 0.2f}, {-0.6f, 0, 0.2f}, 0.18f, 0.14f, 10, Detail);
        for (int k = 0; k < 3; ++k) {
            const float a = 2.0f * pi * static_cast<float>(k) / 3.0f + pi * 0.5f;
            AddBox(m, OnCircle(a, 0.22f, -0.4f) + Vec3{0, 0, 0.2f}, {0.3f, 0.04f, 0.04f}, Body);
        }
    } else if (name == "T_UNDERCARRIAGEARMOR") {
        AddTaperedBeam(m, {0.4f, 0, -0.05f}, {-0.6f, 0, -0.05f}, 0.9f, 0.1f, 0.7f, 0.08f, Body);
    } else if (name == "T_FUELSYSTEM") {
        for (float y : {-0.18f, 0.18f}) {
            AddEllipsoid(m, {0.0f, y, 0.2f}, {-0.7f, y, 0.2f}, 0.15f, 0.15f, 8, 6, Detail);
        }
        AddBox(m, {-0.35f, 0, 0.2f}, {0.08f, 0.3f, 0.05f}, Body);
    } else if (name == "T_ADDITIONALARMOR") {
        for (int i = 0; i < 3; ++i) {
            const float x = -0.25f * static_cast<float>(i);
            AddTaperedBeam(m, {x, 0, 0.1f + 0.05f * static_cast<float>(i)}, {x - 0.3f, 0, 0.1f}, 0.7f, 0.08f,
                           0.6f, 0.06f, Body);
        }
    } else if (name == "T_AUXENGINE") {
        AddBox(m, {-0.2f, 0, 0.2f}, {0.4f, 0.5f, 0.3f}, Body);
        for (float y : {-0.15f, 0.15f}) {
            AddCylinder(m, {-0.35f, y, 0.2f}, {-0.75f, y, 0.22f}, 0.1f, 0.13f, 8, Detail);
        }
    } else if (name == "T_BLASTER") {
        AddBox(m, {-0.15f, 0, 0.2f}, {0.3f, 0.3f, 0.25f}, Body);
        AddCylinder(m, {-0.3f, 0, 0.25f}, {-0.95f, 0, 0.45f}, 0.07f, 0.06f, 8, Detail);
    } else if (name == "T_SAW") {
        AddCylinder(m, {0, 0, 0.2f}, {-0.4f, 0, 0.3f}, 0.06f, 0.06f, 6, Body);
        AddCylinder(m, {-0.6f, -0.03f, 0.3f}, {-0.6f, 0.03f, 0.3f}, 0.35f, 0.35f, 16, Detail);
    } else if (name == "T_SNIPERLANCE") {
        AddBox(m, {-0.1f, 0, 0.2f}, {0.3f, 0.2f, 0.2f}, Body);
        AddCylinder(m, {-0.1f, 0, 0.3f}, {-1.5f, 0, 0.8f}, 0.04f, 0.03f, 6, Detail);
    } else if (name == "T_JUMPJETS") {
        for (float y : {-0.22f, 0.22f}) {
            AddCylinder(m, {-0.1f, y, 0.4f}, {-0.1f, y, 0.0f}, 0.1f, 0.15f, 10, Detail);
        }
        AddBox(m, {-0.1f, 0, 0.4f}, {0.2f, 0.5f, 0.1f}, Body);
    } else if (name == "T_GUARD") {
        LoftStyle plate;
        plate.sides = 4;
        plate.twist = pi * 0.25f;
        AddLoft(m,
                {{{-0.2f, -0.45f, 0.3f}, 0.03f, 0.4f},
                 {{-0.35f, 0, 0.3f}, 0.03f, 0.45f},
                 {{-0.2f, 0.45f, 0.3f}, 0.03f, 0.4f}},
                plate, Body);
    } else if (name == "T_FFGENERATOR") {
        AddCylinder(m, {0, 0, 0}, {0, 0, 0.3f}, 0.2f, 0.15f, 10, Body);
        AddEllipsoid(m, {0, 0, 0.25f}, {0, 0, 0.75f}, 0.25f, 0.25f, 10, 6, Head);
        AddCylinder(m, {0, 0, 0.48f}, {0, 0, 0.52f}, 0.35f, 0.35f, 14, Detail);
    } else { // T_RARAR
        std::vector<Vec3> spine;
        for (int i = 0; i <= 5; ++i) {
            const float t = static_cast<float>(i) / 5.0f;
            spine.push_back({-1.2f * t, 0, 0.2f + 0.6f * std::sin(t * pi * 0.8f)});
        }
        AddLimb(m, spine, 0.12f, 0.04f, 8, Detail);
        for (int i = 1; i < 5; ++i) {
            AddTaperedBeam(m, spine[i], spine[i] + Vec3{0.05f, 0, 0.25f}, 0.06f, 0.1f, 0.005f, 0.005f, Head);
        }
    }
    return m;
}

Mesh BuildBuilding(int number) {
    Mesh m;
    if (number == 1) { // a tower block
        AddBox(m, {0, 0, 2.5f}, {2.6f, 2.6f, 5.0f}, SkinRegion::Body);
        AddBox(m, {0, 0, 5.1f}, {2.8f, 2.8f, 0.2f}, SkinRegion::Detail);
        AddBox(m, {0.5f, 0.5f, 5.5f}, {0.8f, 0.8f, 0.6f}, SkinRegion::Head);
        AddCylinder(m, {-0.6f, -0.6f, 5.2f}, {-0.6f, -0.6f, 6.4f}, 0.05f, 0.03f, 6, SkinRegion::Detail);
    } else if (number == 2) { // a hangar with a rounded roof
        AddBox(m, {0, 0, 0.8f}, {3.6f, 3.2f, 1.6f}, SkinRegion::Body);
        LoftStyle roof;
        roof.sides = 12;
        AddLoft(m, {{{-1.8f, 0, 1.6f}, 1.6f, 0.9f}, {{1.8f, 0, 1.6f}, 1.6f, 0.9f}}, roof, SkinRegion::Head);
        AddBox(m, {1.82f, 0, 0.7f}, {0.06f, 2.0f, 1.4f}, SkinRegion::Detail);
    } else { // a factory with a chimney
        AddBox(m, {-0.4f, 0, 1.0f}, {2.8f, 3.4f, 2.0f}, SkinRegion::Body);
        AddBox(m, {1.2f, 0.9f, 1.5f}, {1.2f, 1.4f, 3.0f}, SkinRegion::Body);
        AddTaperedBeam(m, {-0.4f, 0, 2.0f}, {-0.4f, 0, 2.5f}, 3.2f, 2.6f, 0.4f, 2.4f, SkinRegion::Head);
        AddCylinder(m, {-1.2f, -1.1f, 2.0f}, {-1.2f, -1.1f, 4.5f}, 0.3f, 0.22f, 10, SkinRegion::Detail);
    }
    return m;
}

std::vector<AseNode> BuildTestModel() {
    AseNode base;
    base.name = "Base";
    AddBox(base.mesh, {0, 0, 0.25f}, {2.0f, 2.0f, 0.5f}, SkinRegion::Body);

    // The turret swings left and right about its upright axis and returns.
    AseNode turret;
    turret.name = "Turret";
    turret.parent = "Base";
    turret.pivot = {0, 0, 0.5f};
    AddCylinder(turret.mesh, {0, 0, 0.5f}, {0, 0, 1.0f}, 0.6f, 0.5f, 12, SkinRegion::Head);
    AddCylinder(turret.mesh, {0.3f, 0, 0.8f}, {1.5f, 0, 0.8f}, 0.1f, 0.08f, 8, SkinRegion::Detail);
    const float swing = pi / 4.0f;
    const float angles[5] = {0.0f, swing, 0.0f, -swing, 0.0f};
    for (int i = 0; i < 5; ++i) {
        turret.samples.push_back({i * 25, turret.pivot, {0, 0, 1}, angles[i]});
    }

    // The mast rises and sinks while the turret turns.
    AseNode mast;
    mast.name = "Mast";
    mast.parent = "Base";
    mast.pivot = {-0.7f, -0.7f, 0.5f};
    AddCylinder(mast.mesh, {-0.7f, -0.7f, 0.5f}, {-0.7f, -0.7f, 1.8f}, 0.06f, 0.04f, 6, SkinRegion::Legs);
    const float lift[5] = {0.0f, 0.4f, 0.8f, 0.4f, 0.0f};
    for (int i = 0; i < 5; ++i) {
        mast.samples.push_back({i * 25, mast.pivot + Vec3{0, 0, lift[i]}, {0, 0, 1}, 0.0f});
    }
    return {base, turret, mast};
}
