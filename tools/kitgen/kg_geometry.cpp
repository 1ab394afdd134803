// Small solid-modelling library for generated part meshes: primitives, transforms, merging.
#include "kg_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>

namespace kx::kitgen {

namespace {

constexpr double kPi = std::numbers::pi;

double Rad(double degrees) {
    return degrees * kPi / 180.0;
}

TVector3f V(double x, double y, double z) {
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

TVector3f FacetNormal(const TVector3f& a, const TVector3f& b, const TVector3f& c) {
    return Cross(b - a, c - a);
}

/// Adds a triangle turned so that its normal does not point against expected.
void OrientedTri(TGeo& g, const TVector3f& a, const TVector3f& b, const TVector3f& c,
                 const TVector3f& expected) {
    if (Dot(FacetNormal(a, b, c), expected) < 0) {
        g.Tri(a, c, b);
    } else {
        g.Tri(a, b, c);
    }
}

void OrientedQuad(TGeo& g, const TVector3f& a, const TVector3f& b, const TVector3f& c,
                  const TVector3f& d, const TVector3f& expected) {
    OrientedTri(g, a, b, c, expected);
    OrientedTri(g, a, c, d, expected);
}

}  // namespace

// --- TGeo ------------------------------------------------------------------------------------

void TGeo::Tri(const TVector3f& a, const TVector3f& b, const TVector3f& c) {
    const TVector3f n = FacetNormal(a, b, c);
    const float scale = std::max({Length(b - a), Length(c - a), Length(c - b)});
    if (scale <= 0 || Length(n) <= 1e-7f * scale * scale) {
        return;
    }
    P.push_back(a);
    P.push_back(b);
    P.push_back(c);
}

void TGeo::Quad(const TVector3f& a, const TVector3f& b, const TVector3f& c, const TVector3f& d) {
    Tri(a, b, c);
    Tri(a, c, d);
}

TGeo& TGeo::operator+=(const TGeo& other) {
    P.insert(P.end(), other.P.begin(), other.P.end());
    return *this;
}

TGeo operator+(TGeo a, const TGeo& b) {
    a += b;
    return a;
}

// --- TXform ----------------------------------------------------------------------------------

TVector3f TXform::Apply(const TVector3f& p) const {
    double r[3];
    for (int i = 0; i < 3; ++i) {
        r[i] = M[i][0] * p.X + M[i][1] * p.Y + M[i][2] * p.Z + T[i];
    }
    return V(r[0], r[1], r[2]);
}

TVector3f TXform::ApplyDir(const TVector3f& v) const {
    double r[3];
    for (int i = 0; i < 3; ++i) {
        r[i] = M[i][0] * v.X + M[i][1] * v.Y + M[i][2] * v.Z;
    }
    return V(r[0], r[1], r[2]);
}

double TXform::Determinant() const {
    return M[0][0] * (M[1][1] * M[2][2] - M[1][2] * M[2][1]) -
           M[0][1] * (M[1][0] * M[2][2] - M[1][2] * M[2][0]) +
           M[0][2] * (M[1][0] * M[2][1] - M[1][1] * M[2][0]);
}

TXform TXform::operator*(const TXform& o) const {
    TXform r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            r.M[i][j] = M[i][0] * o.M[0][j] + M[i][1] * o.M[1][j] + M[i][2] * o.M[2][j];
        }
        r.T[i] = M[i][0] * o.T[0] + M[i][1] * o.T[1] + M[i][2] * o.T[2] + T[i];
    }
    return r;
}

TXform TXform::Translate(double x, double y, double z) {
    TXform r;
    r.T[0] = x;
    r.T[1] = y;
    r.T[2] = z;
    return r;
}

