// The run-long caches of part definitions (TDefCache) and part meshes (TffCache).
#include "catalogue/u_partcache.h"

#include "catalogue/u_normals.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

// --- TDefCache --------------------------------------------------------------------------------

TDefPtr TDefCache::GetDef(const TPartFiles& files, std::string_view number,
                          const TCatalogueSettings& settings) {
    const std::string key = LowerCase(number);
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_defs.find(key);
        if (it != m_defs.end() && !settings.DeveloperMode) {
            return it->second;
        }
    }
    Stack().Push("TDefCache.GetDef", number);
    // Read outside the lock: a definition read is file I/O.
    auto def = std::make_shared<const TDefObj>(ReadDefObj(files, number, settings));
    std::lock_guard lock(m_mutex);
    ++m_reads;
    m_defs[key] = def;
    return def;
}

bool TDefCache::Contains(std::string_view number) const {
    std::lock_guard lock(m_mutex);
    return m_defs.count(LowerCase(number)) != 0;
}

void TDefCache::Invalidate(std::string_view number) {
    std::lock_guard lock(m_mutex);
    m_defs.erase(LowerCase(number));
}

void TDefCache::Clear() {
    std::lock_guard lock(m_mutex);
    m_defs.clear();
}

size_t TDefCache::Count() const {
    std::lock_guard lock(m_mutex);
    return m_defs.size();
}

size_t TDefCache::ReadCount() const {
    std::lock_guard lock(m_mutex);
    return m_reads;
}

// --- TffCache ---------------------------------------------------------------------------------

TffCache::TffData& TffCache::Load(const TPartFiles& files, std::string_view meshDir,
                                  std::string_view number) {
    const std::string key = LowerCase(number);
    const auto it = m_meshes.find(key);
    if (it != m_meshes.end()) {
        return it->second;
    }
    Stack().Push("TffCache.LoadMesh", meshDir, number);
    const auto file = files.FindPart(meshDir, number, "stl");
    if (!file) {
        throw TMeshLoadError("Mesh file not found: " + std::string(meshDir) + "/" +
                             std::string(number) + ".stl");
    }
    auto mesh = std::make_shared<TMesh>();
    std::string error;
    ++m_parses;
    if (!LoadStlFile(*file, *mesh, &error)) {
        throw TMeshLoadError(error);
    }
    TffData data;
    data.MeshDir = std::string(meshDir);
    data.Mesh = std::move(mesh);
    return m_meshes.emplace(key, std::move(data)).first->second;
}

TMeshPtr TffCache::LoadMesh(const TPartFiles& files, std::string_view meshDir,
                            std::string_view number) {
    std::lock_guard lock(m_mutex);
    return Load(files, meshDir, number).Mesh;
}

TMeshPtr TffCache::LoadPartMesh(const TPartFiles& files, std::string_view meshDir,
                                std::string_view number) {
    std::lock_guard lock(m_mutex);
    TffData& data = Load(files, meshDir, number);
    if (!data.WithNormals) {
        data.WithNormals = data.Mesh;
        if (const auto nrm = files.FindPart(data.MeshDir, number, "nrm")) {
            auto copy = std::make_shared<TMesh>(*data.Mesh);
            if (LoadNormalsFromFile(*copy, *nrm) > 0) {
                data.WithNormals = std::move(copy);
            }
        }
    }
    return data.WithNormals;
}

TMeshPtr TffCache::LoadCoarseMesh(const TPartFiles& files, std::string_view number) {
    std::lock_guard lock(m_mutex);
    const std::string key = LowerCase(number);
    if (const auto main = m_meshes.find(key);
        main != m_meshes.end() && main->second.MeshDir == "lores") {
        return nullptr;
    }
    const auto [it, added] = m_coarse.try_emplace(key);
    if (!added) {
        return it->second;
    }
    const auto file = files.FindPart("lores", number, "stl");
    if (!file) {
        return nullptr;
    }
    auto mesh = std::make_shared<TMesh>();
    if (!LoadStlFile(*file, *mesh) || mesh->Positions.size() < 3) {
        return nullptr;
    }
    if (const auto nrm = files.FindPart("lores", number, "nrm")) {
        LoadNormalsFromFile(*mesh, *nrm);
    }
    it->second = std::move(mesh);
    return it->second;
}

bool TffCache::Contains(std::string_view number) const {
    std::lock_guard lock(m_mutex);
    return m_meshes.count(LowerCase(number)) != 0;
}

void TffCache::Invalidate(std::string_view number) {
    std::lock_guard lock(m_mutex);
    m_meshes.erase(LowerCase(number));
    m_coarse.erase(LowerCase(number));
}

void TffCache::Clear() {
    std::lock_guard lock(m_mutex);
    m_meshes.clear();
    m_coarse.clear();
}

size_t TffCache::Count() const {
    std::lock_guard lock(m_mutex);
    return m_meshes.size();
}

size_t TffCache::ParseCount() const {
    std::lock_guard lock(m_mutex);
    return m_parses;
}

// --- Process-wide instances -------------------------------------------------------------------

TDefCache& DefCache() {
    static TDefCache cache;
    return cache;
}

TffCache& FfCache() {
    static TffCache cache;
    return cache;
}

}  // namespace kx
