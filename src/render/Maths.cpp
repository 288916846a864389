#include "render/Maths.h"

#include <cmath>

// [SECTION] Vector3

Vector3& Vector3::operator+=(const Vector3& b) {
    x += b.x;
    y += b.y;
    z += b.z;
    return *this;
}

void Vector3::Normalise() {
    const double squared = double(x) * x + double(y) * y + double(z) * z;
    if (squared == 0.0) {
        return;
    }
    const double length = std::sqrt(squared);
    x = float(x / length);
    y = float(y / length);
    z = float(z / length);
}

Vector3 operator+(const Vector3& a, const Vector3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vector3 operator-(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 operator*(const Vector3& a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}

Vector3 operator/(const Vector3& a, float s) {
    return {a.x / s, a.y / s, a.z / s};
}

bool operator==(const Vector3& a, const Vector3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {float(double(a.y) * b.z - double(a.z) * b.y), float(double(a.z) * b.x - double(a.x) * b.z),
            float(double(a.x) * b.y - double(a.y) * b.x)};
}

float Dot(const Vector3& a, const Vector3& b) {
    return float(double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z);
}

float Length(const Vector3& a) {
    return float(std::sqrt(double(a.x) * a.x + double(a.y) * a.y + double(a.z) * a.z));
}

// [SECTION] Quat

Quat Quat::Identity() {
    return Quat{};
}

Quat Quat::FromAxisAngle(float angle, const Vector3& axis) {
    const double half = double(angle) / 2.0;
    const double s = std::sin(half);
    return {float(std::cos(half)), float(s * axis.x), float(s * axis.y), float(s * axis.z)};
}

void Quat::Set(float newW, float newX, float newY, float newZ) {
    w = newW;
    x = newX;
    y = newY;
    z = newZ;
}

void Quat::Rescale() {
    const double squared = double(w) * w + double(x) * x + double(y) * y + double(z) * z;
    if (squared == 0.0) {
        return; // dividing by zero would turn the zero quaternion into NaNs
    }
    w = float(w / squared);
    x = float(x / squared);
    y = float(y / squared);
    z = float(z / squared);
}

Vector3 Quat::VectorPart() const {
    return {x, y, z};
}

Quat Conjugate(const Quat& q) {
    return {q.w, -q.x, -q.y, -q.z};
}

Quat operator+(const Quat& p, const Quat& q) {
    return {p.w + q.w, p.x + q.x, p.y + q.y, p.z + q.z};
}

Quat operator*(const Quat& q, float s) {
    return {q.w * s, q.x * s, q.y * s, q.z * s};
}

float Dot(const Quat& p, const Quat& q) {
    return float(double(p.w) * q.w + double(p.x) * q.x + double(p.y) * q.y + double(p.z) * q.z);
}

Quat operator*(const Quat& p, const Quat& q) {
    const double pw = p.w, px = p.x, py = p.y, pz = p.z;
    const double qw = q.w, qx = q.x, qy = q.y, qz = q.z;
    return {float(pw * qw - (px * qx + py * qy + pz * qz)), float(pw * qx + qw * px + (py * qz - pz * qy)),
            float(pw * qy + qw * py + (pz * qx - px * qz)), float(pw * qz + qw * pz + (px * qy - py * qx))};
}

Quat Inverse(const Quat& q) {
    const double squared = double(q.w) * q.w + double(q.x) * q.x + double(q.y) * q.y + double(q.z) * q.z;
    if (squared == 0.0) {
        return {0.0f, 0.0f, 0.0f, 0.0f};
    }
    return {float(q.w / squared), float(-q.x / squared), float(-q.y / squared), float(-q.z / squared)};
}

bool operator==(const Quat& p, const Quat& q) {
    return p.w == q.w && p.x == q.x && p.y == q.y && p.z == q.z;
}

bool EqualAfterRescale(const Quat& p, const Quat& q) {
    Quat a = p;
    Quat b = q;
    a.Rescale();
    b.Rescale();
    return a == b;
}

// [SECTION] Matrix4

Matrix4 ToMatrix(const Quat& q) {
    const double w = q.w, x = q.x, y = q.y, z = q.z;
    Matrix4 r;
    r.at(0, 0) = float(1 - 2 * (y * y + z * z));
    r.at(0, 1) = float(2 * (x * y - w * z));
    r.at(0, 2) = float(2 * (x * z + w * y));
    r.at(1, 0) = float(2 * (x * y + w * z));
    r.at(1, 1) = float(1 - 2 * (x * x + z * z));
    r.at(1, 2) = float(2 * (y * z - w * x));
    r.at(2, 0) = float(2 * (x * z - w * y));
    r.at(2, 1) = float(2 * (y * z + w * x));
    r.at(2, 2) = float(1 - 2 * (x * x + y * y));
    return r;
}

Matrix4 Transpose(const Matrix4& m) {
    Matrix4 t;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            t.at(c, r) = m.at(r, c);
        }
    }
    return t;
}

Vector3 TimesVector(const Matrix4& m, const Vector3& v) {
    auto row = [&](int r) {
        return float(double(m.at(r, 0)) * v.x + double(m.at(r, 1)) * v.y + double(m.at(r, 2)) * v.z);
    };
    return {row(0), row(1), row(2)};
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    Matrix4 p;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += double(a.at(r, k)) * b.at(k, c);
            }
            p.at(r, c) = float(sum);
        }
    }
    return p;
}

// [SECTION] Transform

Vector3 Transform::Apply(const Vector3& p) const {
    return position + TimesVector(ToMatrix(rotation), p) * scale;
}

Vector3 Transform::ToLocal(const Vector3& v) const {
    if (scale == 0.0f) {
        return {};
    }
    return TimesVector(ToMatrix(Inverse(rotation)), v - position) * (1.0f / scale);
}
