// Normals files (.nrm): headerless 12-byte records of little-endian floats, one per vertex.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/u_mesh.h"
#include "foundation/u_vector.h"

namespace kx {

/// Replaces the mesh's normals in order from the records in bytes. A short image changes only
/// the first normals; a long one is read only as far as the mesh needs. Returns the number
/// of normals replaced.
size_t ApplyNormals(TMesh& mesh, std::string_view bytes);

/// The same from a file; a missing or unreadable file counts as empty and changes nothing.
size_t LoadNormalsFromFile(TMesh& mesh, const std::filesystem::path& file);

/// The file image of a list of normals.
std::string EncodeNormals(const std::vector<TVector3f>& normals);

/// Writes a normals file atomically, creating its folder.
bool WriteNormalsFile(const std::filesystem::path& file, const std::vector<TVector3f>& normals,
                      std::string* error = nullptr);

}  // namespace kx
