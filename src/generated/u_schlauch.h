// Hoses of a model: the register of hoses made in this run, the hose record of the model file,
// and the kinds of hose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/u_vector.h"

namespace kx {

/// An entry of the hose register: one per hose made by the hose command in this run. Not
/// saved with the model.
struct TSchlauch {
    std::string Name;
    uint32_t Colour = 0;
    float Radius = 0;
};

/// A hose laid through its nodes, as the model file keeps it.
struct THoseData {
    std::string Name;
    float Radius = 0.2f;
    uint32_t Colour = 0xFFC000;         ///< the hose's own colour
    uint32_t DisplayColour = 0xFFC000;  ///< the colour it is drawn in now (white when old)
    int32_t Phase = 0;                  ///< 0: not bound to a build phase
    int32_t Tag = 0;                    ///< hose kind (icon of the tube manager)
    bool Smooth = false;                ///< a smooth curve through the nodes, else straight
    bool Visible = true;
    std::vector<TVector3f> Nodes;

    bool operator==(const THoseData&) const = default;
};

/// A kind of hose the tube manager creates (kinds 1 to 5: pneumatic hose, pull cord, red
/// cable, green cable, drive spring).
struct THoseKind {
    int LabelKey;       ///< MAIN2 key of its label
    const char* Label;  ///< German default of the label
    float Radius;
    uint32_t Colour;
    int Icon;  ///< image index in the manager's tree; becomes the hose's Tag
};
inline constexpr int kHoseKindCount = 5;
/// Kind 1-5; anything else gives kind 1.
const THoseKind& HoseKind(int kind);

/// The label of a hose by its Tag when the manager is opened again: MAIN2 key and German
/// default ("Schlauch" from MAINOBJ 16 for an unknown Tag, key 0).
struct THoseLabel {
    const char* Section;
    int Key;
    const char* Label;
};
THoseLabel HoseLabelForTag(int32_t tag);

/// Radius and colour of a hose made by the model's hose command, kind 0-3 (pneumatic hose,
/// cord, red cable, green cable); other kinds are pneumatic hoses.
float ModelHoseRadius(int kind);
uint32_t ModelHoseColour(int kind);

/// The radius a hose of that Tag has when its file gives no usable one.
float DefaultHoseRadius(int32_t tag);

}  // namespace kx