namespace {
// Sine and cosine that are exact at multiples of 90 degrees, so rotated grids stay on grid.
void SinCos(double degrees, double& s, double& c) {
    const double q = degrees / 90.0;
    if (q == std::round(q)) {
        const int k = ((static_cast<int>(std::round(q)) % 4) + 4) % 4;
        static const double ks[4] = {0, 1, 0, -1};
        static const double kc[4] = {1, 0, -1, 0};
        s = ks[k];
        c = kc[k];
        return;
    }
    s = std::sin(Rad(degrees));
    c = std::cos(Rad(degrees));
}
}  // namespace

TXform TXform::RotateX(double degrees) {
    double s, c;
    SinCos(degrees, s, c);
    TXform r;
    r.M[1][1] = c;
    r.M[1][2] = -s;
    r.M[2][1] = s;
    r.M[2][2] = c;
    return r;
}

TXform TXform::RotateY(double degrees) {
    double s, c;
    SinCos(degrees, s, c);
    TXform r;
    r.M[0][0] = c;
    r.M[0][2] = s;
    r.M[2][0] = -s;
    r.M[2][2] = c;
    return r;
}

TXform TXform::RotateZ(double degrees) {
    double s, c;
    SinCos(degrees, s, c);
    TXform r;
    r.M[0][0] = c;
    r.M[0][1] = -s;
    r.M[1][0] = s;
    r.M[1][1] = c;
    return r;
}

TXform TXform::Scale(double x, double y, double z) {
    TXform r;
    r.M[0][0] = x;
    r.M[1][1] = y;
    r.M[2][2] = z;
    return r;
}

TXform TXform::Frame(const TVector3f& dir, const TVector3f& up) {
    const TVector3f z = Normalized(dir);
    TVector3f x = Cross(up, z);
    if (Length(x) < 1e-6f) {
        x = Cross(TVector3f(0, 1, 0), z);
        if (Length(x) < 1e-6f) {
            x = Cross(TVector3f(1, 0, 0), z);
        }
    }
    x = Normalized(x);
    const TVector3f y = Cross(z, x);
    TXform r;
    for (int i = 0; i < 3; ++i) {
        r.M[i][0] = x[i];
        r.M[i][1] = y[i];
        r.M[i][2] = z[i];
    }
    return r;
}

TGeo Transformed(const TGeo& geo, const TXform& xf) {
    TGeo r;
    r.P.reserve(geo.P.size());
    const bool mirror = xf.Determinant() < 0;
    for (size_t i = 0; i + 2 < geo.P.size(); i += 3) {
        const TVector3f a = xf.Apply(geo.P[i]);
        const TVector3f b = xf.Apply(geo.P[i + 1]);
        const TVector3f c = xf.Apply(geo.P[i + 2]);
        r.P.push_back(a);
        r.P.push_back(mirror ? c : b);
        r.P.push_back(mirror ? b : c);
    }
    return r;
}

// --- Primitives ------------------------------------------------------------------------------

TGeo Box(const TVector3f& lo, const TVector3f& hi) {
    return RoundedBox(lo, hi, 0, 1);
}

