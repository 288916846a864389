#include "render/Maths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr float kTolerance = 1e-5f;
constexpr float kHalfPi = std::numbers::pi_v<float> / 2.0f;

void ExpectNear(const Vector3& expected, const Vector3& seen) {
    EXPECT_NEAR(expected.x, seen.x, kTolerance);
    EXPECT_NEAR(expected.y, seen.y, kTolerance);
    EXPECT_NEAR(expected.z, seen.z, kTolerance);
}

void ExpectNear(const Quat& expected, const Quat& seen) {
    EXPECT_NEAR(expected.w, seen.w, kTolerance);
    EXPECT_NEAR(expected.x, seen.x, kTolerance);
    EXPECT_NEAR(expected.y, seen.y, kTolerance);
    EXPECT_NEAR(expected.z, seen.z, kTolerance);
}

} // namespace

TEST(Maths, VectorArithmeticAndNormalise) {
    Vector3 a{1, 2, 3};
    Vector3 b{4, -5, 6};
    EXPECT_EQ((Vector3{5, -3, 9}), a + b);
    EXPECT_EQ((Vector3{-3, 7, -3}), a - b);
    EXPECT_EQ((Vector3{2, 4, 6}), a * 2.0f);
    EXPECT_EQ((Vector3{0.5f, 1, 1.5f}), a / 2.0f);
    a += b;
    EXPECT_EQ((Vector3{5, -3, 9}), a);
    EXPECT_EQ((Vector3{0, 0, 1}), Cross(Vector3{1, 0, 0}, Vector3{0, 1, 0}));
    EXPECT_EQ((Vector3{0, 0, -1}), Cross(Vector3{0, 1, 0}, Vector3{1, 0, 0}));

    Vector3 zero;
    zero.Normalise();
    EXPECT_EQ((Vector3{0, 0, 0}), zero);
    Vector3 v{3, 0, 4};
    v.Normalise();
    ExpectNear({0.6f, 0, 0.8f}, v);
}

TEST(Maths, QuaternionIdentitiesHold) {
    const Quat p = Quat::FromAxisAngle(0.7f, Vector3{0, 0.6f, 0.8f});
    EXPECT_NEAR(1.0f, Dot(p, p), kTolerance);
    ExpectNear(p, Quat::Identity() * p);
    ExpectNear(p, p * Quat::Identity());
    ExpectNear(Quat::Identity(), p * Inverse(p));
    ExpectNear(Quat::Identity(), Inverse(p) * p);
    EXPECT_EQ(Quat::Identity(), Quat::FromAxisAngle(0.0f, Vector3{3, -2, 9}));
    EXPECT_EQ((Quat{1, -2, -3, -4}), Conjugate(Quat{1, 2, 3, 4}));
    EXPECT_EQ((Vector3{2, 3, 4}), (Quat{1, 2, 3, 4}).VectorPart());

    // p x q applies q first: a quarter turn about x then one about y differs from the other order.
    const Quat qx = Quat::FromAxisAngle(kHalfPi, Vector3{1, 0, 0});
    const Quat qy = Quat::FromAxisAngle(kHalfPi, Vector3{0, 1, 0});
    const Vector3 v{0, 0, 1};
    const Vector3 xThenY = TimesVector(ToMatrix(qy * qx), v);
    const Vector3 stepwise = TimesVector(ToMatrix(qy), TimesVector(ToMatrix(qx), v));
    ExpectNear(stepwise, xThenY);
    ExpectNear({1, 0, 0}, TimesVector(ToMatrix(qy), v));
}

TEST(Maths, RescaleDividesBySquaredNorm) {
    Quat q{2, 0, 0, 0};
    q.Rescale();
    EXPECT_EQ((Quat{0.5f, 0, 0, 0}), q);

    Quat unit = Quat::FromAxisAngle(1.1f, Vector3{1, 0, 0});
    const Quat before = unit;
    unit.Rescale();
    ExpectNear(before, unit);

    Quat zero{0, 0, 0, 0};
    zero.Rescale();
    EXPECT_EQ((Quat{0, 0, 0, 0}), zero);
    EXPECT_EQ((Quat{0, 0, 0, 0}), Inverse(zero));

    EXPECT_TRUE(EqualAfterRescale(Quat{2, 0, 0, 0}, Quat{2, 0, 0, 0}));
    EXPECT_FALSE(EqualAfterRescale(Quat{2, 0, 0, 0}, Quat{1, 0, 0, 0}));
    EXPECT_TRUE((Quat{1, 2, 3, 4}) == (Quat{1, 2, 3, 4}));
}

TEST(Maths, QuarterTurnAboutYMapsXToMinusZ) {
    const Matrix4 m = ToMatrix(Quat::FromAxisAngle(kHalfPi, Vector3{0, 1, 0}));
    ExpectNear({0, 0, -1}, TimesVector(m, Vector3{1, 0, 0}));
    ExpectNear({0, 1, 0}, TimesVector(m, Vector3{0, 1, 0}));
    EXPECT_FLOAT_EQ(1.0f, m.at(3, 3));
    EXPECT_FLOAT_EQ(0.0f, m.at(3, 0));

    const Matrix4 t = Transpose(m);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(m.at(r, c), t.at(c, r));
        }
    }
    // A rotation matrix times its transpose is the identity.
    const Matrix4 product = m * t;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(r == c ? 1.0f : 0.0f, product.at(r, c), kTolerance);
        }
    }
}

TEST(Maths, TransformPlacesAndLocalisesPoints) {
    Transform t;
    EXPECT_EQ((Vector3{}), t.position);
    EXPECT_EQ(Quat::Identity(), t.rotation);
    EXPECT_EQ(1.0f, t.scale);

    t.position = {10, 0, -2};
    t.rotation = Quat::FromAxisAngle(kHalfPi, Vector3{0, 1, 0});
    t.scale = 2.0f;
    const Vector3 world = t.Apply(Vector3{1, 0, 0});
    ExpectNear({10, 0, -4}, world);
    ExpectNear({1, 0, 0}, t.ToLocal(world));

    t.scale = 0.0f;
    EXPECT_EQ((Vector3{}), t.ToLocal(world));
}
