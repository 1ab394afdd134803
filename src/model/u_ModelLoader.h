// The fast line scanner of model files: part sections, measurements, stored cameras, groups.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

/// A placed part as the file stores it. NewName is filled when the part is placed.
struct TPartRecord {
    std::string StoredName;
    std::string NewName;
    double XPos = 0, YPos = 0, ZPos = 0;
    double XUp = 0, YUp = 0, ZUp = 0;
    double XDir = 0, YDir = 0, ZDir = 0;
    int32_t Color = 0;
    int32_t Phase = 0;

    bool operator==(const TPartRecord&) const = default;
};

/// A measurement between two parts named as stored.
struct TMeasureRecord {
    bool Visible = true;
    std::string Part1;
    std::string Part2;
    double BaseLineHeight = 1.0;
    double Rotation = 0;
    double TextHeight = 0.2;
    double Lift1 = 0, Move1 = 0, Slide1 = 0;
    double Lift2 = 0, Move2 = 0, Slide2 = 0;

    bool operator==(const TMeasureRecord&) const = default;
};

/// A stored camera.
struct TCameraRecord {
    std::string Name;
    double PositionX = 0, PositionY = 0, PositionZ = 0;
    double TargetX = 0, TargetY = 0, TargetZ = 0;

    bool operator==(const TCameraRecord&) const = default;
};

/// A group: its name, whether it is internal, and its members' names as stored.
struct TGroupRecord {
    std::string Name;
    bool Internal = false;
    std::vector<std::string> Members;

    bool operator==(const TGroupRecord&) const = default;
};

/// One pass over a model file's lines fills the four record lists. Values are taken from a
/// fixed column after the key, so the scan never looks a key up: it is what keeps loading a
/// model of many thousand parts fast. Headers it does not know keep the state, which is why
/// it relies on the order in which the sections are written.
class TModelLoader {
public:
    /// Reads a Windows-1252 file; false (and no records) when it cannot be read.
    bool LoadFromFile(const std::filesystem::path& fileName);
    /// Reads the stream from its start; false (and no records) when it cannot be read.
    bool LoadFromStream(std::istream& stream);
    /// Scans lines that are already UTF-8.
    void Scan(const std::vector<std::string>& lines);
    void Clear();

    std::vector<TPartRecord> Parts;  ///< in the file's order of [PART headers
    std::vector<TMeasureRecord> Measurements;
    std::vector<TCameraRecord> Cameras;
    std::vector<TGroupRecord> Groups;
};

/// The whole content of a stream from its start, or false when it cannot be read.
bool ReadWholeStream(std::istream& stream, std::string& bytes);

}  // namespace kx