TGeo RoundedBox(const TVector3f& lo, const TVector3f& hi, double r, int segs, unsigned openFaces) {
    segs = std::max(segs, 1);
    const double hx = (hi.X - lo.X) / 2, hy = (hi.Y - lo.Y) / 2, hz = (hi.Z - lo.Z) / 2;
    r = std::clamp(r, 0.0, std::min({hx, hy, hz}));
    const TVector3f centre = (lo + hi) * 0.5f;
    const double ix = hx - r, iy = hy - r, iz = hz - r;
    // An octant-split sphere: every quarter of longitude and half of latitude is drawn
    // around its own corner centre; the strips between them become the flat faces and the
    // rounded edges.
    const int cols = 4 * (segs + 1);
    const int rows = 2 * (segs + 1);
    auto point = [&](int row, int col) {
        const int q = col / (segs + 1);
        const double theta = q * 90.0 + (col % (segs + 1)) * 90.0 / segs;
        const double sx = (q == 0 || q == 3) ? 1 : -1;
        const double sz = (q == 0 || q == 1) ? 1 : -1;
        const int h = row / (segs + 1);
        const double phi =
            h == 0 ? -90.0 + (row % (segs + 1)) * 90.0 / segs : (row % (segs + 1)) * 90.0 / segs;
        const double sy = h == 0 ? -1 : 1;
        double st, ct, sp, cp;
        SinCos(theta, st, ct);
        SinCos(phi, sp, cp);
        return V(centre.X + sx * ix + r * cp * ct, centre.Y + sy * iy + r * sp,
                 centre.Z + sz * iz + r * cp * st);
    };
    TGeo g;
    for (int row = 0; row + 1 < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const TVector3f a = point(row, col), b = point(row, (col + 1) % cols);
            const TVector3f c = point(row + 1, (col + 1) % cols), d = point(row + 1, col);
            // The strip crossing both seams is a flat side face.
            if (row == segs && col % (segs + 1) == segs) {
                static const unsigned kSide[4] = {kFaceZP, kFaceXN, kFaceZN, kFaceXP};
                if (openFaces & kSide[col / (segs + 1)]) {
                    continue;
                }
            }
            const TVector3f mid = (a + b + c + d) * 0.25f - centre;
            OrientedQuad(g, a, b, c, d, mid);
        }
    }
    // The flat top and bottom are spanned by the four corner points at the poles.
    const int qc[4] = {0, segs + 1, 2 * (segs + 1), 3 * (segs + 1)};
    if (!(openFaces & kFaceYN)) {
        OrientedQuad(g, point(0, qc[0]), point(0, qc[1]), point(0, qc[2]), point(0, qc[3]),
                     TVector3f(0, -1, 0));
    }
    if (!(openFaces & kFaceYP)) {
        OrientedQuad(g, point(rows - 1, qc[0]), point(rows - 1, qc[1]), point(rows - 1, qc[2]),
                     point(rows - 1, qc[3]), TVector3f(0, 1, 0));
    }
    return g;
}

TGeo Lathe(const std::vector<TPt2>& profile, int segs, bool closed) {
    TGeo g;
    const size_t n = profile.size();
    const size_t edges = closed ? n : n - 1;
    for (size_t e = 0; e < edges && n >= 2; ++e) {
        const TPt2 a = profile[e], b = profile[(e + 1) % n];
        const double dr = b.X - a.X, dz = b.Y - a.Y;
        for (int s = 0; s < segs; ++s) {
            // The last facet ends on the very angle the first starts on, so the seam closes.
            const double t0 = 2 * kPi * s / segs, t1 = 2 * kPi * ((s + 1) % segs) / segs;
            const double tm = 2 * kPi * (s + 0.5) / segs;
            auto at = [](const TPt2& p, double t) {
                return V(p.X * std::cos(t), p.X * std::sin(t), p.Y);
            };
            const TVector3f out = V(dz * std::cos(tm), dz * std::sin(tm), -dr);
            OrientedQuad(g, at(a, t0), at(a, t1), at(b, t1), at(b, t0), out);
        }
    }
    return g;
}

TGeo Cylinder(double r, double z0, double z1, int segs) {
    return Lathe({{0, z0}, {r, z0}, {r, z1}, {0, z1}}, segs);
}

TGeo Tube(double rIn, double rOut, double z0, double z1, int segs) {
    return Lathe({{rIn, z0}, {rOut, z0}, {rOut, z1}, {rIn, z1}}, segs, true);
}

TGeo Cone(double r0, double r1, double z0, double z1, int segs) {
    return Lathe({{0, z0}, {r0, z0}, {r1, z1}, {0, z1}}, segs);
}

TGeo Sphere(double r, int segs) {
    std::vector<TPt2> profile;
    const int half = std::max(segs / 2, 2);
    for (int i = 0; i <= half; ++i) {
        const double t = kPi * i / half;
        profile.push_back({r * std::sin(t), -r * std::cos(t)});
    }
    profile.front().X = 0;
    profile.back().X = 0;
    return Lathe(profile, segs);
}

