// Helpers shared by the core tests: scratch folders and a private settings folder.
#include "kx_test_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kxtest {

TTempDir::TTempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kxtest-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_path = tmpl;
}

TTempDir::~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

TPrivateSettings::TPrivateSettings(const std::vector<std::string>& args) {
    auto param = std::make_unique<kx::TkxParam>(args, ConfigDir(), SystemConfigDir());
    m_param = param.get();
    m_previous = kx::SetParam(std::move(param));
}

TPrivateSettings::~TPrivateSettings() {
    kx::SetParam(std::move(m_previous));
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::filesystem::path ShotFolder() {
    const char* dir = std::getenv("KX_SCREENSHOT_DIR");
    const std::filesystem::path folder =
        dir ? std::filesystem::path(dir)
            : std::filesystem::temp_directory_path() / "kx-screenshots";
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace kxtest
