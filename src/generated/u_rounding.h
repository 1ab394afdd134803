// Rounding parts: smoothed vertex normals of a part's detailed mesh, written as its normals
// file into the per-user part folder, for one part or for every part of the library.
#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/u_mesh.h"

namespace kx {

class TPartFiles;
class TffCache;

/// The limit the all-parts run uses, and the rounding dialog's first entry.
inline constexpr double kDefaultRoundingLimit = 0.8;

/// Told after every vertex (vertices done, vertices in all); false stops the run.
using TRoundProgress = std::function<bool(size_t done, size_t total)>;

/// For every vertex q of the source: the sum of the facet normals N[j] of every vertex j at
/// the same spot (closer than 1e-5) whose angle to N[q] has a cosine above limit; q itself
/// always counts. Sums are left unnormalised and the source is read only, so each vertex sees
/// the unchanged facet normals. The result becomes the target's normals (positions copied
/// from the source). False, and the target untouched, when progress stopped the run.
bool SmoothNormals(TMesh& target, const TMesh& source, double limit,
                   const TRoundProgress& progress = {});

/// How rounding one part ended.
struct TRoundResult {
    enum class TStatus { Written, NoMesh, WriteFailed, Cancelled };
    TStatus Status = TStatus::NoMesh;
    std::filesystem::path File;  ///< the normals file (written or meant to be)
    std::string Error;           ///< why it failed
    bool Ok() const { return Status == TStatus::Written; }
};

/// Rounds hires/<number>.stl of the part folders and writes <number>.nrm into the user's
/// hires folder (a shipped part is never changed in place). The folder index and the mesh
/// cache forget the number, so the next part of it is drawn with the new normals.
TRoundResult RoundPartFile(const TPartFiles& files, TffCache& meshes, std::string_view number,
                           double limit, const TRoundProgress& progress = {});

/// Where the all-parts run stands; a copy, safe to take from any thread.
struct TRoundPartsState {
    size_t FileIndex = 0;  ///< files looked at so far (the lower bar)
    size_t FileCount = 0;
    std::string Current;  ///< mesh file being rounded, empty while none
    size_t VertexDone = 0;
    size_t VertexTotal = 0;  ///< the upper bar
    int Rounded = 0;         ///< normals files written
    int Failed = 0;          ///< files that could not be read or written
    bool Finished = false;
};

/// Rounds every mesh file of hires/ that has no normals file yet, in sorted order, with the
/// default limit. Run works through the list on the calling thread (a worker); Cancel and
/// State may be called from any other. A cancelled run stops before the next vertex and
/// writes nothing for the file it was on, so a new run resumes where it stopped.
class TRoundPartsJob {
public:
    TRoundPartsJob(const TPartFiles& files, TffCache& meshes, double limit = kDefaultRoundingLimit);

    void Run();
    void Cancel() { m_cancel = true; }
    bool Cancelled() const { return m_cancel; }
    TRoundPartsState State() const;

    /// The mesh files of hires/ in the order the run takes them.
    static std::vector<std::string> MeshFiles(const TPartFiles& files);

private:
    const TPartFiles& m_files;
    TffCache& m_meshes;
    double m_limit;
    std::atomic<bool> m_cancel{false};
    std::atomic<size_t> m_vertexDone{0};
    mutable std::mutex m_mutex;
    TRoundPartsState m_state;  // everything but VertexDone; m_mutex
};

}  // namespace kx
