// Culling against the view and the choice of a part's detail by its size on screen.
#include <gtest/gtest.h>

#include <cmath>

#include "view/u_detail.h"

using namespace kx;

TEST(Detail, FrustumKeepsWhatTouchesTheViewAndProjectedSizeFollowsDepth) {
    const TGlMatrix view = LookAt({0, 0, 10}, {0, 0, 0}, {0, 1, 0});
    const TGlMatrix proj = Perspective(90, 1, 0.1f, 100);
    const TFrustum frustum(proj * view);
    // At the origin (10 in front of the eye) a 90° view reaches 10 to each side.
    struct TCase {
        TVector3f Centre;
        float Radius;
        bool Inside;
    };
    const TCase cases[] = {
        {{0, 0, 0}, 1, true},       {{10.9f, 0, 0}, 1, true},  {{11.5f, 0, 0}, 1, false},
        {{0, -11.5f, 0}, 1, false}, {{0, 0, 11}, 0.5f, false},  // behind the eye
        {{0, 0, -90.5f}, 1, true},  {{0, 0, -92}, 1, false},    // beyond the far plane
        {{0, 0, 11}, 2, true},  // reaches past the eye into the view
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(frustum.Intersects(c.Centre, c.Radius), c.Inside)
            << c.Centre.X << " " << c.Centre.Y << " " << c.Centre.Z;
    }
    // A unit sphere 10 deep in a 90° view 200 pixels high spans a tenth of the half height.
    EXPECT_NEAR(ProjectedRadius(1, 10, proj(1, 1), 200), 10, 1e-4);
    EXPECT_NEAR(ProjectedRadius(1, 20, proj(1, 1), 200), 5, 1e-4);
    EXPECT_GT(ProjectedRadius(1, 0, proj(1, 1), 200), 1e6);
    EXPECT_NEAR(MaxScale(Scaling({0.1f, 0.3f, 0.2f})), 0.3f, 1e-6);
}

TEST(Detail, SwitchPointsFollowQualityAndMotionWithHysteresis) {
    const TDetailSettings rest;
    TDetailSettings low;
    low.LowQuality = true;
    TDetailSettings moving;
    moving.Moving = true;
    const TDetailThresholds t = DetailThresholds(rest);
    EXPECT_GT(DetailThresholds(low).Full, t.Full);
    EXPECT_GT(DetailThresholds(moving).Full, t.Full);

    struct TCase {
        float Pixels;
        TDetailSettings Settings;
        TDetail Previous;
        bool HasCoarse;
        TDetail Expected;
    };
    const TCase cases[] = {
        {t.Full * 3, rest, TDetail::Coarse, true, TDetail::Full},
        {t.Full / 3, rest, TDetail::Full, true, TDetail::Coarse},
        {t.Full / 3, rest, TDetail::Full, false, TDetail::Full},         // nothing coarser to draw
        {t.Full * 1.05f, rest, TDetail::Coarse, true, TDetail::Coarse},  // inside the band
        {t.Full * 0.95f, rest, TDetail::Full, true, TDetail::Full},
        {t.Full * 1.3f, rest, TDetail::Coarse, true, TDetail::Full},
        {t.Full * 0.7f, rest, TDetail::Full, true, TDetail::Coarse},
        {t.Hidden / 4, rest, TDetail::Coarse, true, TDetail::Hidden},
        {t.Hidden / 4, rest, TDetail::Full, false, TDetail::Hidden},
        {t.Hidden * 1.05f, rest, TDetail::Hidden, true, TDetail::Hidden},
        {t.Full * 1.3f, low, TDetail::Full, true, TDetail::Coarse},
        {t.Full * 1.3f, moving, TDetail::Full, true, TDetail::Coarse},
        {0.01f, FullDetail(), TDetail::Hidden, true, TDetail::Full},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ChooseDetail(c.Pixels, c.Settings, c.Previous, c.HasCoarse), c.Expected)
            << c.Pixels << " px";
    }
}