TGeo Torus(double rMajor, double rMinor, int segsMajor, int segsMinor) {
    std::vector<TPt2> profile;
    // Counter-clockwise in the (radius, z) plane, like every closed lathe profile.
    for (int i = 0; i < segsMinor; ++i) {
        const double t = 2 * kPi * i / segsMinor;
        profile.push_back({rMajor + rMinor * std::cos(t), rMinor * std::sin(t)});
    }
    return Lathe(profile, segsMajor, true);
}

/// A beam of rectangular section w (in the X-Y plane) x d (along Z) from a to b.
TGeo Beam(TPt2 a, TPt2 b, double w, double d) {
    const double len = std::hypot(b.X - a.X, b.Y - a.Y);
    const double ang = std::atan2(b.Y - a.Y, b.X - a.X) * 180 / kPi;
    const TGeo box = Box(V(0, -w / 2, -d / 2), V(len, w / 2, d / 2));
    return Transformed(box, TXform::Translate(a.X, a.Y, 0) * TXform::RotateZ(ang));
}

/// A ring segment of rectangular section [r0,r1] x [y0,y1] around the Y axis, from angle
/// a0 to a1 (degrees, measured from +X towards +Z), closed at both ends.
TGeo ArcSweep(double r0, double r1, double y0, double y1, double a0, double a1, int segs) {
    TGeo g;
    auto at = [](double r, double y, double a) {
        const double t = a * kPi / 180;
        return V(r * std::cos(t), y, r * std::sin(t));
    };
    for (int s = 0; s < segs; ++s) {
        const double t0 = a0 + (a1 - a0) * s / segs, t1 = a0 + (a1 - a0) * (s + 1) / segs;
        const TVector3f mid = at(1, 0, (t0 + t1) / 2);
        auto quad = [&](TVector3f a, TVector3f b, TVector3f c, TVector3f d, TVector3f out) {
            if (Dot(Cross(b - a, c - a), out) < 0) {
                std::swap(b, d);
            }
            g.Quad(a, b, c, d);
        };
        quad(at(r1, y0, t0), at(r1, y0, t1), at(r1, y1, t1), at(r1, y1, t0), mid);
        quad(at(r0, y0, t0), at(r0, y0, t1), at(r0, y1, t1), at(r0, y1, t0), -mid);
        quad(at(r0, y1, t0), at(r1, y1, t0), at(r1, y1, t1), at(r0, y1, t1), TVector3f(0, 1, 0));
        quad(at(r0, y0, t0), at(r1, y0, t0), at(r1, y0, t1), at(r0, y0, t1), TVector3f(0, -1, 0));
    }
    auto cap = [&](double a, double sense) {
        const double t = a * kPi / 180;
        const TVector3f out = V(-std::sin(t) * sense, 0, std::cos(t) * sense);
        TVector3f p0 = at(r0, y0, a), p1 = at(r1, y0, a), p2 = at(r1, y1, a), p3 = at(r0, y1, a);
        if (Dot(Cross(p1 - p0, p2 - p0), out) < 0) {
            std::swap(p1, p3);
        }
        g.Quad(p0, p1, p2, p3);
    };
    cap(a0, a1 > a0 ? -1 : 1);
    cap(a1, a1 > a0 ? 1 : -1);
    return g;
}

TGeo ExtrudeConvex(const std::vector<TPt2>& o, double z0, double z1) {
    TGeo g;
    const size_t n = o.size();
    if (n < 3) {
        return g;
    }
    for (size_t i = 1; i + 1 < n; ++i) {
        g.Tri(V(o[0].X, o[0].Y, z1), V(o[i].X, o[i].Y, z1), V(o[i + 1].X, o[i + 1].Y, z1));
        g.Tri(V(o[0].X, o[0].Y, z0), V(o[i + 1].X, o[i + 1].Y, z0), V(o[i].X, o[i].Y, z0));
    }
    for (size_t i = 0; i < n; ++i) {
        const TPt2 a = o[i], b = o[(i + 1) % n];
        g.Quad(V(a.X, a.Y, z0), V(b.X, b.Y, z0), V(b.X, b.Y, z1), V(a.X, a.Y, z1));
    }
    return g;
}

