// Three-component vectors in single precision, the unit of every position and direction.
#pragma once

#include <cmath>

namespace kx {

struct TVector3f {
    float X = 0;
    float Y = 0;
    float Z = 0;

    constexpr TVector3f() = default;
    constexpr TVector3f(float x, float y, float z) : X(x), Y(y), Z(z) {}

    constexpr TVector3f operator+(const TVector3f& o) const { return {X + o.X, Y + o.Y, Z + o.Z}; }
    constexpr TVector3f operator-(const TVector3f& o) const { return {X - o.X, Y - o.Y, Z - o.Z}; }
    constexpr TVector3f operator-() const { return {-X, -Y, -Z}; }
    constexpr TVector3f operator*(float s) const { return {X * s, Y * s, Z * s}; }
    constexpr TVector3f operator/(float s) const { return {X / s, Y / s, Z / s}; }
    TVector3f& operator+=(const TVector3f& o) { return *this = *this + o; }
    TVector3f& operator-=(const TVector3f& o) { return *this = *this - o; }
    TVector3f& operator*=(float s) { return *this = *this * s; }
    constexpr bool operator==(const TVector3f&) const = default;
    constexpr float operator[](int i) const { return i == 0 ? X : (i == 1 ? Y : Z); }
};

constexpr TVector3f operator*(float s, const TVector3f& v) {
    return v * s;
}

constexpr float Dot(const TVector3f& a, const TVector3f& b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}

constexpr TVector3f Cross(const TVector3f& a, const TVector3f& b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

inline float Length(const TVector3f& v) {
    return std::sqrt(Dot(v, v));
}

/// Unit vector in the direction of v; a zero vector stays zero.
inline TVector3f Normalized(const TVector3f& v) {
    const float len = Length(v);
    return len > 0 ? v / len : v;
}

inline float Distance(const TVector3f& a, const TVector3f& b) {
    return Length(a - b);
}

}  // namespace kx
