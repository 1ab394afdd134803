// STL meshes: reading binary and ASCII files into a TMesh, writing binary STL.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "catalogue/u_mesh.h"

namespace kx {

/// Decodes an STL image, binary or ASCII. Binary is recognised by its size (84 + 50 per
/// facet), since binary files may begin with "solid" too. Each facet gives three positions
/// in file order, each with the facet normal. Empty, truncated or malformed data gives false
/// and a reason in error; mesh is then left empty.
bool ParseStl(std::string_view bytes, TMesh& mesh, std::string* error = nullptr);

/// Reads and decodes an STL file.
bool LoadStlFile(const std::filesystem::path& file, TMesh& mesh, std::string* error = nullptr);

/// Binary STL image of a mesh: 80-byte header, facet count, one 50-byte record per triangle
/// (the normal of its first vertex as facet normal).
std::string EncodeBinaryStl(const TMesh& mesh, std::string_view header = {});

/// Writes a binary STL atomically, creating its folder.
bool WriteStlFile(const std::filesystem::path& file, const TMesh& mesh,
                  std::string* error = nullptr, std::string_view header = {});

}  // namespace kx
