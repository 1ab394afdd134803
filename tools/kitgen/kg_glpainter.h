// The kit's pictures drawn by the program's own renderer in a headless GL context, from the
// files the program builds a placed part from: every library tile shows the part as the 3D
// view draws it, texture and smoothed normals included.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "kg_painter.h"

namespace kx::kitgen {

class TGlPartPainter : public TPartPainter {
public:
    /// Parts are built from programDir's definitions, meshes, normals and textures, which must
    /// be written there first. Check Valid(): a machine without a usable GL has Error() say why.
    explicit TGlPartPainter(std::filesystem::path programDir);
    ~TGlPartPainter() override;
    TGlPartPainter(const TGlPartPainter&) = delete;
    TGlPartPainter& operator=(const TGlPartPainter&) = delete;

    bool Valid() const;
    const std::string& Error() const;

    /// Throws std::runtime_error when the part cannot be drawn (its mesh file is missing or
    /// broken, the GL fails) rather than ship a picture of a stand-in.
    TImage Paint(const TKitPart& part, int width, int height, TRgb background) override;

private:
    struct TImpl;
    std::unique_ptr<TImpl> m_impl;
};

}  // namespace kx::kitgen
