// Helpers of the renderer tests: simple meshes, a camera looking at the origin, pixel checks.
#pragma once

#include <cmath>
#include <memory>
#include <string>

#include "view/r_frame.h"
#include "view/r_image.h"
#include "view/u_scene.h"

namespace kxtest {

/// A part as the model places one: the mesh at scale 0.1 under the parts root, coloured by
/// its library material "MAT" + name.
inline kx::TFreeForm& AddPart(kx::TScene& scene, const std::string& name, kx::TMeshPtr mesh,
                              kx::TColor4f colour, kx::TVector3f position = {}) {
    using namespace kx;
    auto& part = scene.PartsRoot()->AddNewChild<TFreeForm>(name);
    part.SetMesh(std::move(mesh));
    part.SetScale(0.1f);
    part.SetPosition(position);
    auto material = scene.MaterialLibrary().Add(TMaterialLibrary::PartMaterialName(name));
    material->SetDiffuse(colour);
    material->SetBlending(TBlendingMode::Transparent);
    part.LinkLibMaterial(material);
    return part;
}

/// An axis-aligned box centred on the origin, outward normals, counter-clockwise fronts,
/// texture coordinates 0..1 on each face.
inline kx::TMeshPtr MakeBox(float sx, float sy, float sz) {
    auto mesh = std::make_shared<kx::TMesh>();
    const float h[3] = {sx / 2, sy / 2, sz / 2};
    // For each axis and sign: the face's two in-plane axes chosen so (u x v) points outward.
    for (int axis = 0; axis < 3; ++axis) {
        for (int sign = -1; sign <= 1; sign += 2) {
            const int u = (axis + (sign > 0 ? 1 : 2)) % 3;
            const int v = (axis + (sign > 0 ? 2 : 1)) % 3;
            auto corner = [&](float a, float b) {
                float p[3];
                p[axis] = sign * h[axis];
                p[u] = a * h[u];
                p[v] = b * h[v];
                return kx::TVector3f{p[0], p[1], p[2]};
            };
            float n[3] = {0, 0, 0};
            n[axis] = float(sign);
            const kx::TVector3f normal{n[0], n[1], n[2]};
            const float quad[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
            for (const auto& q : quad) {
                mesh->Positions.push_back(corner(q[0], q[1]));
                mesh->Normals.push_back(normal);
                mesh->TexCoords.push_back({(q[0] + 1) / 2, (q[1] + 1) / 2});
            }
        }
    }
    return mesh;
}

/// An upright cylinder (axis Y) centred on the origin, smooth sides, flat caps.
inline kx::TMeshPtr MakeCylinder(float radius, float height, int sides) {
    auto mesh = std::make_shared<kx::TMesh>();
    const float h = height / 2;
    auto at = [&](int i, float y) {
        const float a = 6.2831853f * float(i) / float(sides);
        return kx::TVector3f{radius * std::cos(a), y, -radius * std::sin(a)};
    };
    auto normal = [&](int i) {
        const float a = 6.2831853f * float(i) / float(sides);
        return kx::TVector3f{std::cos(a), 0, -std::sin(a)};
    };
    auto push = [&](kx::TVector3f p, kx::TVector3f n) {
        mesh->Positions.push_back(p);
        mesh->Normals.push_back(n);
    };
    for (int i = 0; i < sides; ++i) {
        const int j = i + 1;
        push(at(i, -h), normal(i));
        push(at(j, -h), normal(j));
        push(at(j, h), normal(j));
        push(at(i, -h), normal(i));
        push(at(j, h), normal(j));
        push(at(i, h), normal(i));
        push({0, h, 0}, {0, 1, 0});
        push(at(i, h), {0, 1, 0});
        push(at(j, h), {0, 1, 0});
        push({0, -h, 0}, {0, -1, 0});
        push(at(j, -h), {0, -1, 0});
        push(at(i, -h), {0, -1, 0});
    }
    return mesh;
}

/// A frame with the camera at eye looking at the origin, one white light at the eye.
inline kx::TGlFrame MakeFrame(int width, int height, kx::TVector3f eye = {0, 0, 10},
                              float fovY = 45) {
    kx::TGlFrame frame;
    frame.Eye = eye;
    frame.View = kx::LookAt(eye, {0, 0, 0}, {0, 1, 0});
    frame.Projection = kx::Perspective(fovY, float(width) / float(height), 0.1f, 1000.0f);
    frame.Background = {1, 1, 1, 1};
    frame.Lights[0].On = true;
    frame.Lights[0].Position = eye;
    return frame;
}

inline kx::TGlMeshItem MakeItem(uint64_t id, kx::TMeshPtr mesh, kx::TGlColor diffuse,
                                kx::TVector3f position = {}) {
    kx::TGlMeshItem item;
    item.Id = id;
    item.Version = 1;
    item.Mesh = std::move(mesh);
    item.Diffuse = diffuse;
    item.World = kx::Translation(position);
    return item;
}

struct TRgb {
    int R, G, B;
};

inline TRgb PixelAt(const kx::TRgbaImage& image, int x, int y) {
    const uint8_t* p = image.At(x, y);
    return {p[0], p[1], p[2]};
}

inline bool Near(TRgb a, TRgb b, int tolerance) {
    return std::abs(a.R - b.R) <= tolerance && std::abs(a.G - b.G) <= tolerance &&
           std::abs(a.B - b.B) <= tolerance;
}

}  // namespace kxtest
