// The straight block of a bar.
#include "generated/u_ffCube.h"

namespace kx {

void AddSideFaces(TFFTriangles& t, float x0, float x1, bool plus) {
    constexpr float W = TFFBase::W;
    constexpr float H = TFFBase::H;
    if (plus) {
        t.Add({x0, 0, W}, {x1, 0, W}, {x0, H, W});
        t.Add({x0, H, W}, {x1, 0, W}, {x1, H, W});
    } else {
        t.Add({x0, 0, -W}, {x0, H, -W}, {x1, 0, -W});
        t.Add({x0, H, -W}, {x1, H, -W}, {x1, 0, -W});
    }
}

void AddStartCap(TFFTriangles& t) {
    constexpr float W = TFFBase::W;
    constexpr float H = TFFBase::H;
    t.Add({0, 0, W}, {0, H, -W}, {0, 0, -W});
    t.Add({0, H, -W}, {0, 0, W}, {0, H, W});
}

void AddEndCap(TFFTriangles& t, float L) {
    constexpr float W = TFFBase::W;
    constexpr float H = TFFBase::H;
    t.Add({L, 0, W}, {L, 0, -W}, {L, H, -W});
    t.Add({L, H, -W}, {L, H, W}, {L, 0, W});
}

void TFFCube::BuildMesh() {
    const float L = Length;
    TFFTriangles t;
    AddSideFaces(t, 0, L, true);
    t.Add({0, H, W}, {L, H, W}, {0, H, -W});
    t.Add({0, H, -W}, {L, H, W}, {L, H, -W});
    AddSideFaces(t, 0, L, false);
    t.Add({0, 0, W}, {0, 0, -W}, {L, 0, W});
    t.Add({0, 0, -W}, {L, 0, -W}, {L, 0, W});
    if (StartCap) {
        AddStartCap(t);
    }
    if (EndCap) {
        AddEndCap(t, L);
    }
    SetStraightEndFrame(L);
    SetTriangles(std::move(t.Positions));
}

}  // namespace kx
