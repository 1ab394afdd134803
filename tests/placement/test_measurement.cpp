// Dimension lines between parts: geometry, texts, the manager's logic, file, undo and merge.
#include "model/model_fixture.h"
#include "placement/u_measuremanager.h"
#include "placement/u_positioning.h"
#include "placement/u_valuepanel.h"

using namespace kx;
using namespace kxtest;

namespace {

void ExpectNear(const TVector3f& a, const TVector3f& b, float tolerance = 1e-4f) {
    EXPECT_NEAR(a.X, b.X, tolerance);
    EXPECT_NEAR(a.Y, b.Y, tolerance);
    EXPECT_NEAR(a.Z, b.Z, tolerance);
}

class MeasurementTest : public ModelTest {
protected:
    /// Two parts 35 mm apart along X and a measurement between them.
    TMeasurement& Measure() {
        a = Add("31010");
        b = Add("31010");
        MoveAndRefresh(b, {3.5f, 0, 0});
        return m_model->AddMeasurement(Object(a), Object(b));
    }
    TSceneObject& Node() const { return *m_scene.FindObject("dcMeasurements"); }

    std::string a, b;
};

TEST(ValueFormat, ShowsAndReadsBackTheToolsNumbers) {
    struct TCase {
        const char* Format;
        double Value;
        const char* Shown;
    };
    for (const TCase& k : {TCase{"%2nmm", 35, "35,00mm"}, TCase{"%2nmm", 1234.5, "1.234,50mm"},
                           TCase{"%2n mm", -1234567.891, "-1.234.567,89 mm"},
                           TCase{"%.1f º", 359.5, "359,5 º"}, TCase{"%.1f mm", -0.01, "0,0 mm"},
                           TCase{"%.0f", 45, "45"}, TCase{"%2n", 0.005, "0,01"}}) {
        EXPECT_EQ(FormatValue(k.Format, k.Value), k.Shown) << k.Format << " " << k.Value;
        // What a field shows reads back as the value it shows.
        const auto back = ParseShownValue(k.Shown);
        ASSERT_TRUE(back) << k.Shown;
        EXPECT_EQ(FormatValue(k.Format, *back), k.Shown);
    }
    EXPECT_EQ(FormatValue("%d", 1), "Error");
    EXPECT_EQ(FormatValue("mm", 1), "Error");
    struct TTyped {
        const char* Text;
        double Value;
    };
    for (const TTyped& k : {TTyped{"12.5", 12.5}, TTyped{" -3,25 mm", -3.25}, TTyped{"1.234", 1234},
                            TTyped{"+7", 7}, TTyped{"1.234.567", 1234567}}) {
        const auto v = ParseShownValue(k.Text);
        ASSERT_TRUE(v) << k.Text;
        EXPECT_DOUBLE_EQ(*v, k.Value) << k.Text;
    }
    for (const char* bad : {"", "mm", "-", ",", "abc 5"}) {
        EXPECT_FALSE(ParseShownValue(bad)) << bad;
    }
}

TEST_F(MeasurementTest, DrawsTheDimensionBetweenTwoParts) {
    TMeasurement& m = Measure();
    ASSERT_TRUE(m.HasDrawing());
    EXPECT_EQ(m.Root->Parent(), &Node());
    EXPECT_FALSE(m.Root->ShowAxes());
    EXPECT_EQ(m.Text1()->Text(), "35,00mm");
    EXPECT_EQ(m.Text2()->Text(), "35,00mm");
    EXPECT_EQ(m.Text1()->FontName(), kMeasureFont);
    EXPECT_TRUE(m.Text1()->Bold());
    EXPECT_FLOAT_EQ(m.Text1()->Height(), 0.2f);
    // The two texts face opposite ways, so the value reads from both sides.
    EXPECT_NEAR(Dot(m.Text1()->Direction(), m.Text2()->Direction()), -1, 1e-5);
    ExpectNear(m.Text1()->Position(), {0, 1.1f, 1.75f});
    EXPECT_EQ(m.DimensionLine()->Nodes(), (std::vector<TVector3f>{{0, 1, 0}, {0, 1, 3.5f}}));
    EXPECT_EQ(m.ExtensionLine1()->Nodes(), (std::vector<TVector3f>{{0, 0, 0}, {0, 1.1f, 0}}));
    EXPECT_EQ(m.ExtensionLine2()->Nodes(), (std::vector<TVector3f>{{0, 0, 3.5f}, {0, 1.1f, 3.5f}}));
    EXPECT_FALSE(m.DimensionLine()->ShowNodes());
    EXPECT_EQ(m.DimensionLine()->LineWidth(), 2);
    EXPECT_EQ(ColorToWin(m.DimensionLine()->Color()), kMeasureColor);
    // Root at part 1, looking at part 2, upright.
    ExpectNear(m.Root->AbsolutePosition(), {0, 0, 0});
    ExpectNear(m.Root->AbsoluteDirection(), {1, 0, 0});
    ExpectNear(m.Root->AbsoluteUp(), {0, 1, 0});
    ExpectNear(m.Root->LocalToAbsolute(m.DimensionLine()->Nodes()[1]), {3.5f, 1, 0});

    // A distance of 1234.5 mm, after the part moved and was refreshed.
    MoveAndRefresh(b, {0, 0, -123.45f});
    EXPECT_EQ(m.Text1()->Text(), "1.234,50mm");
    ExpectNear(m.Root->LocalToAbsolute(m.ExtensionLine2()->Nodes()[0]), {0, 0, -123.45f}, 1e-3f);

    m.SetHighlighted(true);
    EXPECT_EQ(ColorToWin(m.Text2()->Color()), kMeasureHighlightColor);
    EXPECT_EQ(ColorToWin(m.ExtensionLine1()->Color()), kMeasureHighlightColor);
    m.SetVisible(false);
    EXPECT_FALSE(m.Root->Visible());
    m.SetRotation(90);
    ExpectNear(m.Root->AbsoluteDirection(), {0, 0, -1});
    EXPECT_GT(std::abs(m.Root->AbsoluteUp().X), 0.99f);
    m.SetTextHeight(0.5);
    EXPECT_FLOAT_EQ(m.Text2()->Height(), 0.5f);
}

TEST_F(MeasurementTest, AnchorShiftsFollowThePartsOwnAxes) {
    TMeasurement& m = Measure();
    m.SetLift1(1.5);  // 15 mm up a part whose up axis is vertical
    ExpectNear(m.Anchor1(), {0, 1.5f, 0});
    ExpectNear(m.Root->AbsolutePosition(), {0, 1.5f, 0});
    EXPECT_NEAR(m.Distance(), std::hypot(3.5, 1.5), 1e-5);
    EXPECT_EQ(m.Text1()->Text(), "38,08mm");

    // Shifts go along the part's own axes, wherever it points.
    Object(b)->SetTurnAngle(90);
    m_model->RefreshBauteil(b, false, -1);
    m.SetMove2(1);
    ExpectNear(m.Anchor2(), Object(b)->Position() + Object(b)->Direction());
    m.SetSlide2(0.5);
    ExpectNear(m.Anchor2(),
               Object(b)->Position() + Object(b)->Direction() + Object(b)->Right() * 0.5f);

    // Moving part 1 and refreshing it moves the start and the distance.
    MoveAndRefresh(a, {0, 0, 1});
    ExpectNear(m.Root->AbsolutePosition(), {0, 1.5f, 1});
    EXPECT_NEAR(m.Distance(), Distance(m.Anchor1(), m.Anchor2()), 1e-6);
}

TEST_F(MeasurementTest, ABaseLineBelowDrawsTheDimensionUnderThePoints) {
    TMeasurement& m = Measure();
    m.SetBaseLineHeight(-2);  // -20 mm
    EXPECT_EQ(m.DimensionLine()->Nodes()[0].Y, -2);
    EXPECT_EQ(m.DimensionLine()->Nodes()[1].Y, -2);
    EXPECT_FLOAT_EQ(m.ExtensionLine1()->Nodes()[1].Y, -2.2f);
    EXPECT_FLOAT_EQ(m.ExtensionLine2()->Nodes()[1].Y, -2.2f);
    EXPECT_FLOAT_EQ(m.Text1()->Position().Y, -1.9f);
}

TEST_F(MeasurementTest, TheManagerEditsTheCurrentMeasurementAndDeletesThatOne) {
    TMeasurement& first = Measure();
    const std::string c = Add("32064");
    MoveAndRefresh(c, {0, 2, 0});
    TMeasurement& second = m_model->AddMeasurement(Object(a), Object(c));
    TMeasureManager manager(*m_model);

    EXPECT_EQ(manager.Fill("Bemaßung"), (std::vector<std::string>{"Bemaßung 1", "Bemaßung 2"}));
    EXPECT_EQ(manager.Current(), 1);
    EXPECT_TRUE(second.Highlighted);
    EXPECT_TRUE(manager.PanelEnabled());

    manager.Choose(0);
    EXPECT_TRUE(first.Highlighted);
    EXPECT_FALSE(second.Highlighted);
    EXPECT_EQ(manager.Slider(TMeasureField::BaseLine).Text(), "10,0 mm");
    EXPECT_EQ(manager.Slider(TMeasureField::TextHeight).Text(), "2,0 mm");
    EXPECT_EQ(manager.Slider(TMeasureField::Rotation).Text(), "0");

    // Base line slider to -20 mm.
    manager.Slider(TMeasureField::BaseLine).SetValue(-20);
    manager.SliderChanged(TMeasureField::BaseLine);
    EXPECT_DOUBLE_EQ(first.BaseLineHeight, -2);
    // Lift of side 1 by dragging: 0.5 mm a step.
    EXPECT_TRUE(manager.DragSlider(TMeasureField::Lift1, 15));
    EXPECT_DOUBLE_EQ(first.Lift1, 0.05);
    manager.SetVisible(false);
    EXPECT_FALSE(first.Root->Visible());
    // The text height does not go below 1 mm, however far it is dragged.
    for (int i = 0; i < 30; ++i) {
        manager.DragSlider(TMeasureField::TextHeight, -20);
    }
    EXPECT_EQ(manager.Slider(TMeasureField::TextHeight).Text(), "1,0 mm");
    EXPECT_NEAR(first.TextHeight, 0.1, 1e-9);

    // "Löschen" with the first one current: the first goes, the second stays.
    manager.Delete("Bemaßung");
    ASSERT_EQ(m_model->Measurements().size(), 1u);
    EXPECT_EQ(m_model->Measurements()[0].get(), &second);
    EXPECT_EQ(Node().Count(), 1u);
    EXPECT_EQ(manager.Items(), (std::vector<std::string>{"Bemaßung 1"}));

    // Deleting the only one leaves an empty list, a disabled panel and "Löschen".
    manager.Delete("Bemaßung");
    EXPECT_TRUE(m_model->Measurements().empty());
    EXPECT_EQ(Node().Count(), 0u);
    EXPECT_TRUE(manager.Items().empty());
    EXPECT_FALSE(manager.PanelEnabled());
    EXPECT_FALSE(manager.DeleteEnabled());
    EXPECT_FALSE(manager.DragSlider(TMeasureField::Lift1, 15));
    manager.Delete("Bemaßung");  // nothing left to delete
}

TEST_F(MeasurementTest, ClosingTheManagerLeavesNothingHighlighted) {
    TMeasurement& m = Measure();
    TMeasureManager manager(*m_model);
    manager.Fill("Bemaßung");
    EXPECT_TRUE(m.Highlighted);
    manager.Close();
    EXPECT_FALSE(m.Highlighted);
    EXPECT_EQ(ColorToWin(m.DimensionLine()->Color()), kMeasureColor);
}

TEST_F(MeasurementTest, MeasurementsSurviveSaveLoadMergeAndUndo) {
    TMeasurement& m = Measure();
    m.SetLift1(1.5);
    m.SetBaseLineHeight(-2);
    m.SetRotation(30);
    m.SetTextHeight(0.4);
    m.SetVisible(false);
    const std::string file = (m_dir.Path() / "measured.kxm").string();
    ASSERT_TRUE(m_model->SaveModell(file));

    ASSERT_TRUE(m_model->LoadModell(file, true));
    ASSERT_EQ(m_model->Measurements().size(), 1u);
    const TMeasurement& loaded = *m_model->Measurements()[0];
    ASSERT_TRUE(loaded.HasDrawing());
    EXPECT_EQ(loaded.Part1, Object(a));
    EXPECT_EQ(loaded.Part2, Object(b));
    EXPECT_EQ(loaded.Text1()->Text(), "38,08mm");
    EXPECT_FALSE(loaded.Root->Visible());
    EXPECT_FLOAT_EQ(loaded.Text2()->Height(), 0.4f);
    EXPECT_EQ(loaded.DimensionLine()->Nodes()[0].Y, -2);
    EXPECT_EQ(Node().Count(), 1u);

    // Merging the same file adds its parts under new names and a second dimension, drawn.
    ASSERT_TRUE(m_model->LoadModell(file, false));
    ASSERT_EQ(m_model->Measurements().size(), 2u);
    EXPECT_TRUE(m_model->Measurements()[1]->HasDrawing());
    EXPECT_EQ(Node().Count(), 2u);

    // A step of the coordinates manager and its undo: the text follows both ways.
    TMeasurement& first = *m_model->Measurements()[0];
    TPositioning positioning(*m_model);
    m_model->SelectBaustein(b);
    positioning.SetActiveObject(Object(b));
    positioning.MoveStep(TMoveAxis::Move, 50);  // b looks along +Z: 5 mm away from the line
    EXPECT_NE(first.Text1()->Text(), "38,08mm");
    m_model->DoUndo();
    ASSERT_EQ(m_model->Measurements().size(), 2u);
    EXPECT_EQ(m_model->Measurements()[0]->Text1()->Text(), "38,08mm");
    EXPECT_TRUE(m_model->Measurements()[0]->HasDrawing());
}

}  // namespace
