// 4x4 single-precision matrices of the scene graph: column-major, the layout OpenGL takes as is.
#pragma once

#include <array>

#include "foundation/u_vector.h"

namespace kx {

/// Column-major: element (row r, column c) is M[c * 4 + r]; the columns of an object's local
/// matrix are its X, Y and Z axes (scaled) and its position. Points are column vectors, so
/// A * B applies B first. Hand M.data() to glUniformMatrix4fv with transpose = GL_FALSE.
struct TMatrix4f {
    std::array<float, 16> M{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static constexpr TMatrix4f Identity() { return {}; }

    /// A matrix whose columns are the three axes and the translation (last row 0, 0, 0, 1).
    static constexpr TMatrix4f FromAxes(const TVector3f& x, const TVector3f& y, const TVector3f& z,
                                        const TVector3f& t) {
        return {{x.X, x.Y, x.Z, 0, y.X, y.Y, y.Z, 0, z.X, z.Y, z.Z, 0, t.X, t.Y, t.Z, 1}};
    }

    constexpr float operator()(int row, int col) const { return M[col * 4 + row]; }
    constexpr float& operator()(int row, int col) { return M[col * 4 + row]; }
    const float* data() const { return M.data(); }

    constexpr TVector3f Column(int c) const { return {M[c * 4], M[c * 4 + 1], M[c * 4 + 2]}; }
    constexpr TVector3f Translation() const { return Column(3); }

    constexpr TMatrix4f operator*(const TMatrix4f& b) const {
        // Column by column as a sum of scaled columns: the compiler turns this into vector code.
        TMatrix4f r;
        for (int c = 0; c < 4; ++c) {
            const float b0 = b.M[c * 4], b1 = b.M[c * 4 + 1], b2 = b.M[c * 4 + 2],
                        b3 = b.M[c * 4 + 3];
            for (int row = 0; row < 4; ++row) {
                r.M[c * 4 + row] =
                    M[row] * b0 + M[4 + row] * b1 + M[8 + row] * b2 + M[12 + row] * b3;
            }
        }
        return r;
    }

    /// The point p (w = 1) transformed, divided by w when the matrix is projective.
    TVector3f TransformPoint(const TVector3f& p) const;
    /// The direction v (w = 0) transformed: rotation and scale only, no translation.
    constexpr TVector3f TransformVector(const TVector3f& v) const {
        return {M[0] * v.X + M[4] * v.Y + M[8] * v.Z, M[1] * v.X + M[5] * v.Y + M[9] * v.Z,
                M[2] * v.X + M[6] * v.Y + M[10] * v.Z};
    }

    /// The inverse; a singular matrix (an object scaled by 0) gives the identity.
    TMatrix4f Inverse() const;

    constexpr bool operator==(const TMatrix4f&) const = default;
};

/// Perspective projection (OpenGL clip space, depth -1..1) with the vertical field of view in
/// degrees.
TMatrix4f PerspectiveMatrix(float fovYDegrees, float aspect, float zNear, float zFar);
/// Parallel projection of the box -halfWidth..halfWidth, -halfHeight..halfHeight, with the
/// eye looking down -Z between -zNear and -zFar.
TMatrix4f OrthoMatrix(float halfWidth, float halfHeight, float zNear, float zFar);

/// View matrix of an eye at `eye` looking towards `centre` with the given up vector. When up is
/// parallel to the line of sight, a perpendicular up is chosen instead.
TMatrix4f LookAtMatrix(const TVector3f& eye, const TVector3f& centre, const TVector3f& up);

}  // namespace kx
