// 4x4 matrices: inverse, projection and view matrices.
#include "view/u_matrix.h"

#include <cmath>
#include <numbers>

namespace kx {

TVector3f TMatrix4f::TransformPoint(const TVector3f& p) const {
    const float x = M[0] * p.X + M[4] * p.Y + M[8] * p.Z + M[12];
    const float y = M[1] * p.X + M[5] * p.Y + M[9] * p.Z + M[13];
    const float z = M[2] * p.X + M[6] * p.Y + M[10] * p.Z + M[14];
    const float w = M[3] * p.X + M[7] * p.Y + M[11] * p.Z + M[15];
    if (w != 1 && w != 0) {
        return {x / w, y / w, z / w};
    }
    return {x, y, z};
}

TMatrix4f TMatrix4f::Inverse() const {
    // Cofactor expansion in double: scene matrices hold scales of 0.1 nested several deep, and
    // single precision would lose digits the positioning tools notice.
    double m[16];
    for (int i = 0; i < 16; ++i) {
        m[i] = M[i];
    }
    double inv[16];
    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] +
             m[9] * m[7] * m[14] + m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
             m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] +
             m[8] * m[7] * m[13] + m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
              m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
             m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] +
             m[8] * m[3] * m[14] + m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] -
             m[8] * m[3] * m[13] - m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] +
              m[8] * m[2] * m[13] + m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] -
             m[4] * m[3] * m[14] - m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] +
              m[4] * m[3] * m[13] + m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] -
              m[4] * m[2] * m[13] - m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] -
             m[5] * m[3] * m[10] - m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    const double det = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
    if (det == 0 || !std::isfinite(det)) {
        return Identity();
    }
    TMatrix4f r;
    for (int i = 0; i < 16; ++i) {
        r.M[i] = static_cast<float>(inv[i] / det);
    }
    return r;
}

TMatrix4f PerspectiveMatrix(float fovYDegrees, float aspect, float zNear, float zFar) {
    const double f = 1.0 / std::tan(fovYDegrees * std::numbers::pi / 360.0);
    TMatrix4f r;
    r.M = {};
    r(0, 0) = static_cast<float>(f / (aspect > 0 ? aspect : 1));
    r(1, 1) = static_cast<float>(f);
    r(2, 2) = static_cast<float>((double(zFar) + zNear) / (double(zNear) - zFar));
    r(2, 3) = static_cast<float>(2.0 * zFar * zNear / (double(zNear) - zFar));
    r(3, 2) = -1;
    return r;
}

TMatrix4f OrthoMatrix(float halfWidth, float halfHeight, float zNear, float zFar) {
    TMatrix4f r;
    r.M = {};
    r(0, 0) = halfWidth > 0 ? 1 / halfWidth : 1;
    r(1, 1) = halfHeight > 0 ? 1 / halfHeight : 1;
    r(2, 2) = static_cast<float>(-2.0 / (double(zFar) - zNear));
    r(2, 3) = static_cast<float>(-(double(zFar) + zNear) / (double(zFar) - zNear));
    r(3, 3) = 1;
    return r;
}

TMatrix4f LookAtMatrix(const TVector3f& eye, const TVector3f& centre, const TVector3f& up) {
    TVector3f f = Normalized(centre - eye);
    if (Length(f) == 0) {
        f = {0, 0, -1};
    }
    TVector3f s = Cross(f, up);
    if (Length(s) < 1e-5f) {
        s = Cross(f, TVector3f{0, 1, 0});
        if (Length(s) < 1e-5f) {
            s = Cross(f, TVector3f{1, 0, 0});
        }
    }
    s = Normalized(s);
    const TVector3f u = Cross(s, f);
    TMatrix4f r;
    r(0, 0) = s.X;
    r(0, 1) = s.Y;
    r(0, 2) = s.Z;
    r(1, 0) = u.X;
    r(1, 1) = u.Y;
    r(1, 2) = u.Z;
    r(2, 0) = -f.X;
    r(2, 1) = -f.Y;
    r(2, 2) = -f.Z;
    r(0, 3) = -Dot(s, eye);
    r(1, 3) = -Dot(u, eye);
    r(2, 3) = Dot(f, eye);
    return r;
}

}  // namespace kx
