// Materials and the material library.
#include "view/u_material.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/u_text.h"

namespace kx {

// --- Colours ----------------------------------------------------------------------------------

TColor3f ColorFromWin(uint32_t colour) {
    return {static_cast<float>(colour & 0xFF) / 255.0f,
            static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
            static_cast<float>((colour >> 16) & 0xFF) / 255.0f};
}

namespace {
uint32_t ToByte(float v) {
    if (!(v > 0)) {  // also NaN
        return 0;
    }
    if (v >= 1) {
        return 255;
    }
    return static_cast<uint32_t>(std::lround(v * 255.0f));
}
}  // namespace

uint32_t ColorToWin(const TColor3f& colour) {
    return ToByte(colour.R) | (ToByte(colour.G) << 8) | (ToByte(colour.B) << 16);
}

// --- TMaterial --------------------------------------------------------------------------------

TMaterial::TMaterial(const TMaterial& other)
    : m_diffuse(other.m_diffuse),
      m_ambient(other.m_ambient),
      m_emission(other.m_emission),
      m_blending(other.m_blending),
      m_polygonMode(other.m_polygonMode),
      m_textureTopLeftTransparent(other.m_textureTopLeftTransparent),
      m_shader(other.m_shader),
      m_textureFile(other.m_textureFile),
      m_libMaterialName(other.m_libMaterialName) {}

TMaterial& TMaterial::operator=(const TMaterial& other) {
    if (this != &other) {
        m_diffuse = other.m_diffuse;
        m_ambient = other.m_ambient;
        m_emission = other.m_emission;
        m_blending = other.m_blending;
        m_polygonMode = other.m_polygonMode;
        m_textureTopLeftTransparent = other.m_textureTopLeftTransparent;
        m_shader = other.m_shader;
        m_textureFile = other.m_textureFile;
        m_libMaterialName = other.m_libMaterialName;
        Changed();
    }
    return *this;
}

void TMaterial::Changed() {
    ++m_version;
    if (m_owner) {
        m_owner->MaterialChanged();
    }
}

namespace {
template <class T>
bool Assign(T& field, const T& value) {
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}
}  // namespace

void TMaterial::SetDiffuse(const TColor4f& c) {
    if (Assign(m_diffuse, c)) {
        Changed();
    }
}

void TMaterial::SetDiffuseColor(const TColor3f& c) {
    SetDiffuse({c.R, c.G, c.B, m_diffuse.A});
}

void TMaterial::SetDiffuseAlpha(float a) {
    SetDiffuse({m_diffuse.R, m_diffuse.G, m_diffuse.B, a});
}

void TMaterial::SetAmbient(const TColor3f& c) {
    if (Assign(m_ambient, c)) {
        Changed();
    }
}

void TMaterial::SetEmission(const TColor3f& c) {
    if (Assign(m_emission, c)) {
        Changed();
    }
}

void TMaterial::SetBlending(TBlendingMode mode) {
    if (Assign(m_blending, mode)) {
        Changed();
    }
}

void TMaterial::SetPolygonMode(TPolygonMode mode) {
    if (Assign(m_polygonMode, mode)) {
        Changed();
    }
}

void TMaterial::SetTextureFile(std::string file) {
    if (m_textureFile != file) {
        m_textureFile = std::move(file);
        Changed();
    }
}

void TMaterial::SetTextureTopLeftTransparent(bool on) {
    if (Assign(m_textureTopLeftTransparent, on)) {
        Changed();
    }
}

void TMaterial::SetShader(const TOutLineShader& shader) {
    if (!m_shader || !(*m_shader == shader)) {
        m_shader = shader;
        Changed();
    }
}

void TMaterial::RemoveShader() {
    if (m_shader) {
        m_shader.reset();
        Changed();
    }
}

void TMaterial::SetLibMaterialName(std::string name) {
    if (m_libMaterialName != name) {
        m_libMaterialName = std::move(name);
        Changed();
    }
}

// --- TMaterialLibrary -------------------------------------------------------------------------

TMaterialLibrary::~TMaterialLibrary() {
    Clear();
}

std::string TMaterialLibrary::PartMaterialName(std::string_view objectName) {
    std::string name = "MAT";
    name += objectName;
    return name;
}

void TMaterialLibrary::Release(TMaterial& m) {
    m.m_owner = nullptr;
}

TMaterialPtr TMaterialLibrary::Add(std::string_view name) {
    Remove(name);
    auto material = std::make_shared<TMaterial>();
    material->m_name = std::string(name);
    material->m_owner = this;
    m_index.emplace(LowerCase(name), material);
    m_materials.push_back(material);
    ++m_version;
    return material;
}

TMaterialPtr TMaterialLibrary::Find(std::string_view name) const {
    const auto it = m_index.find(LowerCase(name));
    return it == m_index.end() ? nullptr : it->second;
}

bool TMaterialLibrary::Remove(std::string_view name) {
    const auto it = m_index.find(LowerCase(name));
    if (it == m_index.end()) {
        return false;
    }
    TMaterialPtr material = it->second;
    m_index.erase(it);
    // Parts are usually removed newest first, so search from the back.
    const auto pos = std::find(m_materials.rbegin(), m_materials.rend(), material);
    if (pos != m_materials.rend()) {
        m_materials.erase(std::next(pos).base());
    }
    Release(*material);
    ++m_version;
    return true;
}

void TMaterialLibrary::SetShaderLineWidth(float width) {
    for (auto& m : m_materials) {
        if (m->m_shader && m->m_shader->LineWidth != width) {
            TOutLineShader shader = *m->m_shader;
            shader.LineWidth = width;
            m->SetShader(shader);
        }
    }
}

void TMaterialLibrary::Clear() {
    for (auto& m : m_materials) {
        Release(*m);
    }
    const bool hadAny = !m_materials.empty();
    m_materials.clear();
    m_index.clear();
    if (hadAny) {
        ++m_version;
    }
}

}  // namespace kx
