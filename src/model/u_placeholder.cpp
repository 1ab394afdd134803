// The stand-in shape of a placed part whose mesh file is not there.
#include "model/u_placeholder.h"

#include <memory>

namespace kx {

namespace {

TMeshPtr MakeBox(float half) {
    auto mesh = std::make_shared<TMesh>();
    // Each face as two triangles, counter-clockwise seen from outside.
    const auto face = [&](const TVector3f& normal, const TVector3f& u, const TVector3f& v) {
        const TVector3f c = normal * half;
        const TVector3f a = c - u * half - v * half;
        const TVector3f b = c + u * half - v * half;
        const TVector3f d = c + u * half + v * half;
        const TVector3f e = c - u * half + v * half;
        for (const TVector3f& p : {a, b, d, a, d, e}) {
            mesh->Positions.push_back(p);
            mesh->Normals.push_back(normal);
        }
    };
    face({1, 0, 0}, {0, 1, 0}, {0, 0, 1});
    face({-1, 0, 0}, {0, 0, 1}, {0, 1, 0});
    face({0, 1, 0}, {0, 0, 1}, {1, 0, 0});
    face({0, -1, 0}, {1, 0, 0}, {0, 0, 1});
    face({0, 0, 1}, {1, 0, 0}, {0, 1, 0});
    face({0, 0, -1}, {0, 1, 0}, {1, 0, 0});
    return mesh;
}

}  // namespace

TMeshPtr PlaceholderMesh() {
    static const TMeshPtr box = MakeBox(7.5f);
    return box;
}

}  // namespace kx
