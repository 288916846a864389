#pragma once

// The small value types the 3D code computes with, in 32-bit floats. World space is right-handed with
// y up; angles are radians. None of these operations can fail.

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    // Adds b to this vector componentwise.
    Vector3& operator+=(const Vector3& b);
    // Scales the vector to unit length; a zero vector stays zero.
    void Normalise();
};

// Componentwise sum.
Vector3 operator+(const Vector3& a, const Vector3& b);
// Componentwise difference a - b.
Vector3 operator-(const Vector3& a, const Vector3& b);
// Each component times s.
Vector3 operator*(const Vector3& a, float s);
// Each component divided by s.
Vector3 operator/(const Vector3& a, float s);
// All three components equal.
bool operator==(const Vector3& a, const Vector3& b);
// Cross product a x b.
Vector3 Cross(const Vector3& a, const Vector3& b);
// Dot product a . b.
float Dot(const Vector3& a, const Vector3& b);
// Euclidean length.
float Length(const Vector3& a);

// A quaternion stored w first: (w, x, y, z).
struct Quat {
    float w = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    // The identity rotation (1, 0, 0, 0).
    static Quat Identity();
    // The rotation by angle about axis: (cos(angle/2), sin(angle/2) * axis); the axis is used as given.
    static Quat FromAxisAngle(float angle, const Vector3& axis);

    // Sets the four components.
    void Set(float w, float x, float y, float z);
    // Divides each component by the squared norm; a unit quaternion is unchanged, a zero one stays zero.
    void Rescale();
    // The vector part (x, y, z).
    Vector3 VectorPart() const;
};

// (w, -x, -y, -z).
Quat Conjugate(const Quat& q);
// Componentwise sum.
Quat operator+(const Quat& p, const Quat& q);
// Each component times s.
Quat operator*(const Quat& q, float s);
// Sum of the products of the four components.
float Dot(const Quat& p, const Quat& q);
// The Hamilton product p x q: applies q first, then p.
Quat operator*(const Quat& p, const Quat& q);
// conjugate(q) / dot(q, q); the zero quaternion gives zero.
Quat Inverse(const Quat& q);
// All four components equal.
bool operator==(const Quat& p, const Quat& q);
// Equal after both are rescaled.
bool EqualAfterRescale(const Quat& p, const Quat& q);

// 16 floats, element (row r, column c) at index 4r + c; transforms column vectors (v' = M v).
struct Matrix4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    // Element at row r, column c.
    float& at(int r, int c) { return m[4 * r + c]; }
    // Element at row r, column c.
    float at(int r, int c) const { return m[4 * r + c]; }
};

// The rotation matrix of q (exact for a unit quaternion), with (0, 0, 0, 1) as last row and column.
Matrix4 ToMatrix(const Quat& q);
// Element (r, c) becomes element (c, r); the result is what glMultMatrixf expects.
Matrix4 Transpose(const Matrix4& m);
// The upper 3 x 3 part times v; no translation.
Vector3 TimesVector(const Matrix4& m, const Vector3& v);
// Ordinary 4 x 4 product a b (applies b first).
Matrix4 operator*(const Matrix4& a, const Matrix4& b);

// Position, rotation and a uniform scale: a mesh point p lands at position + scale * R p.
struct Transform {
    Vector3 position;
    Quat rotation;
    float scale = 1.0f;

    // Where a point given in this transform's space lands in the parent's space.
    Vector3 Apply(const Vector3& p) const;
    // The point of this transform's space that lands on parent point v; a zero scale gives the origin.
    Vector3 ToLocal(const Vector3& v) const;
};
