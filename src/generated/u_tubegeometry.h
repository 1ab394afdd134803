// The geometry of a hose: node directions, the natural cubic spline through the nodes, rings
// around the centre line, and the export mesh made of joined rings.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/u_vector.h"

namespace kx {

enum class TSplineMode : uint8_t { lsmLines, lsmCubicSpline };

/// Which surfaces of a tube exist.
enum TPipePart : uint8_t {
    ppOutside = 1,
    ppInside = 2,
    ppStartDisk = 4,
    ppStopDisk = 8,
};

/// One vertex of the export mesh: position, then normal; three in a row form a triangle.
struct TPipeVertex {
    float X = 0, Y = 0, Z = 0;
    float NX = 0, NY = 0, NZ = 0;
};

/// One entry of a ring: a point on the tube's surface and the vector from the centre to it.
struct TRingEntry {
    TVector3f Position;
    TVector3f Radial;
};

/// The unit vector of v, or the zero vector when v is too short to have a direction.
TVector3f SafeNormalized(const TVector3f& v);

/// The direction at node i: towards the neighbours, normalised, or zero for a single node and
/// for neighbours on one spot.
TVector3f NodeDirection(const std::vector<TVector3f>& nodes, size_t i);

/// Natural cubic splines (second derivative zero at both ends) through the nodes, one per
/// coordinate, node k at parameter t = k.
class TTubeSpline {
public:
    /// Needs at least two nodes.
    explicit TTubeSpline(const std::vector<TVector3f>& nodes);
    TVector3f Position(double t) const;
    /// The derivative of the three coordinates by t (not normalised).
    TVector3f Slope(double t) const;

private:
    size_t Interval(double t) const;
    std::vector<TVector3f> m_nodes;
    std::vector<double> m_m[3];  // second derivatives at the nodes
};

/// Cosine and sine of i * 360 / slices for i = 0 ... slices - 1: the same for every ring.
struct TRingAngles {
    explicit TRingAngles(int slices);
    std::vector<float> Cos, Sin;
};

/// Slices + 1 entries around the centre, the last repeating the first.
void ComputeRing(const TVector3f& centre, const TVector3f& direction, float radius, int slices,
                 std::vector<TRingEntry>& ring);
void ComputeRing(const TVector3f& centre, const TVector3f& direction, float radius,
                 const TRingAngles& angles, std::vector<TRingEntry>& ring);

/// Whether two successive rings have turned against each other so far that the previous one
/// must be aligned before they are joined.
bool RingsTwisted(const std::vector<TRingEntry>& previous, const std::vector<TRingEntry>& current,
                  int slices);

/// Joins the previous ring to the current one: two triangles per slice, appended to out. The
/// previous ring is aligned on a copy when the rings are twisted.
void JoinRings(const std::vector<TRingEntry>& previous, const std::vector<TRingEntry>& current,
               int slices, std::vector<TPipeVertex>& out);

/// The parameters a tube is built from.
struct TTubeShape {
    const std::vector<TVector3f>* Nodes = nullptr;
    float Radius = 0.2f;
    int Slices = 16;
    int Division = 10;
    TSplineMode Mode = TSplineMode::lsmLines;
    uint8_t Parts = ppOutside | ppInside;
};

/// The points the tube's centre line runs through, with the direction at each, in the order
/// the export mesh makes its rings. The first direction in spline mode is the slope at t = 0 as
/// it is (not normalised).
struct TTubeSample {
    TVector3f Centre;
    TVector3f Direction;
};
std::vector<TTubeSample> SampleTube(const TTubeShape& shape);

/// The export mesh: joined rings along the centre line, no caps, no inside faces.
std::vector<TPipeVertex> BuildTubeMesh(const TTubeShape& shape);
/// The same into `out`, which is emptied first (its memory is used again).
void BuildTubeMesh(const TTubeShape& shape, std::vector<TPipeVertex>& out);

}  // namespace kx
