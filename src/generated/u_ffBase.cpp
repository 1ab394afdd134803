// The common base of the generated bar pieces.
#include "generated/u_ffBase.h"

#include <cmath>
#include <utility>

#include "view/u_colour.h"

namespace kx {

namespace {

TVector3f Normal(const TVector3f& p1, const TVector3f& p2, const TVector3f& p3) {
    return Cross(p2 - p1, p3 - p1);
}

}  // namespace

void TFFTriangles::Add(const TVector3f& p1, const TVector3f& p2, const TVector3f& p3) {
    Positions.push_back(p1);
    Positions.push_back(p2);
    Positions.push_back(p3);
}

void TFFTriangles::AddFacing(const TVector3f& p1, const TVector3f& p2, const TVector3f& p3,
                             const TVector3f& outside) {
    if (Dot(Normal(p1, p2, p3), outside) < 0) {
        Add(p1, p3, p2);
    } else {
        Add(p1, p2, p3);
    }
}

void TFFTriangles::AddQuad(const TVector3f& p, const TVector3f& q, const TVector3f& r,
                           const TVector3f& s, const TVector3f& outside) {
    AddFacing(p, q, r, outside);
    AddFacing(p, r, s, outside);
}

TFFBase::TFFBase(std::string name) : TFreeForm(std::move(name)) {
    SetScale(0.1f);
    Material().SetDiffuseColor(ColorFromWin(0x2020FF));
}

void TFFBase::BuildMesh() {
    SetTriangles({});
    SetEndFrame(Position(), Direction(), Up());
}

std::vector<TVector3f> TFFBase::FlatNormals(const std::vector<TVector3f>& positions) {
    std::vector<TVector3f> normals;
    normals.reserve(positions.size());
    for (size_t i = 0; i + 2 < positions.size(); i += 3) {
        const TVector3f n = Normal(positions[i], positions[i + 1], positions[i + 2]);
        const float length = Length(n);
        // A bend of 0 degrees has facets without area; their normal is undefined, and a NaN
        // would poison lighting and every export of the strip.
        const TVector3f unit =
            (length > 0 && std::isfinite(length)) ? n / length : TVector3f{0, 1, 0};
        normals.insert(normals.end(), 3, unit);
    }
    return normals;
}

void TFFBase::SetTriangles(std::vector<TVector3f> positions) {
    auto mesh = std::make_shared<TMesh>();
    mesh->Normals = FlatNormals(positions);
    mesh->Positions = std::move(positions);
    SetMesh(std::move(mesh));
}

void TFFBase::SetStraightEndFrame(float length) {
    SetEndFrame(Position() + XAxis() * (length / 10), Direction(), Up());
}

void TFFBase::SetEndFrame(const TVector3f& position, const TVector3f& direction,
                          const TVector3f& up) {
    m_endPosition = position;
    m_endDirection = direction;
    m_endUp = up;
}

}  // namespace kx
