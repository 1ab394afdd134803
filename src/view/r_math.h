// Matrices and colours the renderer works in: column-major 4x4 matrices as OpenGL reads them.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "foundation/u_vector.h"

namespace kx {

/// A 4x4 matrix, column-major: element (row r, column c) is M[c * 4 + r].
struct TGlMatrix {
    std::array<float, 16> M{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static TGlMatrix Identity() { return {}; }
    float& operator()(int row, int col) { return M[col * 4 + row]; }
    float operator()(int row, int col) const { return M[col * 4 + row]; }
    bool operator==(const TGlMatrix&) const = default;
};

inline TGlMatrix operator*(const TGlMatrix& a, const TGlMatrix& b) {
    TGlMatrix r;
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            float s = 0;
            for (int k = 0; k < 4; ++k) {
                s += a(row, k) * b(k, c);
            }
            r(row, c) = s;
        }
    }
    return r;
}

inline TVector3f TransformPoint(const TGlMatrix& m, const TVector3f& p) {
    return {m(0, 0) * p.X + m(0, 1) * p.Y + m(0, 2) * p.Z + m(0, 3),
            m(1, 0) * p.X + m(1, 1) * p.Y + m(1, 2) * p.Z + m(1, 3),
            m(2, 0) * p.X + m(2, 1) * p.Y + m(2, 2) * p.Z + m(2, 3)};
}

inline TVector3f TransformDirection(const TGlMatrix& m, const TVector3f& d) {
    return {m(0, 0) * d.X + m(0, 1) * d.Y + m(0, 2) * d.Z,
            m(1, 0) * d.X + m(1, 1) * d.Y + m(1, 2) * d.Z,
            m(2, 0) * d.X + m(2, 1) * d.Y + m(2, 2) * d.Z};
}

/// Determinant of the upper 3x3: negative for a mirroring transform.
inline float Determinant3(const TGlMatrix& m) {
    return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) -
           m(0, 1) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
           m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
}

inline TGlMatrix Translation(const TVector3f& t) {
    TGlMatrix r;
    r(0, 3) = t.X;
    r(1, 3) = t.Y;
    r(2, 3) = t.Z;
    return r;
}

inline TGlMatrix Scaling(const TVector3f& s) {
    TGlMatrix r;
    r(0, 0) = s.X;
    r(1, 1) = s.Y;
    r(2, 2) = s.Z;
    return r;
}

/// The frame of a scene object: local X = Up x Direction, local Y = Up, local Z = Direction,
/// scaled, then moved to the position. Direction and Up are expected orthonormal.
inline TGlMatrix FrameMatrix(const TVector3f& position, const TVector3f& direction,
                             const TVector3f& up, const TVector3f& scale = {1, 1, 1}) {
    const TVector3f x = Cross(up, direction);
    TGlMatrix r;
    for (int i = 0; i < 3; ++i) {
        r(i, 0) = x[i] * scale.X;
        r(i, 1) = up[i] * scale.Y;
        r(i, 2) = direction[i] * scale.Z;
        r(i, 3) = position[i];
    }
    return r;
}

/// A right-handed view matrix looking from eye at target.
inline TGlMatrix LookAt(const TVector3f& eye, const TVector3f& target, const TVector3f& up) {
    TVector3f f = Normalized(target - eye);
    if (Length(f) == 0) {
        f = {0, 0, -1};
    }
    TVector3f s = Cross(f, up);
    if (Length(s) < 1e-6f) {
        s = Cross(f, std::fabs(f.Y) < 0.9f ? TVector3f{0, 1, 0} : TVector3f{1, 0, 0});
    }
    s = Normalized(s);
    const TVector3f u = Cross(s, f);
    TGlMatrix r;
    for (int i = 0; i < 3; ++i) {
        r(0, i) = s[i];
        r(1, i) = u[i];
        r(2, i) = -f[i];
    }
    r(0, 3) = -Dot(s, eye);
    r(1, 3) = -Dot(u, eye);
    r(2, 3) = Dot(f, eye);
    return r;
}

/// OpenGL's perspective projection; fovY in degrees.
inline TGlMatrix Perspective(float fovYDegrees, float aspect, float zNear, float zFar) {
    const float f = 1.0f / std::tan(fovYDegrees * 3.14159265358979f / 360.0f);
    TGlMatrix r;
    r(0, 0) = f / (aspect > 0 ? aspect : 1);
    r(1, 1) = f;
    r(2, 2) = (zFar + zNear) / (zNear - zFar);
    r(2, 3) = 2 * zFar * zNear / (zNear - zFar);
    r(3, 2) = -1;
    r(3, 3) = 0;
    return r;
}

/// An RGBA colour, components 0 to 1.
struct TGlColor {
    float R = 0;
    float G = 0;
    float B = 0;
    float A = 1;
    bool operator==(const TGlColor&) const = default;
};

/// A 24-bit colour red + 256 green + 65536 blue as floats.
inline TGlColor ColorFromRgbInt(uint32_t rgb, float alpha = 1) {
    return {float(rgb & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
            float((rgb >> 16) & 0xFF) / 255.0f, alpha};
}

}  // namespace kx
