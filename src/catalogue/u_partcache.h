// The run-long caches of part definitions (TDefCache) and part meshes (TffCache).
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>

#include "catalogue/u_defObj.h"
#include "catalogue/u_mesh.h"

namespace kx {

class TPartFiles;

using TDefPtr = std::shared_ptr<const TDefObj>;

/// Definitions by number (letter case ignored), read once per run. Records are handed out as
/// shared pointers so that a record replaced in developer mode stays valid for whoever still
/// holds the old one.
class TDefCache {
public:
    /// The number's definition. Never fails: a missing file gives the defaults. In developer
    /// mode the file is read again on every call so that edits take effect at once.
    TDefPtr GetDef(const TPartFiles& files, std::string_view number,
                   const TCatalogueSettings& settings);
    TDefPtr GetDef(const TPartFiles& files, std::string_view number) {
        return GetDef(files, number, CurrentCatalogueSettings());
    }

    /// The number's coarse mesh from lores/ with its normals, drawn where the part is small on
    /// screen; nullptr when there is none or the number's mesh came from lores/ itself. Never
    /// throws; forgotten with the number like the mesh.
    TMeshPtr LoadCoarseMesh(const TPartFiles& files, std::string_view number);

    bool Contains(std::string_view number) const;
    /// Forget one number, after the program rewrote its definition.
    void Invalidate(std::string_view number);
    void Clear();
    size_t Count() const;
    /// How many definition files were read (for tests and diagnostics).
    size_t ReadCount() const;

private:
    mutable std::mutex m_mutex;
    std::map<std::string, TDefPtr> m_defs;  // lower-case number
    size_t m_reads = 0;
};

/// Raised when a mesh file cannot be read or decoded.
class TMeshLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Meshes by number alone, not by folder: once a number's mesh is loaded, every later part of
/// that number uses it, whichever quality is chosen then. Each file is parsed once; the cache
/// keeps the decoded, immutable mesh (rather than an encoded copy of the file) and every part
/// of the number shares it.
class TffCache {
public:
    /// The mesh of a number from <meshDir>/<number>.stl (user folder first). Throws
    /// TMeshLoadError if it is not cached and the file cannot be read; nothing is cached then.
    TMeshPtr LoadMesh(const TPartFiles& files, std::string_view meshDir, std::string_view number);

    /// LoadMesh with the normals of <number>.nrm of the folder the mesh came from applied (a
    /// missing normals file keeps the file's facet normals). Cached like the mesh, so the
    /// normals always belong to the mesh they were made for.
    TMeshPtr LoadPartMesh(const TPartFiles& files, std::string_view meshDir,
                          std::string_view number);

    /// The number's coarse mesh from lores/ with its normals, drawn where the part is small on
    /// screen; nullptr when there is none or the number's mesh came from lores/ itself. Never
    /// throws; forgotten with the number like the mesh.
    TMeshPtr LoadCoarseMesh(const TPartFiles& files, std::string_view number);

    bool Contains(std::string_view number) const;
    /// Forget one number, after the program rewrote its mesh or normals.
    void Invalidate(std::string_view number);
    void Clear();
    size_t Count() const;
    /// How many mesh files were parsed (for tests and diagnostics).
    size_t ParseCount() const;

private:
    struct TffData {
        std::string MeshDir;  // folder the mesh was loaded from
        TMeshPtr Mesh;
        TMeshPtr WithNormals;  // made on first use
    };
    TffData& Load(const TPartFiles& files, std::string_view meshDir, std::string_view number);

    mutable std::mutex m_mutex;
    std::map<std::string, TffData> m_meshes;   // lower-case number
    std::map<std::string, TMeshPtr> m_coarse;  // lower-case number; nullptr: none
    size_t m_parses = 0;
};

/// The process-wide caches, alive from first use to the end of the run.
TDefCache& DefCache();
TffCache& FfCache();

}  // namespace kx
