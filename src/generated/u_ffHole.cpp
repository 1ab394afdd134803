// A length of bar with a drilled hole.
#include "generated/u_ffHole.h"

#include "generated/u_ffCube.h"
#include "generated/u_ffOpening.h"

namespace kx {

void TFFHole::BuildMesh() {
    const float L = Length;
    const int n = Steps > 0 ? Steps : 1;
    const float S = CountersinkDepth;
    const bool sinkTop = Countersink && S > 0;
    const bool sinkBottom = Countersink && S < 0;
    const float rTop = sinkTop ? CountersinkRadius : Radius;
    const float rBot = sinkBottom ? CountersinkRadius : Radius;
    const float yHi = sinkTop ? H - S : H;
    const float yLo = sinkBottom ? -S : 0;
    const TFFPoint o{L / 2, 0};
    const TFFFourEdges edges(L, n, [o](TFFEdge, int) { return o; });

    TFFTriangles t;
    const auto walls = [&](int k) {
        for (TFFEdge e : kFFEdges) {
            edges.AddWall(t, e, k, Radius, yLo, yHi);
        }
    };
    const auto cones = [&](int k) {
        if (!Countersink) {
            return;
        }
        for (TFFEdge e : kFFEdges) {
            if (sinkTop) {
                edges.AddCone(t, e, k, CountersinkRadius, H, Radius, yHi);
            } else {
                edges.AddCone(t, e, k, CountersinkRadius, 0, Radius, yLo);
            }
        }
    };

    if (!RoundStart && !RoundEnd) {
        AddSideFaces(t, 0, L, true);
        AddSideFaces(t, 0, L, false);
        for (int k = 0; k < n; ++k) {
            for (TFFEdge e : kFFEdges) {
                edges.AddFace(t, e, k, rTop, H, true);
            }
            walls(k);
            cones(k);
            for (TFFEdge e : kFFEdges) {
                edges.AddFace(t, e, k, rBot, 0, false);
            }
        }
    } else {
        const float x0 = RoundStart ? L / 2 : 0;
        const float x1 = RoundEnd ? L / 2 : L;
        const float half = 180.0f / static_cast<float>(n);
        AddSideFaces(t, x0, x1, true);
        if (RoundStart) {
            AddRimWall(t, o, 270, -half, n);
        }
        AddSideFaces(t, x0, x1, false);
        if (RoundEnd) {
            AddRimWall(t, o, 270, half, n);
        }
        const auto roundStrip = [&](float sign) {
            for (int k = 0; k < n; ++k) {
                const float a0 = 270 + sign * half * static_cast<float>(k);
                const float a1 = 270 + sign * half * static_cast<float>(k + 1);
                const TFFPoint rim0 = CirclePoint(o, W, a0), rim1 = CirclePoint(o, W, a1);
                AddStripQuad(t, rim0, rim1, CirclePoint(o, rTop, a0), CirclePoint(o, rTop, a1), H,
                             true, false);
                AddStripQuad(t, rim0, rim1, CirclePoint(o, rBot, a0), CirclePoint(o, rBot, a1), 0,
                             false, false);
            }
        };
        if (RoundStart) {
            roundStrip(-1);
        }
        if (RoundEnd) {
            roundStrip(1);
        }
        if (RoundStart != RoundEnd) {
            // The straight half: three edges of the outline against half the opening.
            const float end = RoundStart ? L : 0;
            const float sign = RoundStart ? -1.0f : 1.0f;
            const float third = 60.0f / static_cast<float>(n);
            const auto outline = [&](int j) -> TFFPoint {
                const float f = static_cast<float>(j % n) / static_cast<float>(n);
                if (j < n) {
                    return {L / 2 + (end - L / 2) * f, W};
                }
                if (j < 2 * n) {
                    return {end, W - 2 * W * f};
                }
                if (j < 3 * n) {
                    return {end + (L / 2 - end) * f, -W};
                }
                return {L / 2, -W};
            };
            for (int j = 0; j < 3 * n; ++j) {
                const float a0 = 90 + sign * third * static_cast<float>(j);
                const float a1 = 90 + sign * third * static_cast<float>(j + 1);
                AddStripQuad(t, outline(j), outline(j + 1), CirclePoint(o, rTop, a0),
                             CirclePoint(o, rTop, a1), H, true, true);
                AddStripQuad(t, outline(j), outline(j + 1), CirclePoint(o, rBot, a0),
                             CirclePoint(o, rBot, a1), 0, false, true);
            }
        }
        for (int k = 0; k < n; ++k) {
            walls(k);
            cones(k);
        }
    }
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
