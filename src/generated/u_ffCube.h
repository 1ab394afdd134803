// The straight block of a bar: a length of the full cross-section, its ends optionally closed.
#pragma once

#include "generated/u_ffBase.h"

namespace kx {

class TFFCube : public TFFBase {
public:
    using TFFBase::TFFBase;

    void BuildMesh() override;

    float Length = 500.0f;
    bool StartCap = false;  ///< close the face at x = 0
    bool EndCap = false;    ///< close the face at x = L
};

/// The two triangles of the side faces z = +W and z = -W between x0 and x1.
void AddSideFaces(TFFTriangles& t, float x0, float x1, bool plus);
/// The two triangles that close the face x = 0 (start) or x = L (end).
void AddStartCap(TFFTriangles& t);
void AddEndCap(TFFTriangles& t, float length);

}  // namespace kx