TGeo ExtrudeStarWithBore(const std::vector<TPt2>& o, double rBore, double z0, double z1) {
    TGeo g;
    const size_t n = o.size();
    for (size_t i = 0; i < n; ++i) {
        const TPt2 a = o[i], b = o[(i + 1) % n];
        const double la = std::hypot(a.X, a.Y), lb = std::hypot(b.X, b.Y);
        const TPt2 ia{a.X / la * rBore, a.Y / la * rBore}, ib{b.X / lb * rBore, b.Y / lb * rBore};
        g.Quad(V(ia.X, ia.Y, z1), V(a.X, a.Y, z1), V(b.X, b.Y, z1), V(ib.X, ib.Y, z1));
        g.Quad(V(ia.X, ia.Y, z0), V(ib.X, ib.Y, z0), V(b.X, b.Y, z0), V(a.X, a.Y, z0));
        g.Quad(V(a.X, a.Y, z0), V(b.X, b.Y, z0), V(b.X, b.Y, z1), V(a.X, a.Y, z1));
        g.Quad(V(ib.X, ib.Y, z0), V(ia.X, ia.Y, z0), V(ia.X, ia.Y, z1), V(ib.X, ib.Y, z1));
    }
    return g;
}

std::vector<TPt2> GearOutline(int teeth, double module, int pointsPerFlank) {
    std::vector<TPt2> o;
    const double rp = module * teeth / 2, ra = rp + module, rf = rp - 1.25 * module;
    const double pitch = 2 * kPi / teeth;
    pointsPerFlank = std::max(pointsPerFlank, 2);
    auto add = [&](double r, double t) { o.push_back({r * std::cos(t), r * std::sin(t)}); };
    for (int k = 0; k < teeth; ++k) {
        const double c = k * pitch;
        add(rf, c - 0.5 * pitch);
        // Rising flank, bulging slightly like an involute, then the tip land.
        for (int i = 0; i < pointsPerFlank; ++i) {
            const double f = static_cast<double>(i) / (pointsPerFlank - 1);
            const double r = rf + (ra - rf) * f;
            const double w = 0.30 - 0.14 * std::sqrt(f);
            add(r, c - w * pitch);
        }
        for (int i = pointsPerFlank - 1; i >= 0; --i) {
            const double f = static_cast<double>(i) / (pointsPerFlank - 1);
            const double r = rf + (ra - rf) * f;
            const double w = 0.30 - 0.14 * std::sqrt(f);
            add(r, c + w * pitch);
        }
    }
    return o;
}

