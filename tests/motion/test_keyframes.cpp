// Key-frame animation of the model: interpolation and its end rules, recording keys, the time
// line with its playback loop, and the keys and poses a saved model keeps.
#include <gtest/gtest.h>

#include "model_fixture.h"
#include "motion/u_keyframes.h"
#include "motion/u_timeline.h"

using namespace kx;

namespace {

TKeyData KeyAt(int32_t t, float x, float upY = 1) {
    return MakeKey({{x, 0, 0}, {0, upY, 0}, {0, 0, 1}}, t);
}

class KeyFrameTest : public kxtest::ModelTest {
protected:
    /// A part whose object stands at x and whose key at frame t records it.
    void RecordAt(const std::string& name, int32_t t, float x) {
        MoveAndRefresh(name, {x, 0, 0});
        m_model->SelectBaustein(name);
        ASSERT_TRUE(m_model->RecordAnimation(t));
    }
};

TEST(KeyFrames, InterpolationBetweenAndBeyondTheKeys) {
    const std::vector<TKeyData> keys = {KeyAt(30, 20, 3), KeyAt(10, 0, 1)};
    const struct {
        int32_t Frame;
        float X;
        float UpY;
    } cases[] = {{15, 5, 1.5f}, {10, 0, 1}, {30, 20, 3}, {20, 10, 2},
                 {5, 0, 1},     {-3, 0, 1}, {40, 20, 3}, {29, 19, 2.9f}};
    for (const auto& c : cases) {
        const auto pose = InterpolateKeys(keys, c.Frame);
        ASSERT_TRUE(pose) << c.Frame;
        EXPECT_FLOAT_EQ(pose->Position.X, c.X) << c.Frame;
        // Vectors are blended, not normalised.
        EXPECT_FLOAT_EQ(pose->Up.Y, c.UpY) << c.Frame;
    }
    EXPECT_FALSE(InterpolateKeys({KeyAt(10, 7)}, 10));
    EXPECT_FALSE(InterpolateKeys({}, 1));
    // Two keys at one frame: the first recorded wins, before, at and after that frame.
    const std::vector<TKeyData> twice = {KeyAt(10, 1), KeyAt(10, 2), KeyAt(20, 11)};
    EXPECT_FLOAT_EQ(InterpolateKeys(twice, 10)->Position.X, 1);
    EXPECT_FLOAT_EQ(InterpolateKeys(twice, 5)->Position.X, 1);
    EXPECT_FLOAT_EQ(InterpolateKeys(twice, 15)->Position.X, 6);
}

TEST_F(KeyFrameTest, AnimateMovesRecordAndObjectOfPartsWithTwoKeys) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    RecordAt(a, 10, 0);
    RecordAt(a, 30, 20);
    RecordAt(b, 10, 7);
    MoveAndRefresh(b, {3, 0, 0});
    EXPECT_TRUE(m_model->IsModified());

    m_model->Animate(15);
    EXPECT_FLOAT_EQ(Object(a)->Position().X, 5);
    EXPECT_FLOAT_EQ(m_model->FindBauteil(a)->Position().X, 5);
    // A single key does not move its part.
    EXPECT_FLOAT_EQ(Object(b)->Position().X, 3);
    EXPECT_FLOAT_EQ(m_model->FindBauteil(b)->Position().X, 3);
    m_model->Animate(40);
    EXPECT_FLOAT_EQ(Object(a)->Position().X, 20);
}

