// Writes the kit into a program folder: definitions, meshes, normals, icons, print pictures.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "kg_kit.h"

namespace kx::kitgen {

/// Every file of the kit as relative path -> bytes (paths with '/', e.g. "def/40001.def"),
/// the pictures drawn in software. Deterministic: the same kit gives the same bytes.
std::map<std::string, std::string> KitFiles(const std::vector<TKitPart>& kit);

/// The files a part is built from (definitions, meshes, normals, textures): everything but
/// the pictures, which can then be drawn from these files as the program would draw the part.
std::map<std::string, std::string> KitDataFiles(const std::vector<TKitPart>& kit);

/// The mesh as stored in the part's file: the drawn mesh moved back by the definition's
/// offset (the program shifts it by the offset when it builds the part).
TMesh StoredMesh(const TKitPart& part, bool hires);

/// Writes the files under dir. A file whose bytes are already there is left untouched, so
/// a rebuild does not change time stamps. False with a reason when a file cannot be written.
bool WriteKitFiles(const std::map<std::string, std::string>& files,
                   const std::filesystem::path& dir, std::string* error = nullptr);

/// The list of a kit's files, one relative path a line: what a later run compares with.
std::string KitManifest(const std::map<std::string, std::string>& files);

/// Removes from dir the files an earlier kit listed in its manifest that the current kit no
/// longer has, so a part taken out of the kit does not linger beside the program. Only paths
/// inside the kit's own folders are touched. Returns how many files were removed.
size_t RemoveStaleKitFiles(const std::filesystem::path& dir, std::string_view previousManifest,
                           const std::map<std::string, std::string>& files);

}  // namespace kx::kitgen