TGeo FaceWithHoles(const TFaceMap& face, double u0, double u1, double v0, double v1,
                   const std::vector<double>& holeU, const std::vector<double>& holeV,
                   double holeRadius, double depth, int segs) {
    TGeo g;
    auto at = [&](double u, double v, double d) {
        return face.Origin + face.U * static_cast<float>(u) + face.V * static_cast<float>(v) -
               face.Normal * static_cast<float>(d);
    };
    if (holeU.empty() || holeV.empty()) {
        OrientedQuad(g, at(u0, v0, 0), at(u1, v0, 0), at(u1, v1, 0), at(u0, v1, 0), face.Normal);
        return g;
    }
    auto bounds = [](const std::vector<double>& c, double lo, double hi) {
        std::vector<double> b{lo};
        for (size_t i = 0; i + 1 < c.size(); ++i) {
            b.push_back((c[i] + c[i + 1]) / 2);
        }
        b.push_back(hi);
        return b;
    };
    const std::vector<double> bu = bounds(holeU, u0, u1), bv = bounds(holeV, v0, v1);
    for (size_t i = 0; i < holeU.size(); ++i) {
        for (size_t j = 0; j < holeV.size(); ++j) {
            const double cu = holeU[i], cv = holeV[j];
            const double cu0 = bu[i], cu1 = bu[i + 1], cv0 = bv[j], cv1 = bv[j + 1];
            std::vector<double> angles;
            for (int k = 0; k < segs; ++k) {
                angles.push_back(2 * kPi * k / segs);
            }
            for (double cu_ : {cu0, cu1}) {
                for (double cv_ : {cv0, cv1}) {
                    double a = std::atan2(cv_ - cv, cu_ - cu);
                    angles.push_back(a < 0 ? a + 2 * kPi : a);
                }
            }
            std::sort(angles.begin(), angles.end());
            angles.erase(std::unique(angles.begin(), angles.end(),
                                     [](double a, double b) { return std::abs(a - b) < 1e-9; }),
                         angles.end());
            auto rim = [&](double a) {
                const double c = std::cos(a), s = std::sin(a);
                double t = 1e30;
                if (c > 1e-12)
                    t = std::min(t, (cu1 - cu) / c);
                if (c < -1e-12)
                    t = std::min(t, (cu0 - cu) / c);
                if (s > 1e-12)
                    t = std::min(t, (cv1 - cv) / s);
                if (s < -1e-12)
                    t = std::min(t, (cv0 - cv) / s);
                return TPt2{cu + t * c, cv + t * s};
            };
            const size_t n = angles.size();
            for (size_t k = 0; k < n; ++k) {
                const double a = angles[k], b = angles[(k + 1) % n];
                const TPt2 ra = rim(a), rb = rim(b);
                const TVector3f ia =
                    at(cu + holeRadius * std::cos(a), cv + holeRadius * std::sin(a), 0);
                const TVector3f ib =
                    at(cu + holeRadius * std::cos(b), cv + holeRadius * std::sin(b), 0);
                OrientedQuad(g, ia, at(ra.X, ra.Y, 0), at(rb.X, rb.Y, 0), ib, face.Normal);
                // The wall of the hole faces its axis; the floor faces the opening.
                const TVector3f da =
                    at(cu + holeRadius * std::cos(a), cv + holeRadius * std::sin(a), depth);
                const TVector3f db =
                    at(cu + holeRadius * std::cos(b), cv + holeRadius * std::sin(b), depth);
                const TVector3f axis = at(cu, cv, depth / 2);
                OrientedQuad(g, ia, ib, db, da, axis - (ia + db) * 0.5f);
                OrientedTri(g, at(cu, cv, depth), da, db, face.Normal);
            }
        }
    }
    return g;
}

TGeo HoledBox(const TVector3f& lo, const TVector3f& hi, double r, int segs,
              const std::vector<TFaceHoles>& faces, double holeRadius, double depth, int holeSegs) {
    r = std::clamp(r, 0.0, std::min({hi.X - lo.X, hi.Y - lo.Y, hi.Z - lo.Z}) / 2.0);
    unsigned open = 0;
    for (const TFaceHoles& f : faces) {
        open |= f.Face;
    }
    TGeo g = RoundedBox(lo, hi, r, segs, open);
    const float fr = static_cast<float>(r);
    const TVector3f X(1, 0, 0), Y(0, 1, 0), Z(0, 0, 1);
    for (const TFaceHoles& f : faces) {
        // Face frame (U x V = outward normal) and the face's extent in it.
        TFaceMap m;
        double u0 = 0, u1 = 0, v0 = 0, v1 = 0;
        switch (f.Face) {
            case kFaceYN:
                m = {V(0, lo.Y, 0), X, Z, -Y};
                u0 = lo.X + fr, u1 = hi.X - fr, v0 = lo.Z + fr, v1 = hi.Z - fr;
                break;
            case kFaceYP:
                m = {V(0, hi.Y, 0), Z, X, Y};
                u0 = lo.Z + fr, u1 = hi.Z - fr, v0 = lo.X + fr, v1 = hi.X - fr;
                break;
            case kFaceXN:
                m = {V(lo.X, 0, 0), Z, Y, -X};
                u0 = lo.Z + fr, u1 = hi.Z - fr, v0 = lo.Y + fr, v1 = hi.Y - fr;
                break;
            case kFaceXP:
                m = {V(hi.X, 0, 0), Y, Z, X};
                u0 = lo.Y + fr, u1 = hi.Y - fr, v0 = lo.Z + fr, v1 = hi.Z - fr;
                break;
            case kFaceZP:
                m = {V(0, 0, hi.Z), X, Y, Z};
                u0 = lo.X + fr, u1 = hi.X - fr, v0 = lo.Y + fr, v1 = hi.Y - fr;
                break;
            case kFaceZN:
                m = {V(0, 0, lo.Z), Y, X, -Z};
                u0 = lo.Y + fr, u1 = hi.Y - fr, v0 = lo.X + fr, v1 = hi.X - fr;
                break;
            default:
                continue;
        }
        g += FaceWithHoles(m, u0, u1, v0, v1, f.U, f.V, holeRadius, depth, holeSegs);
    }
    return g;
}

