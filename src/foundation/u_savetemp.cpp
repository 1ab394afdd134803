// The temporary files of atomic saves and the clean-up of those a killed program left behind.
#include "foundation/u_savetemp.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kx {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view Marker = ".kxsave-";
/// mkstemp's random part.
constexpr size_t RandomSize = 6;
/// Room for the marker, a process id and the random part within a 255-byte name.
constexpr size_t MaxNamePart = 200;

std::string NamePart(const fs::path& path) {
    std::string name = path.filename().string();
    if (name.size() > MaxNamePart) {
        name.resize(MaxNamePart);
    }
    return name;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsAlnum(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

bool ProcessRunning(int pid) {
    if (pid <= 0) {
        return false;
    }
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

std::string SaveTempTemplate(const fs::path& path) {
    fs::path dir = path.parent_path();
    if (dir.empty()) {
        dir = ".";
    }
    return (dir / ("." + NamePart(path) + std::string(Marker) + std::to_string(::getpid()) + "-" +
                   std::string(RandomSize, 'X')))
        .string();
}

int SaveTempOwner(std::string_view name) {
    // ".<name>.kxsave-<digits>-<6 letters or digits>"
    if (name.size() < 1 + 1 + Marker.size() + 1 + 1 + RandomSize || name.front() != '.') {
        return 0;
    }
    const size_t marker = name.rfind(Marker);
    if (marker == std::string_view::npos || marker < 2) {
        return 0;
    }
    const std::string_view rest = name.substr(marker + Marker.size());
    const size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9 ||
        rest.size() != dash + 1 + RandomSize) {
        return 0;
    }
    const std::string_view digits = rest.substr(0, dash);
    const std::string_view random = rest.substr(dash + 1);
    if (!std::all_of(digits.begin(), digits.end(), IsDigit) ||
        !std::all_of(random.begin(), random.end(), IsAlnum)) {
        return 0;
    }
    return std::stoi(std::string(digits));
}

size_t RemoveLeftoverSaveTemps(const fs::path& folder, const fs::path& target) {
    const std::string prefix =
        target.empty() ? std::string() : "." + NamePart(target) + std::string(Marker);
    size_t removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!prefix.empty() && name.rfind(prefix, 0) != 0) {
            continue;
        }
        const int pid = SaveTempOwner(name);
        std::error_code statEc;
        if (pid == 0 || !it->is_regular_file(statEc) || it->is_symlink(statEc) ||
            ProcessRunning(pid)) {
            continue;
        }
        std::error_code removeEc;
        removed += fs::remove(it->path(), removeEc) ? 1 : 0;
    }
    return removed;
}

size_t RemoveLeftoverSaveTempsBelow(const fs::path& folder) {
    size_t removed = RemoveLeftoverSaveTemps(folder);
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code statEc;
        if (it->is_directory(statEc) && !it->is_symlink(statEc)) {
            removed += RemoveLeftoverSaveTemps(it->path());
        }
    }
    return removed;
}

}  // namespace kx
