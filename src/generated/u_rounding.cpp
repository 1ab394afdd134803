// Rounding parts: smoothed vertex normals of a part's detailed mesh, for one part or for all.
#include "generated/u_rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "catalogue/u_normals.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {

// Vertices closer than this are one spot. The grid's cells are as wide, so two vertices of one
// spot lie in the same or in neighbouring cells, and the all-pairs comparison shrinks to the
// few vertices around each one without changing which pairs meet.
constexpr float kSameSpot = 1e-5f;
constexpr double kCell = 1e-5;
// Far out, cells are clamped; vertices there still meet only by their true distance.
constexpr double kCellLimit = 1e15;

struct TCell {
    int64_t X, Y, Z;
    bool operator==(const TCell&) const = default;
};

struct TCellHash {
    size_t operator()(const TCell& c) const {
        uint64_t h = static_cast<uint64_t>(c.X) * 0x9E3779B97F4A7C15ull;
        h ^= static_cast<uint64_t>(c.Y) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
        h ^= static_cast<uint64_t>(c.Z) + 0x94D049BB133111EBull + (h << 6) + (h >> 2);
        return static_cast<size_t>(h);
    }
};

int64_t CellIndex(float v) {
    const double c =
        std::clamp(std::floor(static_cast<double>(v) / kCell), -kCellLimit, kCellLimit);
    return static_cast<int64_t>(c);
}

bool Finite(const TVector3f& p) {
    return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z);
}

TCell CellOf(const TVector3f& p) {
    return {CellIndex(p.X), CellIndex(p.Y), CellIndex(p.Z)};
}

bool SameSpot(const TVector3f& a, const TVector3f& b) {
    return Length(a - b) < kSameSpot;
}

bool SameSide(const TVector3f& nq, const TVector3f& nj, double limit) {
    const float lengths = Length(nq) * Length(nj);
    // A zero normal has no angle to anything; the comparison of its NaN cosine would fail too.
    return lengths > 0 && static_cast<double>(Dot(nq, nj) / lengths) > limit;
}

}  // namespace

bool SmoothNormals(TMesh& target, const TMesh& source, double limit,
                   const TRoundProgress& progress) {
    const std::vector<TVector3f>& v = source.Positions;
    const size_t n = std::min(v.size(), source.Normals.size());
    std::unordered_map<TCell, std::vector<uint32_t>, TCellHash> grid;
    grid.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        if (Finite(v[i])) {
            grid[CellOf(v[i])].push_back(static_cast<uint32_t>(i));
        }
    }
    std::vector<TVector3f> sums(v.size());
    std::vector<uint32_t> near;
    for (size_t q = 0; q < n; ++q) {
        const TVector3f& nq = source.Normals[q];
        near.clear();
        if (Finite(v[q])) {
            const TCell c = CellOf(v[q]);
            for (int64_t dx = -1; dx <= 1; ++dx) {
                for (int64_t dy = -1; dy <= 1; ++dy) {
                    for (int64_t dz = -1; dz <= 1; ++dz) {
                        const auto it = grid.find({c.X + dx, c.Y + dy, c.Z + dz});
                        if (it == grid.end()) {
                            continue;
                        }
                        for (uint32_t j : it->second) {
                            if (j == q ||
                                (SameSpot(v[j], v[q]) && SameSide(nq, source.Normals[j], limit))) {
                                near.push_back(j);
                            }
                        }
                    }
                }
            }
        } else {
            near.push_back(static_cast<uint32_t>(q));
        }
        // Summed in vertex order, as comparing every vertex with every other would.
        std::sort(near.begin(), near.end());
        TVector3f s;
        for (uint32_t j : near) {
            s += source.Normals[j];
        }
        sums[q] = s;
        if (progress && !progress(q + 1, n)) {
            return false;
        }
    }
    target.Positions = v;
    target.TexCoords = source.TexCoords;
    target.Normals = std::move(sums);
    return true;
}

TRoundResult RoundPartFile(const TPartFiles& files, TffCache& meshes, std::string_view number,
                           double limit, const TRoundProgress& progress) {
    TRoundResult result;
    const std::string name(number);
    result.File = files.UserPath("hires", name + ".nrm");
    const auto stl = files.FindPart("hires", number, "stl");
    TMesh source;
    if (!stl) {
        result.Error = "hires/" + name + ".stl";
        return result;
    }
    if (!LoadStlFile(*stl, source, &result.Error)) {
        return result;
    }
    TMesh target;
    if (!SmoothNormals(target, source, limit, progress)) {
        result.Status = TRoundResult::TStatus::Cancelled;
        return result;
    }
    if (!WriteNormalsFile(result.File, target.Normals, &result.Error)) {
        result.Status = TRoundResult::TStatus::WriteFailed;
        return result;
    }
    files.Refresh("hires");
    meshes.Invalidate(number);
    result.Status = TRoundResult::TStatus::Written;
    return result;
}

TRoundPartsJob::TRoundPartsJob(const TPartFiles& files, TffCache& meshes, double limit)
    : m_files(files), m_meshes(meshes), m_limit(limit) {}

std::vector<std::string> TRoundPartsJob::MeshFiles(const TPartFiles& files) {
    std::vector<std::string> meshes;
    for (std::string& name : files.FileNames("hires")) {
        if (name.size() > 4 && SameText(std::string_view(name).substr(name.size() - 4), ".stl")) {
            meshes.push_back(std::move(name));
        }
    }
    return meshes;
}

TRoundPartsState TRoundPartsJob::State() const {
    std::lock_guard lock(m_mutex);
    TRoundPartsState state = m_state;
    state.VertexDone = m_vertexDone;
    return state;
}

void TRoundPartsJob::Run() {
    Stack().Push("TRoundPartsJob.Run");
    const std::vector<std::string> names = MeshFiles(m_files);
    {
        std::lock_guard lock(m_mutex);
        m_state = {};
        m_state.FileCount = names.size();
    }
    for (size_t i = 0; i < names.size() && !m_cancel; ++i) {
        const std::string number = names[i].substr(0, names[i].size() - 4);
        {
            std::lock_guard lock(m_mutex);
            m_state.FileIndex = i + 1;
        }
        // A part rounded before (shipped, or by an earlier run) keeps its normals.
        if (m_files.FindPart("hires", number, "nrm")) {
            continue;
        }
        {
            std::lock_guard lock(m_mutex);
            m_state.Current = names[i];
            m_state.VertexTotal = 0;
        }
        m_vertexDone = 0;
        const TRoundResult result =
            RoundPartFile(m_files, m_meshes, number, m_limit, [this](size_t done, size_t total) {
                if (done == 1) {
                    std::lock_guard lock(m_mutex);
                    m_state.VertexTotal = total;
                }
                m_vertexDone = done;
                return !m_cancel;
            });
        std::lock_guard lock(m_mutex);
        if (result.Ok()) {
            ++m_state.Rounded;
        } else if (result.Status != TRoundResult::TStatus::Cancelled) {
            ++m_state.Failed;
        }
    }
    std::lock_guard lock(m_mutex);
    m_state.Current.clear();
    m_state.Finished = true;
}

}  // namespace kx
