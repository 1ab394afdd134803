// Connector angles of the kit: from a connector's arrow frame to the angles its definition stores.
#include "kg_conn.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kx::kitgen {

namespace {

// A part's frame maps its X axis to Up x Direction, Y to Up and Z to Direction, so a pitch by
// p (about Direction x Up = -X) is a rotation by -p about X, a roll one about Z and a turn one
// about Y.
using TMat = std::array<std::array<double, 3>, 3>;

constexpr double kDeg = 180.0 / std::numbers::pi;

TMat Mul(const TMat& a, const TMat& b) {
    TMat r{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
        }
    }
    return r;
}

TMat Transpose(const TMat& a) {
    TMat r{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            r[i][j] = a[j][i];
        }
    }
    return r;
}

double Tidy(double degrees) {
    double d = std::remainder(degrees, 360.0);  // -180 .. 180
    if (std::abs(d - std::round(d)) < 1e-6) {
        d = std::round(d);
    }
    if (d <= -180) {
        d += 360;
    }
    return d == 0 ? 0 : d;  // no "-0" in the files
}

/// M = Rx(a) Rz(b) Ry(c); returns pitch -a, roll b, turn c.
void Decompose(const TMat& m, double& pitch, double& roll, double& turn) {
    const double sb = std::clamp(-m[0][1], -1.0, 1.0);
    const double b = std::asin(sb);
    double a, c;
    if (std::abs(std::cos(b)) > 1e-9) {
        a = std::atan2(m[2][1], m[1][1]);
        c = std::atan2(m[0][2], m[0][0]);
    } else {
        a = std::atan2(-m[1][2], m[2][2]);
        c = 0;
    }
    pitch = Tidy(-a * kDeg);
    roll = Tidy(b * kDeg);
    turn = Tidy(c * kDeg);
}

}  // namespace

TConnAngles ConnectorAngles(const TVector3f& dirIn, const TVector3f& upIn) {
    const TVector3f d = Normalized(dirIn);
    const TVector3f u = Normalized(upIn - d * Dot(upIn, d));
    const TVector3f x = Cross(u, d);
    TMat a{};
    for (int i = 0; i < 3; ++i) {
        a[i][0] = x[i];
        a[i][1] = u[i];
        a[i][2] = d[i];
    }
    TConnAngles r;
    Decompose(a, r.PF, r.RF, r.TF);
    // Joined by this connector, the part's own arrow must turn into the half turn about Up of
    // the fixed arrow: B * A = Ry(180), so B = Ry(180) * A^T.
    const TMat halfTurn{{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}};
    Decompose(Mul(halfTurn, Transpose(a)), r.PN, r.RN, r.TN);
    return r;
}

}  // namespace kx::kitgen
