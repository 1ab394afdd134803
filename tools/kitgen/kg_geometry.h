// Small solid-modelling library for generated part meshes: primitives, transforms, merging.
#pragma once

#include <vector>

#include "catalogue/u_mesh.h"
#include "foundation/u_vector.h"

namespace kx::kitgen {

/// A triangle soup, three positions per triangle, counter-clockwise seen from outside.
struct TGeo {
    std::vector<TVector3f> P;

    size_t TriangleCount() const { return P.size() / 3; }
    /// Adds a triangle; one of zero area is dropped, so fans over coinciding points stay clean.
    void Tri(const TVector3f& a, const TVector3f& b, const TVector3f& c);
    /// Adds the quad a-b-c-d (counter-clockwise) as two triangles.
    void Quad(const TVector3f& a, const TVector3f& b, const TVector3f& c, const TVector3f& d);
    TGeo& operator+=(const TGeo& other);
};

TGeo operator+(TGeo a, const TGeo& b);

/// Rigid or scaling map p -> M p + T (M row-major).
struct TXform {
    double M[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    double T[3] = {0, 0, 0};

    TVector3f Apply(const TVector3f& p) const;
    TVector3f ApplyDir(const TVector3f& v) const;
    double Determinant() const;
    /// This map after the other one: (this * other)(p) = this(other(p)).
    TXform operator*(const TXform& other) const;

    static TXform Translate(double x, double y, double z);
    static TXform Translate(const TVector3f& v) { return Translate(v.X, v.Y, v.Z); }
    static TXform RotateX(double degrees);
    static TXform RotateY(double degrees);
    static TXform RotateZ(double degrees);
    static TXform Scale(double x, double y, double z);
    /// Maps the Z axis onto dir and the Y axis as close to up as possible (origin stays).
    static TXform Frame(const TVector3f& dir, const TVector3f& up);
};

/// The transformed copy; a mirroring map turns the triangles over so they still face out.
TGeo Transformed(const TGeo& geo, const TXform& xf);

/// A 2D point of profiles and outlines.
struct TPt2 {
    double X = 0;
    double Y = 0;
};

// --- Primitives ------------------------------------------------------------------------------

TGeo Box(const TVector3f& lo, const TVector3f& hi);

/// Faces of a box, for leaving them open.
enum : unsigned {
    kFaceXP = 1,
    kFaceXN = 2,
    kFaceYP = 4,
    kFaceYN = 8,
    kFaceZP = 16,
    kFaceZN = 32,
};

/// Box with every edge rounded by radius r, segs segments per quarter circle (1 gives a
/// chamfer). The flat part of each face named in openFaces (the face inset by r) is left
/// out, so a caller can fill it itself, for example with FaceWithHoles.
TGeo RoundedBox(const TVector3f& lo, const TVector3f& hi, double r, int segs,
                unsigned openFaces = 0);

/// Surface of revolution about the Z axis. The profile is a polyline of (radius, z) points
/// running from the axis (or an inner rim) around the outside back; closed=true joins the
/// last point to the first (for tubes). Points on the axis close the solid there.
TGeo Lathe(const std::vector<TPt2>& profile, int segs, bool closed = false);

TGeo Cylinder(double r, double z0, double z1, int segs);
TGeo Tube(double rIn, double rOut, double z0, double z1, int segs);
TGeo Cone(double r0, double r1, double z0, double z1, int segs);
TGeo Sphere(double r, int segs);
/// Ring of a round cross-section (tyres, seals) about the Z axis.
TGeo Torus(double rMajor, double rMinor, int segsMajor, int segsMinor);

/// A beam of rectangular section w (in the X-Y plane) x d (along Z) from a to b.
TGeo Beam(TPt2 a, TPt2 b, double w, double d);

/// A ring segment of rectangular section [r0, r1] x [y0, y1] about the Y axis, from angle a0
/// to a1 (degrees, from +X towards +Z), closed at both ends: curved rails, arches, bends.
TGeo ArcSweep(double r0, double r1, double y0, double y1, double a0, double a1, int segs);

/// Convex outline in the X-Y plane (counter-clockwise), extruded from z0 to z1.
TGeo ExtrudeConvex(const std::vector<TPt2>& outline, double z0, double z1);

/// Outline star-shaped around the origin (counter-clockwise, in the X-Y plane) with a round
/// bore of radius rBore, extruded from z0 to z1: gears, sprockets, rims with spokes.
TGeo ExtrudeStarWithBore(const std::vector<TPt2>& outline, double rBore, double z0, double z1);

/// Outline of a spur gear: teeth, module m (pitch diameter m*teeth), trapezoidal flanks.
std::vector<TPt2> GearOutline(int teeth, double module, int pointsPerFlank = 2);

/// Flat rectangle [u0,u1]x[v0,v1] with round holes on a grid (holeU x holeV centres),
/// triangulated in the plane; each hole is a blind hole of the given depth going in the
/// direction of -normal. place maps (u, v, depth below the face) to 3D; flip turns the
/// triangles over.
struct TFaceMap {
    TVector3f Origin;  ///< the point (u, v) = (0, 0) on the face
    TVector3f U, V;    ///< unit axes of the face
    TVector3f Normal;  ///< outward normal; U x V must equal it
};
TGeo FaceWithHoles(const TFaceMap& face, double u0, double u1, double v0, double v1,
                   const std::vector<double>& holeU, const std::vector<double>& holeV,
                   double holeRadius, double depth, int segs);

/// Holes on one face of a HoledBox, in face coordinates (u, v): on -Y u runs along X and v
/// along Z, on +Y the other way round; on -X u along Z and v along Y, on +X u along Y and v
/// along Z; on +Z u along X and v along Y, on -Z u along Y and v along X.
struct TFaceHoles {
    unsigned Face = 0;  ///< one of kFace...
    std::vector<double> U, V;
};

/// RoundedBox whose listed faces carry blind round holes on a grid.
TGeo HoledBox(const TVector3f& lo, const TVector3f& hi, double r, int segs,
              const std::vector<TFaceHoles>& faces, double holeRadius, double depth, int holeSegs);

// --- Meshes ----------------------------------------------------------------------------------

/// The triangle soup as a mesh with per-facet normals.
TMesh ToMesh(const TGeo& geo);

/// Smoothed vertex normals as the rounding tool stores them: for each vertex the sum of the
/// facet normals at the same position whose angle to its own has a cosine above limit.
std::vector<TVector3f> SmoothNormals(const TMesh& mesh, double limit);

struct TBounds {
    TVector3f Lo, Hi;
};
TBounds Bounds(const TGeo& geo);

/// Volume enclosed by the triangles (positive when they face outwards).
double SignedVolume(const TGeo& geo);

}  // namespace kx::kitgen
