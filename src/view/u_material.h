// Materials of mesh objects and the scene's named material library ("MAT" + part name).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "view/u_colour.h"
#include "view/u_shader.h"

namespace kx {

enum class TBlendingMode : uint8_t {
    Opaque,       ///< no blending
    Transparent,  ///< source alpha / one minus source alpha, drawn after the opaque objects
    Additive,     ///< source alpha / one
};

enum class TPolygonMode : uint8_t {
    Filled = 0,  ///< the model's polygon mode codes: 0 filled, 1 lines, 2 points
    Lines = 1,
    Points = 2,
};

/// Whoever must hear of a material's change (its mesh object, or the library).
class TMaterialOwner {
public:
    virtual void MaterialChanged() = 0;

protected:
    ~TMaterialOwner() = default;
};

/// How a mesh is coloured. Every setter that changes a value raises Version() and tells the
/// owner; copying a material copies its values only (not its owner, name or version).
class TMaterial {
public:
    TMaterial() = default;
    TMaterial(const TMaterial& other);
    TMaterial& operator=(const TMaterial& other);

    /// Name in the library; empty for an object's own material.
    const std::string& Name() const { return m_name; }

    /// Diffuse colour; its alpha is the part's transparency (1 opaque).
    const TColor4f& Diffuse() const { return m_diffuse; }
    void SetDiffuse(const TColor4f& c);
    void SetDiffuseColor(const TColor3f& c);  ///< keeps the alpha
    void SetDiffuseAlpha(float a);
    const TColor3f& Ambient() const { return m_ambient; }  ///< (0.2, 0.2, 0.2) by default
    void SetAmbient(const TColor3f& c);
    const TColor3f& Emission() const { return m_emission; }  ///< black by default
    void SetEmission(const TColor3f& c);

    TBlendingMode Blending() const { return m_blending; }  ///< Opaque by default
    void SetBlending(TBlendingMode mode);
    TPolygonMode PolygonMode() const { return m_polygonMode; }
    void SetPolygonMode(TPolygonMode mode);

    /// Image file of the texture (full path); empty: untextured. The renderer loads it, with
    /// linear magnification, linear-mipmap-linear minification, modulated with the colour; a
    /// file it cannot read leaves the object untextured.
    const std::string& TextureFile() const { return m_textureFile; }
    void SetTextureFile(std::string file);
    /// The colour of the image's top-left pixel becomes fully transparent.
    bool TextureTopLeftTransparent() const { return m_textureTopLeftTransparent; }
    void SetTextureTopLeftTransparent(bool on);

    /// The outline shader while the outline mode is on; none otherwise.
    const std::optional<TOutLineShader>& Shader() const { return m_shader; }
    bool HasShader() const { return m_shader.has_value(); }
    void SetShader(const TOutLineShader& shader);
    void RemoveShader();

    /// Name of the library material this one refers to (an object's own material); the
    /// library material is what is drawn.
    const std::string& LibMaterialName() const { return m_libMaterialName; }
    void SetLibMaterialName(std::string name);

    /// Raised by every change; starts at 1.
    uint32_t Version() const { return m_version; }

private:
    friend class TMaterialLibrary;
    friend class TFreeForm;
    void Changed();

    TColor4f m_diffuse{0.8f, 0.8f, 0.8f, 1};
    TColor3f m_ambient{0.2f, 0.2f, 0.2f};
    TColor3f m_emission{0, 0, 0};
    TBlendingMode m_blending = TBlendingMode::Opaque;
    TPolygonMode m_polygonMode = TPolygonMode::Filled;
    bool m_textureTopLeftTransparent = false;
    uint32_t m_version = 1;
    std::optional<TOutLineShader> m_shader;
    std::string m_name;
    std::string m_textureFile;
    std::string m_libMaterialName;
    TMaterialOwner* m_owner = nullptr;
};

using TMaterialPtr = std::shared_ptr<TMaterial>;

/// The scene's named materials (`GLMaterialLibrary1`). Names are compared without regard to
/// letter case. Materials are shared: an object that links one keeps it alive even after it
/// left the library, but only materials in the library raise the library's version.
class TMaterialLibrary : private TMaterialOwner {
public:
    TMaterialLibrary() = default;
    ~TMaterialLibrary();
    TMaterialLibrary(const TMaterialLibrary&) = delete;
    TMaterialLibrary& operator=(const TMaterialLibrary&) = delete;

    /// "MAT" + the object's name: the library material of a placed part.
    static std::string PartMaterialName(std::string_view objectName);

    /// A new material of default values under that name; one of the same name leaves the
    /// library first.
    TMaterialPtr Add(std::string_view name);
    TMaterialPtr Find(std::string_view name) const;  ///< nullptr when there is none
    bool Remove(std::string_view name);              ///< false when there was none
    void Clear();
    /// Every material with an outline shader takes this line width (after the options).
    void SetShaderLineWidth(float width);
    size_t Count() const { return m_materials.size(); }
    const std::vector<TMaterialPtr>& Materials() const { return m_materials; }  ///< added order

    /// Raised by adding, removing and by every change of a material in the library.
    uint64_t Version() const { return m_version; }

private:
    void MaterialChanged() override { ++m_version; }
    void Release(TMaterial& m);

    std::vector<TMaterialPtr> m_materials;
    std::unordered_map<std::string, TMaterialPtr> m_index;  // by lower-case name
    uint64_t m_version = 1;
};

}  // namespace kx
