// Writes the kit into a program folder: definitions, meshes, normals, icons, print pictures.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "kg_kit.h"

namespace kx::kitgen {

/// Every file of the kit as relative path -> bytes (paths with '/', e.g. "def/40001.def").
/// Deterministic: the same kit gives the same bytes.
std::map<std::string, std::string> KitFiles(const std::vector<TKitPart>& kit);

/// The mesh as stored in the part's file: the drawn mesh moved back by the definition's
/// offset (the program shifts it by the offset when it builds the part).
TMesh StoredMesh(const TKitPart& part, bool hires);

/// Writes the files under dir. A file whose bytes are already there is left untouched, so
/// a rebuild does not change time stamps. False with a reason when a file cannot be written.
bool WriteKitFiles(const std::map<std::string, std::string>& files,
                   const std::filesystem::path& dir, std::string* error = nullptr);

}  // namespace kx::kitgen
