// A whole model file as plain data: parsed and checked in one go, and written back line by line.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "foundation/u_vector.h"
#include "generated/u_hzdata.h"
#include "generated/u_schlauch.h"
#include "model/u_ModelLoader.h"
#include "model/u_modelports.h"
#include "motion/u_colldata.h"
#include "motion/u_keydata.h"
#include "motion/u_kinedata.h"

namespace kx {

/// The view's camera as the file keeps it: its pose and where its target node stands.
struct TCameraPose {
    TVector3f Position{0, 0, 0};
    TVector3f Direction{0, 0, 0};
    TVector3f Up{0, 0, 0};
    TVector3f Target{0, 0, 0};

    bool operator==(const TCameraPose&) const = default;
};

/// A key frame together with the name of the part it belongs to.
struct TKeyRecord {
    std::string Name;
    TKeyData Key;

    bool operator==(const TKeyRecord&) const = default;
};

/// Everything a model file holds, in the order of its sections. Records name parts by their
/// stored names. Nothing here refers to a scene object.
struct TModelFile {
    std::vector<TPartRecord> Parts;
    TModelInformation Information;
    std::array<TMotorRec, kMotorCount> Motors{};
    int32_t AniLength = 100;
    bool HasCamera = false;  ///< a [CAMERA] section with a PositionX key
    TCameraPose Camera;
    std::vector<TCameraRecord> Cameras;
    std::vector<THoseData> Hoses;
    std::vector<TKeyRecord> Keys;
    std::vector<TKineData> Links;
    /// The sequence program's [LOGIK...] sections, every line as read, empty lines included.
    std::vector<std::string> SequenceLines;
    std::vector<TCollData> CollisionRules;
    std::vector<TGroupRecord> Groups;
    std::vector<TMeasureRecord> Measurements;
    std::vector<THZData> SemiFinished;
};

/// The outcome of reading or writing a model file: on failure a reason the window can show.
struct TModelFileResult {
    bool Success = false;
    std::string Error;
    /// Definition numbers of the parts that could not be placed from their files (once per
    /// part); such parts stand in the model as placeholders.
    std::vector<std::string> MissingParts;

    explicit operator bool() const { return Success; }
    static TModelFileResult Ok() { return {true, {}, {}}; }
    static TModelFileResult Failed(std::string error) { return {false, std::move(error), {}}; }
};

/// The lines of the sequence program that has no block: what an empty program saves.
std::vector<std::string> EmptySequenceProgram();

/// Reads the whole file into `file`, checking it as it goes. On failure the result says why
/// and `file` must not be used.
TModelFileResult ParseModelFile(const std::vector<std::string>& lines, TModelFile& file);

/// The file's lines (UTF-8; the file holds them as Windows-1252 with CR LF). `progress` is
/// told the index of each part as its section is written.
std::vector<std::string> ModelFileLines(const TModelFile& file,
                                        const std::function<void(size_t)>& progress = {});

/// The part names of a file mapped to the names its parts got in the model: a name that is
/// not one of the file's stored names stays as it is.
class TNameMap {
public:
    /// The first part of a stored name decides where it went.
    explicit TNameMap(const std::vector<TPartRecord>& parts);
    const std::string& operator()(const std::string& storedName) const;

private:
    std::unordered_map<std::string, std::string> m_names;
};

}  // namespace kx
