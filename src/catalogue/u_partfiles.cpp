// Where part files are: the per-user folder laid over the program folder, any letter case.
#include "catalogue/u_partfiles.h"

#include <algorithm>

#include "foundation/u_param.h"
#include "foundation/u_text.h"

namespace kx {

namespace fs = std::filesystem;

TPartFiles::TPartFiles(fs::path programDir, fs::path userDir)
    : m_programDir(std::move(programDir)), m_userDir(std::move(userDir)) {}

TPartFiles::TPartFiles() : TPartFiles(Param().ProgramDir, UserDataDir()) {}

const TPartFiles::TFolderIndex& TPartFiles::Index(std::string_view subdir) const {
    const std::string key = LowerCase(subdir);
    auto it = m_indices.find(key);
    if (it != m_indices.end()) {
        return it->second;
    }
    TFolderIndex index;
    // The user folder first: its files win. Within one folder, names that differ only in case
    // are taken in sorted order, so the choice is the same on every run.
    for (const fs::path& root : {m_userDir, m_programDir}) {
        if (root.empty()) {
            continue;
        }
        std::error_code ec;
        std::vector<fs::path> found;
        for (fs::directory_iterator d(root / fs::path(std::string(subdir)), ec), end;
             !ec && d != end; d.increment(ec)) {
            std::error_code fec;
            if (d->is_regular_file(fec)) {
                found.push_back(d->path());
            }
        }
        std::sort(found.begin(), found.end());
        for (const fs::path& p : found) {
            index.Files.try_emplace(LowerCase(p.filename().string()), p);
        }
    }
    return m_indices.emplace(key, std::move(index)).first->second;
}

std::optional<fs::path> TPartFiles::Find(std::string_view subdir, std::string_view name) const {
    std::lock_guard lock(m_mutex);
    const TFolderIndex& index = Index(subdir);
    const auto it = index.Files.find(LowerCase(name));
    if (it == index.Files.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<fs::path> TPartFiles::FindPart(std::string_view subdir, std::string_view number,
                                             std::string_view ext) const {
    std::string name(number);
    name += '.';
    name += ext;
    return Find(subdir, name);
}

fs::path TPartFiles::UserPath(std::string_view subdir, std::string_view name) const {
    const fs::path folder = m_userDir / fs::path(std::string(subdir));
    if (const auto existing = Find(subdir, name)) {
        if (existing->parent_path() == folder) {
            return *existing;
        }
    }
    return folder / fs::path(std::string(name));
}

std::vector<std::string> TPartFiles::DefinitionNumbers() const {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> numbers;
    for (const auto& [lower, file] : Index("def").Files) {
        if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".def") == 0) {
            numbers.push_back(file.stem().string());
        }
    }
    return numbers;  // the index is keyed by the lower-case name, hence sorted without case
}

std::vector<std::string> TPartFiles::FileNames(std::string_view subdir) const {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> names;
    for (const auto& [lower, file] : Index(subdir).Files) {
        names.push_back(file.filename().string());
    }
    return names;
}

void TPartFiles::Refresh() const {
    std::lock_guard lock(m_mutex);
    m_indices.clear();
}

void TPartFiles::Refresh(std::string_view subdir) const {
    std::lock_guard lock(m_mutex);
    m_indices.erase(LowerCase(subdir));
}

}  // namespace kx
