// Helpers shared by the benchmarks: a scratch folder removed again on destruction.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kxbench {

class TScratch {
public:
    TScratch() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "kxbench-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        m_path = tmpl;
    }
    ~TScratch() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace kxbench
