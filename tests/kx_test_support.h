// Helpers shared by the core tests: scratch folders and a private settings folder.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/u_param.h"

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

/// A settings store over fresh folders (user and machine-wide), installed as the process-wide
/// one while the object lives; the previous store comes back on destruction.
class TPrivateSettings {
public:
    explicit TPrivateSettings(const std::vector<std::string>& args = {});
    ~TPrivateSettings();
    TPrivateSettings(const TPrivateSettings&) = delete;
    TPrivateSettings& operator=(const TPrivateSettings&) = delete;
    kx::TkxParam& Param() { return *m_param; }
    std::filesystem::path ConfigDir() const { return m_dir / "config"; }
    std::filesystem::path SystemConfigDir() const { return m_dir / "system"; }

private:
    TTempDir m_dir;
    kx::TkxParam* m_param = nullptr;
    std::unique_ptr<kx::TkxParam> m_previous;
};

/// Writes bytes to a file, creating its folder.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

/// Where tests leave pictures for a person to look at: $KX_SCREENSHOT_DIR, else a folder under
/// the system's temporary folder (the window tests' ShotDir says the same for Qt).
std::filesystem::path ShotFolder();

}  // namespace kxtest
