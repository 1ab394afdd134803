// The render manager's logic: its settings, POV-Ray's command line and its progress as the
// engine reports it.
#include "view/u_povrender.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <sstream>

namespace kx {

std::string PovRayOptions(const TRenderSettings& s) {
    const int quality = std::clamp(s.Quality, 1, 9);
    std::string o = "+W" + std::to_string(s.Width) + " +H" + std::to_string(s.Height) + " ";
    o += s.AntiAlias ? "+A -J " : "-A -J ";
    o += s.Method == 1 ? "+AM1 " : "+AM2 ";
    o += "+R" + std::to_string(quality) + " ";
    return o;
}

std::vector<std::string> PovRayArguments(const TRenderSettings& settings,
                                         const std::string& sceneFile,
                                         const std::string& imageFile) {
    std::vector<std::string> args;
    std::istringstream words(PovRayOptions(settings));
    for (std::string w; words >> w;) {
        args.push_back(w);
    }
    args.push_back("+I" + sceneFile);
    args.push_back("+O" + imageFile);
    args.push_back("+FN");
    args.push_back("-D");
    return args;
}

std::optional<int> PovRayProgress(std::string_view output) {
    static constexpr std::string_view kKey = "Rendered ";
    static constexpr std::string_view kOf = " of ";
    // The last report that is whole: output arrives in pieces that may cut a line.
    for (size_t at = output.rfind(kKey); at != std::string_view::npos;
         at = at == 0 ? std::string_view::npos : output.rfind(kKey, at - 1)) {
        const char* p = output.data() + at + kKey.size();
        const char* end = output.data() + output.size();
        long long done = 0, total = 0;
        auto r = std::from_chars(p, end, done);
        if (r.ec != std::errc() ||
            std::string_view(r.ptr, static_cast<size_t>(end - r.ptr)).substr(0, kOf.size()) !=
                kOf) {
            continue;
        }
        r = std::from_chars(r.ptr + kOf.size(), end, total);
        if (r.ec != std::errc() || total <= 0 || r.ptr == end) {
            continue;
        }
        return static_cast<int>(std::clamp(done * 100 / total, 0LL, 100LL));
    }
    return std::nullopt;
}

std::string FindPovRay(const std::string& path) {
    const std::string name = "povray";
    std::string::size_type start = 0;
    while (start <= path.size()) {
        const auto end = std::min(path.find(':', start), path.size());
        std::string dir = path.substr(start, end - start);
        if (dir.empty()) {
            dir = ".";
        }
        const std::string candidate = dir + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

}  // namespace kx
