// The plastic strip: a 500 mm bar changed by work steps into a chain of generated pieces, and
// baked into an ordinary part (mesh files and a definition) under its number.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "generated/u_hzdata.h"

namespace kx {

class TDefCache;
class TFreeForm;
class TPartFiles;
class TSceneObject;
class TffCache;

/// The kinds of strip pieces.
enum THZKind : int32_t {
    kHZStraight = 0,
    kHZBend = 1,
    kHZHole = 2,
    kHZSlot = 3,
    /// Dropped by a rounding at the start: keeps its length for the position arithmetic but is
    /// neither built, drawn nor counted.
    kHZRemoved = 4,
};

/// One piece of the strip, in the order of the strip. Lengths in millimetres.
struct THZFData {
    int32_t Kind = kHZStraight;
    int32_t Angle = 0;  ///< bend only
    float Length = 0;   ///< along the strip; a bend has none
    float SlotLength = 0;
    float Radius = 0;  ///< half the drill diameter
    bool Countersink = false;
    float CountersinkDepth = 0;  ///< +1.5 from the top, -1.5 from the bottom
    float CountersinkRadius = 0;
    bool RoundStart = false;
    bool RoundEnd = false;
    TSceneObject* Marker1 = nullptr;  ///< connector markers made by BuildPieces; the scene's
    TSceneObject* Marker2 = nullptr;
};

/// The strip being worked on. Positions are distances from the start of the initial strip,
/// whatever was cut or rounded off since.
class THZFlachband {
public:
    static constexpr float kInitialLength = 500.0f;

    void AddStraight(float length);
    /// Each Apply changes the pieces and returns true, or returns false and changes nothing.
    bool ApplyCut(float x);
    bool ApplyDrill(float x, float d);
    bool ApplySlot(float x1, float x2, float d);
    bool ApplyCountersink(int side, float x);
    bool ApplyRounding(int side, float x);
    bool ApplyBend(int angle, float x);
    /// Applies one work step; false when it cannot be made.
    bool Apply(const THZModData& step);

    /// A fresh strip with every step applied in order; a step that fails is skipped and the
    /// rest go on with the strip as it is. Returns the index of every skipped step.
    std::vector<size_t> Replay(const std::vector<THZModData>& steps);

    /// Rebuilds the pieces as children of `target` (its former children go), each at the end
    /// frame of the one before, starting from target's own frame.
    void BuildPieces(TSceneObject& target);

    /// Replay, then BuildPieces under target.
    std::vector<size_t> Rebuild(const std::vector<THZModData>& steps, TSceneObject& target);

    const std::vector<THZFData>& Pieces() const { return m_pieces; }
    /// The length the strip has now: its end's position minus what was dropped at its start.
    float BuiltLength() const;

private:
    struct TFound {
        size_t Index;
        float Start;
    };
    /// The first straight piece that holds [a, b] whole.
    bool FindContaining(float a, float b, TFound& found) const;
    bool InsertOpening(THZFData opening, float a, float b);

    std::vector<THZFData> m_pieces;
    TSceneObject* m_target = nullptr;
    int m_lastBend = -1;  ///< index of the bend inserted last
};

/// Whether a strip number may name files: "X" and four digits, nothing else.
bool IsStripNumber(std::string_view number);

/// The result of baking: the files written, or why they could not be.
struct THZBakeResult {
    bool Ok = false;
    std::string Error;
    size_t Connectors = 0;
};

/// Writes the strip built under `target` as part `number`: the whole mesh (millimetres, the
/// first piece's frame at the origin) as hires and lores STL, and the definition with one
/// connector per hole and two per slot, all into the per-user folder of `files`. The mesh is
/// also left in `save`. Refuses a number that is not a strip number.
THZBakeResult BakePart(const TPartFiles& files, std::string_view number,
                       std::string_view description, const THZFlachband& strip,
                       TSceneObject& target, TFreeForm& save);

/// Replays and bakes a semi-finished part with scratch nodes of its own, then makes the
/// caches and the file index forget the number so that its new files are seen at once.
THZBakeResult BakeSemiFinished(const TPartFiles& files, const THZData& part, TDefCache& defs,
                               TffCache& meshes);

/// The definition lines BakePart writes (for the strip built under target).
std::vector<std::string> StripDefinitionLines(std::string_view number, std::string_view description,
                                              const THZFlachband& strip);

}  // namespace kx
