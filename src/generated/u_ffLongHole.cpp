// A length of bar with a milled slot.
#include "generated/u_ffLongHole.h"

#include "generated/u_ffCube.h"
#include "generated/u_ffOpening.h"

namespace kx {

void TFFLongHole::BuildMesh() {
    const float L = Length;
    const int n = Steps > 0 ? Steps : 1;
    const float R = Radius;
    const TFFPoint ca{L / 2 - SlotLength / 2, 0};
    const TFFPoint cb{L / 2 + SlotLength / 2, 0};
    const TFFFourEdges edges(L, n, [ca, cb, n](TFFEdge e, int k) {
        switch (e) {
            case TFFEdge::West:
                return ca;
            case TFFEdge::East:
                return cb;
            default:
                return k < n / 2 ? ca : cb;
        }
    });
    const TFFPoint mp{L / 2, W}, mm{L / 2, -W}, rp{L / 2, R}, rm{L / 2, -R};
    const auto a = [&](float deg) { return CirclePoint(ca, R, deg); };
    const auto b = [&](float deg) { return CirclePoint(cb, R, deg); };
    const TVector3f up{0, 1, 0}, down{0, -1, 0};

    TFFTriangles t;
    const auto walls = [&] {
        for (int k = 0; k < n; ++k) {
            for (TFFEdge e : kFFEdges) {
                edges.AddWall(t, e, k, R, 0, H);
            }
        }
    };
    const auto startFill = [&](bool extended) {
        t.AddFacing(rp.At(H), a(90).At(H), mp.At(H), up);
        t.AddFacing(rm.At(H), mm.At(H), a(270).At(H), up);
        t.AddQuad(TFFPoint{ca.X, R}.At(H), rp.At(H), rp.At(0), TFFPoint{ca.X, R}.At(0), {0, 0, -1});
        t.AddQuad(TFFPoint{ca.X, -R}.At(H), rm.At(H), rm.At(0), TFFPoint{ca.X, -R}.At(0),
                  {0, 0, 1});
        t.AddFacing(rp.At(0), mp.At(0), a(90).At(0), down);
        t.AddFacing(rm.At(0), a(270).At(0), mm.At(0), down);
        if (extended) {
            const TFFPoint A90 = CirclePoint(ca, W, 90), A270 = CirclePoint(ca, W, 270);
            t.AddFacing(mp.At(H), a(90).At(H), A90.At(H), up);
            t.AddFacing(mm.At(H), A270.At(H), a(270).At(H), up);
            t.AddFacing(mp.At(0), A90.At(0), a(90).At(0), down);
            t.AddFacing(mm.At(0), a(270).At(0), A270.At(0), down);
        }
    };
    const auto endFill = [&](bool extended) {
        t.AddFacing(rp.At(H), mp.At(H), b(90).At(H), up);
        t.AddFacing(rm.At(H), b(270).At(H), mm.At(H), up);
        t.AddQuad(rp.At(H), TFFPoint{cb.X, R}.At(H), TFFPoint{cb.X, R}.At(0), rp.At(0), {0, 0, -1});
        t.AddQuad(rm.At(H), TFFPoint{cb.X, -R}.At(H), TFFPoint{cb.X, -R}.At(0), rm.At(0),
                  {0, 0, 1});
        t.AddFacing(rp.At(0), b(90).At(0), mp.At(0), down);
        t.AddFacing(rm.At(0), mm.At(0), b(270).At(0), down);
        if (extended) {
            const TFFPoint B90 = CirclePoint(cb, W, 90), B270 = CirclePoint(cb, W, 270);
            t.AddFacing(mp.At(H), B90.At(H), b(90).At(H), up);
            t.AddFacing(mm.At(H), b(270).At(H), B270.At(H), up);
            t.AddFacing(mp.At(0), b(90).At(0), B90.At(0), down);
            t.AddFacing(mm.At(0), B270.At(0), b(270).At(0), down);
        }
    };

    if (!RoundStart && !RoundEnd) {
        AddSideFaces(t, 0, L, true);
        AddSideFaces(t, 0, L, false);
        for (int k = 0; k < n; ++k) {
            for (TFFEdge e : kFFEdges) {
                edges.AddFace(t, e, k, R, H, true);
            }
            for (TFFEdge e : kFFEdges) {
                edges.AddWall(t, e, k, R, 0, H);
            }
            for (TFFEdge e : kFFEdges) {
                edges.AddFace(t, e, k, R, 0, false);
            }
        }
        startFill(false);
        endFill(false);
    } else {
        const float x0 = RoundStart ? ca.X : 0;
        const float x1 = RoundEnd ? cb.X : L;
        const float half = 180.0f / static_cast<float>(n);
        AddSideFaces(t, x0, x1, true);
        if (RoundStart) {
            AddRimWall(t, ca, 270, -half, n);
        }
        AddSideFaces(t, x0, x1, false);
        if (RoundEnd) {
            AddRimWall(t, cb, 270, half, n);
        }
        const auto roundStrip = [&](const TFFPoint& c, float sign) {
            for (int k = 0; k < n; ++k) {
                const float a0 = 270 + sign * half * static_cast<float>(k);
                const float a1 = 270 + sign * half * static_cast<float>(k + 1);
                const TFFPoint rim0 = CirclePoint(c, W, a0), rim1 = CirclePoint(c, W, a1);
                const TFFPoint open0 = CirclePoint(c, R, a0), open1 = CirclePoint(c, R, a1);
                AddStripQuad(t, rim0, rim1, open0, open1, H, true, false);
                AddStripQuad(t, rim0, rim1, open0, open1, 0, false, false);
            }
        };
        const auto straightStrip = [&] {
            // The far half: the far centre's circle against the outline round the far end.
            const TFFPoint far = RoundStart ? cb : ca;
            const float end = RoundStart ? L : 0;
            const float sign = RoundStart ? -1.0f : 1.0f;
            const float third = 60.0f / static_cast<float>(n);
            const int m = n - 1 > 0 ? n - 1 : 1;
            const auto outline = [&](int j) -> TFFPoint {
                if (j == 0) {
                    return mp;
                }
                if (j <= n) {
                    const float f = static_cast<float>(j - 1) / static_cast<float>(m);
                    return {far.X + (end - far.X) * f, W};
                }
                if (j <= 2 * n) {
                    const float f = static_cast<float>(j - n) / static_cast<float>(n);
                    return {end, W - 2 * W * f};
                }
                if (j < 3 * n) {
                    const float f = static_cast<float>(j - 2 * n) / static_cast<float>(m);
                    return {end + (far.X - end) * f, -W};
                }
                return mm;
            };
            for (int j = 0; j < 3 * n; ++j) {
                const float a0 = 90 + sign * third * static_cast<float>(j);
                const float a1 = 90 + sign * third * static_cast<float>(j + 1);
                const TFFPoint open0 = CirclePoint(far, R, a0), open1 = CirclePoint(far, R, a1);
                AddStripQuad(t, outline(j), outline(j + 1), open0, open1, H, true, true);
                AddStripQuad(t, outline(j), outline(j + 1), open0, open1, 0, false, true);
            }
        };
        if (RoundStart && RoundEnd) {
            roundStrip(ca, -1);
            startFill(true);
            roundStrip(cb, 1);
            endFill(true);
            walls();
        } else if (RoundStart) {
            roundStrip(ca, -1);
            straightStrip();
            startFill(true);
            walls();
            endFill(false);
        } else {
            roundStrip(cb, 1);
            straightStrip();
            endFill(true);
            walls();
            startFill(false);
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
