// The temporary files of atomic saves: a name that says which program writes it, and the
// clean-up of those a killed program left behind.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace kx {

/// True while a process of this id exists (also one of another user).
bool ProcessRunning(int pid);

/// The mkstemp template for a save of path: a hidden file beside it,
/// ".<name>.kxsave-<pid>-XXXXXX" (a very long name is shortened so the result stays a legal
/// file name).
std::string SaveTempTemplate(const std::filesystem::path& path);

/// The process id in the name of a save's temporary file; 0 for every other name.
int SaveTempOwner(std::string_view fileName);

/// Removes the temporary files of saves into folder whose program no longer runs; with a
/// target, only those of saves of that file. Never touches anything else. Returns how many
/// were removed.
size_t RemoveLeftoverSaveTemps(const std::filesystem::path& folder,
                               const std::filesystem::path& target = {});

/// The same in folder and every folder below it (links to folders are not followed).
size_t RemoveLeftoverSaveTempsBelow(const std::filesystem::path& folder);

}  // namespace kx
