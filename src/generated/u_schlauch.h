// Hoses of a model: the register of hoses made in this run and the hose records themselves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/u_vector.h"

namespace kx {

class TSceneObject;

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
    /// The drawn object below the hoses node, once hoses are drawn; not owned.
    TSceneObject* Object = nullptr;
};

}  // namespace kx