TEST_F(KeyFrameTest, RecordingNeedsASelectionAndTakesEveryCoSelectedPart) {
    const std::string a = Add("31010");
    const std::string b = Add("32064");
    const std::string c = Add("31010");
    m_model->MarkSaved();
    EXPECT_FALSE(m_model->RecordAnimation(5));
    ASSERT_EQ(m_ports.Messages.size(), 1u);
    EXPECT_EQ(m_ports.Messages[0], "Es wurde noch kein Bauteil selektiert.");
    EXPECT_FALSE(m_model->IsModified());

    // The object's pose counts, even when not yet stored in the record.
    Object(a)->SetPosition({4, 5, 6});
    m_model->SelectBaustein(a);
    m_model->CoSelectBaustein(b, false, true, true);
    EXPECT_TRUE(m_model->RecordAnimation(5));
    EXPECT_TRUE(m_model->RecordAnimation(5));
    ASSERT_EQ(m_model->FindBauteil(a)->Keys().size(), 2u);
    EXPECT_EQ(m_model->FindBauteil(a)->Keys()[0],
              MakeKey({{4, 5, 6}, Object(a)->Up(), Object(a)->Direction()}, 5));
    EXPECT_EQ(m_model->FindBauteil(b)->Keys().size(), 2u);
    EXPECT_TRUE(m_model->FindBauteil(c)->Keys().empty());
    EXPECT_TRUE(m_model->IsModified());
}

TEST_F(KeyFrameTest, TimeLineKeepsItsBoundsAndPlaybackLoops) {
    const std::string a = Add("31010");
    RecordAt(a, 1, 0);
    RecordAt(a, 50, 49);
    m_model->AniLength = 50;
    TAnimationTimeline time(*m_model);
    std::vector<int32_t> shown;
    time.OnPositionChanged = [&](int32_t t) { shown.push_back(t); };

    EXPECT_FALSE(time.SetPosition(1));  // the same frame again changes nothing
    EXPECT_TRUE(time.SetPosition(120));
    EXPECT_EQ(time.Position(), 50);
    EXPECT_FLOAT_EQ(Object(a)->Position().X, 49);
    time.PlaybackTick();
    EXPECT_EQ(time.Position(), 1);
    EXPECT_FLOAT_EQ(Object(a)->Position().X, 0);
    time.PlaybackTick();
    time.StepForward();
    EXPECT_EQ(time.Position(), 3);
    time.StepBack();
    time.StepLast();
    time.StepFirst();
    time.StepBack();
    EXPECT_EQ(time.Position(), 1);
    EXPECT_EQ(shown, (std::vector<int32_t>{50, 1, 2, 3, 2, 50, 1}));

    time.SetPosition(40);
    time.SetLength(20);  // a frame beyond the new end moves to it
    EXPECT_EQ(time.Position(), 20);
    EXPECT_EQ(m_model->AniLength, 20);
    time.SetLength(-5);
    EXPECT_EQ(time.Length(), 1);
    EXPECT_EQ(time.Position(), 1);
}

TEST_F(KeyFrameTest, SavedModelHoldsTheKeysAndThePosesOfTheCurrentFrame) {
    const std::string a = Add("31010");
    RecordAt(a, 10, 0);
    RecordAt(a, 30, 20);
    m_model->AniLength = 75;
    TAnimationTimeline time(*m_model);
    time.SetPosition(15);
    const std::string file = (m_dir / "animated.kxm").string();
    ASSERT_TRUE(m_model->SaveModell(file));

    m_model->DeleteAll();
    m_model->AniLength = 100;
    ASSERT_TRUE(m_model->LoadModell(file, true));
    const TBauteil* part = m_model->FindBauteil(a);
    ASSERT_TRUE(part);
    EXPECT_FLOAT_EQ(part->Position().X, 5);
    EXPECT_FLOAT_EQ(Object(a)->Position().X, 5);
    ASSERT_EQ(part->Keys().size(), 2u);
    EXPECT_EQ(part->Keys()[0].Time, 10);
    EXPECT_EQ(part->Keys()[1], MakeKey({{20, 0, 0}, Object(a)->Up(), Object(a)->Direction()}, 30));
    EXPECT_EQ(m_model->AniLength, 75);
    m_model->Animate(30);
    EXPECT_FLOAT_EQ(Object(a)->Position().X, 20);
}

}  // namespace
