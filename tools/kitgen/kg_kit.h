// The program's own kit of parts: every part's definition, connector frames and meshes.
#pragma once

#include <string>
#include <vector>

#include "catalogue/u_defObj.h"
#include "foundation/u_vector.h"
#include "kg_geometry.h"

namespace kx::kitgen {

/// Connection systems of the kit. Each has a gauge of its own; the female side of a system
/// (hole, socket, bore) is kind 0, drawn yellow, the male side (peg, axle, pin) kind 1, so only
/// the two sides of one system join. Holes drilled into a plastic strip are kind 0 with the
/// drill diameter as gauge, so a 4 mm hole takes a block peg and a 5 mm hole an axle.
namespace gauge {
inline constexpr float Peg = 4;       ///< block peg / socket, 15 mm grid
inline constexpr float Axle = 5;      ///< axle / bore
inline constexpr float Clip = 2;      ///< plate edge clip / slot
inline constexpr float Hose = 3;      ///< hose nipple / sleeve
inline constexpr float Cable = 2.5f;  ///< cable plug / socket
inline constexpr float Statics = 6;   ///< girder tongue / joint slot
inline constexpr float Hinge = 3.5f;  ///< hinge pin / knuckle
inline constexpr float LampCap = 10;  ///< lamp seat / cap
inline constexpr float Rail = 8;      ///< ball-track rail end / rail start
inline constexpr float Ball = 12.5f;  ///< ball seat on a rail / ball
inline constexpr float Quendrix = 7;  ///< Quendrix knob / hole
inline constexpr float Tyre30 = 30;   ///< rim seat / tyre, by the tyre's inner diameter
inline constexpr float Tyre45 = 45;
inline constexpr float Tyre60 = 60;
inline constexpr float Tyre75 = 75;
inline constexpr float Tyre90 = 90;
}  // namespace gauge

inline constexpr int FemaleKind = 0;
inline constexpr int MaleKind = 1;

/// A connector as designed: where it sits, where its arrow points (away from the part) and
/// which way is up on it. The angles of the definition are computed from this frame.
struct TConnFrame {
    TVector3f Pos, Dir, Up;
};

struct TKitPart {
    TDefObj Def;                     ///< everything the definition file holds
    std::vector<TConnFrame> Frames;  ///< one per connector of Def, same order
    TGeo Hires;                      ///< detailed mesh, as drawn (after the offset)
    TGeo Lores;                      ///< coarse mesh, as drawn (after the offset)
    bool Rounded = false;            ///< ships smoothed normals (.nrm)
    /// The size that tells the part from the other members of its family in a picture
    /// ("75", "30x90", "7,5°", "Z20"); empty for a part that is the only one of its kind.
    std::string Badge;
    /// Texture images this part needs in icon/, by file name: generated with the kit.
    std::vector<std::string> TextureFiles;
};

/// The whole kit, in a fixed order. Deterministic: every call gives the same parts.
std::vector<TKitPart> BuildKit();

/// Library group pages: the groups of the current set and of the older set.
const std::vector<int>& NewLayoutGroups();
const std::vector<int>& OldLayoutGroups();

}  // namespace kx::kitgen
