// Helpers shared by the core tests: scratch folders and a private settings folder.
#pragma once

#include <filesystem>
#include <string>

namespace kxtest {

/// A fresh folder under the system's temporary folder, removed again on destruction.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

/// Writes bytes to a file, creating its folder.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

}  // namespace kxtest
