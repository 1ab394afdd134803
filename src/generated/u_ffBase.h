// The common base of the generated bar pieces: a 12 x 3 mm bar section whose triangles are
// computed from a few numbers, and the frame where the next piece of a chain starts.
#pragma once

#include <string>
#include <vector>

#include "foundation/u_vector.h"
#include "view/u_sceneobjects.h"

namespace kx {

/// A triangle list under construction, in mesh units: x along the bar, y across its thickness,
/// z across its width.
class TFFTriangles {
public:
    /// Appends the triangle as given.
    void Add(const TVector3f& p1, const TVector3f& p2, const TVector3f& p3);
    /// Appends the triangle wound so that its normal does not point against `outside`; a
    /// triangle without area keeps the order given.
    void AddFacing(const TVector3f& p1, const TVector3f& p2, const TVector3f& p3,
                   const TVector3f& outside);
    /// The quad (p, q, r, s) as the triangles (p, q, r) and (p, r, s), each facing `outside`.
    void AddQuad(const TVector3f& p, const TVector3f& q, const TVector3f& r, const TVector3f& s,
                 const TVector3f& outside);

    std::vector<TVector3f> Positions;
};

/// A piece of bar: a mesh object of the free-form kind, scaled by 0.1, red.
class TFFBase : public TFreeForm {
public:
    static constexpr float W = 6.0f;  ///< half the bar width
    static constexpr float H = 3.0f;  ///< bar thickness

    explicit TFFBase(std::string name = {});

    /// Rebuilds the triangles from the piece's fields, computes the end frame, then the normals.
    /// Position, Direction and Up are set first by the caller.
    virtual void BuildMesh();

    /// Flat normals: one per triangle, (p2 - p1) x (p3 - p1) normalised, given to its three
    /// corners. A triangle without area gets the piece's Up axis (0, 1, 0) instead of NaN.
    static std::vector<TVector3f> FlatNormals(const std::vector<TVector3f>& positions);

    /// Where the next piece starts, in the coordinates of this piece's parent.
    const TVector3f& EndPosition() const { return m_endPosition; }
    const TVector3f& EndDirection() const { return m_endDirection; }
    const TVector3f& EndUp() const { return m_endUp; }

    /// The piece's x axis in its parent's coordinates: Up x Direction.
    TVector3f XAxis() const { return Cross(Up(), Direction()); }

protected:
    /// Installs the triangles with their flat normals.
    void SetTriangles(std::vector<TVector3f> positions);
    /// The end frame of a straight piece of length `length` (mesh units).
    void SetStraightEndFrame(float length);
    void SetEndFrame(const TVector3f& position, const TVector3f& direction, const TVector3f& up);

private:
    TVector3f m_endPosition;
    TVector3f m_endDirection{0, 0, 1};
    TVector3f m_endUp{0, 1, 0};
};

}  // namespace kx