// --- Meshes ----------------------------------------------------------------------------------

TMesh ToMesh(const TGeo& geo) {
    TMesh m;
    m.Positions = geo.P;
    m.Normals.reserve(geo.P.size());
    for (size_t i = 0; i + 2 < geo.P.size(); i += 3) {
        const TVector3f n = Normalized(FacetNormal(geo.P[i], geo.P[i + 1], geo.P[i + 2]));
        m.Normals.insert(m.Normals.end(), {n, n, n});
    }
    return m;
}

std::vector<TVector3f> SmoothNormals(const TMesh& mesh, double limit) {
    // Vertices meet exactly (they come from the same arithmetic), so grouping them by their
    // bit patterns finds every neighbour without the all-pairs search.
    using TKey = std::array<uint32_t, 3>;
    std::map<TKey, std::vector<size_t>> groups;
    auto key = [](const TVector3f& p) {
        TKey k;
        const float f[3] = {p.X + 0.0f, p.Y + 0.0f, p.Z + 0.0f};  // -0 and 0 meet
        std::memcpy(k.data(), f, sizeof f);
        return k;
    };
    for (size_t i = 0; i < mesh.Positions.size(); ++i) {
        groups[key(mesh.Positions[i])].push_back(i);
    }
    std::vector<TVector3f> out(mesh.Positions.size());
    for (const auto& [k, members] : groups) {
        for (size_t q : members) {
            TVector3f s;
            const TVector3f nq = mesh.Normals[q];
            for (size_t j : members) {
                const TVector3f nj = mesh.Normals[j];
                const float lens = Length(nq) * Length(nj);
                if (j == q || (lens > 0 && Dot(nq, nj) / lens > limit)) {
                    s += nj;
                }
            }
            out[q] = s;
        }
    }
    return out;
}

TBounds Bounds(const TGeo& geo) {
    TBounds b;
    if (geo.P.empty()) {
        return b;
    }
    b.Lo = b.Hi = geo.P.front();
    for (const TVector3f& p : geo.P) {
        b.Lo = {std::min(b.Lo.X, p.X), std::min(b.Lo.Y, p.Y), std::min(b.Lo.Z, p.Z)};
        b.Hi = {std::max(b.Hi.X, p.X), std::max(b.Hi.Y, p.Y), std::max(b.Hi.Z, p.Z)};
    }
    return b;
}

double SignedVolume(const TGeo& geo) {
    double v = 0;
    for (size_t i = 0; i + 2 < geo.P.size(); i += 3) {
        const TVector3f &a = geo.P[i], &b = geo.P[i + 1], &c = geo.P[i + 2];
        v += Dot(a, Cross(b, c));
    }
    return v / 6.0;
}

}  // namespace kx::kitgen
