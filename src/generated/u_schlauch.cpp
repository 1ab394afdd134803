// The kinds of hose: labels, radii and colours.
#include "generated/u_schlauch.h"

#include <array>

namespace kx {

namespace {

constexpr std::array<THoseKind, kHoseKindCount> kKinds{{
    {6, "Pneumatik", 0.2f, 0xFF4040, 0},
    {7, "Seilzug", 0.05f, 0xFFFFFF, 1},
    {8, "Kabel", 0.05f, 0x0000FF, 2},
    {9, "Kabel", 0.05f, 0x008000, 3},
    {13, "Antriebsfeder", 0.2f, 0x0000FF, 1},
}};

}  // namespace

const THoseKind& HoseKind(int kind) {
    return kind >= 1 && kind <= kHoseKindCount ? kKinds[static_cast<size_t>(kind - 1)] : kKinds[0];
}

THoseLabel HoseLabelForTag(int32_t tag) {
    if (tag >= 0 && tag <= 3) {
        const THoseKind& k = kKinds[static_cast<size_t>(tag)];
        return {"MAIN2", k.LabelKey, k.Label};
    }
    return {"MAINOBJ", 16, "Schlauch"};
}

float ModelHoseRadius(int kind) {
    return kind >= 1 && kind <= 3 ? 0.05f : 0.2f;
}

uint32_t ModelHoseColour(int kind) {
    switch (kind) {
        case 1:
            return 0xFFFFFF;
        case 2:
            return 0x0000FF;
        case 3:
            return 0x00FF00;
        default:
            return 0xFFC000;
    }
}

float DefaultHoseRadius(int32_t tag) {
    // The drive spring shares the cord's Tag; a spring that lost its radius is drawn as a cord.
    return tag >= 1 && tag <= 3 ? 0.05f : 0.2f;
}

}  // namespace kx
