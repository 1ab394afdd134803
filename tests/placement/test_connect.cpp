// Joining: connector compatibility, the angle rules of a joined part, the connector window's
// lists, turns, nudges, confirm and cancel, composite parts, and the drop marker's choice.
#include <gtest/gtest.h>

#include "join_fixture.h"
#include "placement/u_connect.h"
#include "placement/u_snap.h"

using namespace kx;
using namespace kxtest;

namespace {

// --- Compatibility ----------------------------------------------------------------------------

TEST(Compatibility, EqualGaugeAndDifferentKindFit) {
    EXPECT_TRUE(ConnectorsFit(Conn(1, 4, {}), Conn(0, 4, {})));
    EXPECT_FALSE(ConnectorsFit(Conn(1, 4, {}), Conn(1, 4, {})));
    EXPECT_FALSE(ConnectorsFit(Conn(1, 4, {}), Conn(0, 4.0001f, {})));
    EXPECT_TRUE(ConnectorsFit(Conn(2, 0.1f, {}), Conn(5, 0.1f, {})));
}

TEST(Compatibility, OnlyFittingConnectorsAreListed) {
    TDefObj fixed;
    fixed.Conns = {Conn(1, 4, {}), Conn(1, 5, {}), Conn(0, 4, {})};
    TDefObj added;
    added.Conns = {Conn(1, 4, {}), Conn(0, 4, {})};
    EXPECT_EQ(FixedConnectorChoices(fixed, added), (std::vector<int>{1, 3}));
    // A fixed connector of kind 1, gauge 4: only the new part's second connector is listed.
    EXPECT_EQ(NewConnectorChoices(fixed.Conn(1), added), (std::vector<int>{2}));
    EXPECT_EQ(NewConnectorChoices(fixed.Conn(3), added), (std::vector<int>{1}));

    TDefObj sameKinds;
    sameKinds.Conns = {Conn(1, 4, {}), Conn(1, 5, {})};
    TDefObj onlyKind1;
    onlyKind1.Conns = {Conn(1, 4, {}), Conn(1, 5, {})};
    EXPECT_TRUE(FixedConnectorChoices(onlyKind1, sameKinds).empty());
}

TEST(Compatibility, MillimetreTextHasOneDecimalAndComma) {
    EXPECT_EQ(MillimetreText(5), "5,0mm");
    EXPECT_EQ(MillimetreText(-0.5), "-0,5mm");
    EXPECT_EQ(MillimetreText(10.5), "10,5mm");
    EXPECT_EQ(MillimetreText(0), "0,0mm");
}

// --- The angle rules --------------------------------------------------------------------------

struct TAngleCase {
    const char* Name;
    std::array<float, 6> Fixed;  // the fixed connector's PF RF TF PN RN TN (only F used)
    std::array<float, 6> New;    // the new connector's (only N used)
    TVector3f Direction;
    TVector3f Up;
};

class AngleRules : public JoinTest, public ::testing::WithParamInterface<TAngleCase> {};

TEST_P(AngleRules, JoinedPartTakesBothConnectorsAnglesInOrder) {
    const TAngleCase& c = GetParam();
    WriteDef(Def("10001", {Conn(1, 4, {0, 10, 0}, c.Fixed, "oben")}));
    WriteDef(Def("10002", {Conn(0, 4, {3, -10, 2}, c.New, "unten")}));
    TFreeForm& fixed = Place("10001");
    fixed.SetPosition({1, 2, 3});

    TConnectorSession session(*m_model, m_defs);
    session.Open(fixed, "10002", -1);
    TFreeForm* added = session.NewObject();
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(Near(added->Direction(), c.Direction)) << c.Name;
    EXPECT_TRUE(Near(added->Up(), c.Up)) << c.Name;
    EXPECT_TRUE(Near(ConnectorAnchor(*added, 1)->AbsolutePosition(),
                     ConnectorAnchor(fixed, 1)->AbsolutePosition()))
        << c.Name;
    EXPECT_TRUE(added->ShowAxes());
}

// The fixed part stands in the default frame: Direction (0, 0, 1), Up (0, 1, 0), so
// Right = (-1, 0, 0). Each angle turns counter-clockwise seen from its axis' tip.
INSTANTIATE_TEST_SUITE_P(
    EveryRule, AngleRules,
    ::testing::Values(
        TAngleCase{"none", {}, {}, {0, 0, 1}, {0, 1, 0}},
        TAngleCase{"PF", {90, 0, 0}, {}, {0, 1, 0}, {0, 0, -1}},
        TAngleCase{"RF", {0, 90, 0}, {}, {0, 0, 1}, {-1, 0, 0}},
        TAngleCase{"TF", {0, 0, 90}, {}, {1, 0, 0}, {0, 1, 0}},
        TAngleCase{"PN", {}, {0, 0, 0, 90, 0, 0}, {0, 1, 0}, {0, 0, -1}},
        TAngleCase{"RN", {}, {0, 0, 0, 0, 90, 0}, {0, 0, 1}, {-1, 0, 0}},
        TAngleCase{"TN", {}, {0, 0, 0, 0, 0, 90}, {1, 0, 0}, {0, 1, 0}},
        // Pitch before roll: pitched up, then rolled about the new direction.
        TAngleCase{"PF then RF", {90, 90, 0}, {}, {0, 1, 0}, {-1, 0, 0}},
        // The fixed connector's angles come before the new connector's.
        TAngleCase{"PF then TN", {90, 0, 0}, {0, 0, 0, 0, 0, 90}, {1, 0, 0}, {0, 0, -1}},
        // The angles of a connector's own arrow (PF/RF/TF of the new part) play no part.
        TAngleCase{"new PF ignored", {}, {90, 90, 90, 0, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        TAngleCase{"fixed PN ignored", {0, 0, 0, 90, 90, 90}, {}, {0, 0, 1}, {0, 1, 0}}),
    [](const auto& info) {
        std::string n = info.param.Name;
        for (char& ch : n) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) {
                ch = '_';
            }
        }
        return n;
    });

class Joining : public JoinTest {};

TEST_F(Joining, FollowsTheFixedPartsOwnFrame) {
    WriteDef(Def("10001", {Conn(1, 4, {0, 10, 0}, {90, 0, 0, 0, 0, 0})}));
    WriteDef(Def("10002", {Conn(0, 4, {0, -10, 0})}));
    TFreeForm& fixed = Place("10001");
    fixed.SetTurnAngle(90);  // Direction (1, 0, 0): Right becomes (0, 0, 1)
    TConnectorSession session(*m_model, m_defs);
    session.Open(fixed, "10002", -1);
    TFreeForm* added = session.NewObject();
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(Near(added->Direction(), {0, 1, 0}));
    EXPECT_TRUE(Near(added->Up(), {-1, 0, 0}));
    EXPECT_TRUE(Near(ConnectorAnchor(*added, 1)->AbsolutePosition(),
                     ConnectorAnchor(fixed, 1)->AbsolutePosition()));
}

// --- The window's lists -----------------------------------------------------------------------

TEST_F(Joining, PreselectedConnectorIsChosenWhenListedElseTheFirst) {
    WriteDef(Def("10001", {Conn(1, 4, {0, 10, 0}, {}, "a"), Conn(0, 9, {0, -10, 0}, {}, "b"),
                           Conn(1, 4, {10, 0, 0}, {}, "c")}));
    WriteDef(Def("10002", {Conn(0, 4, {0, -10, 0}, {}, "x")}));
    TFreeForm& fixed = Place("10001");

    TConnectorSession session(*m_model, m_defs);
    session.Open(fixed, "10002", 2);
    EXPECT_EQ(session.FixedItems(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(session.FixedConnector(), 3);
    session.Cancel();

    session.Open(fixed, "10002", 1);  // "b" fits nothing, so it is not listed
    EXPECT_EQ(session.FixedConnector(), 1);
    EXPECT_EQ(session.FixedIndex(), 0);
    session.Cancel();
}

TEST_F(Joining, AListEntryIsTheConnectorAtThatPositionEvenWithEqualNames) {
    // Two connectors of the same name: the second entry must be the second connector, not
    // the last one of that name.
    WriteDef(
        Def("10001", {Conn(1, 4, {0, 10, 0}, {}, "Zapfen"), Conn(1, 4, {0, 0, 10}, {}, "Zapfen"),
                      Conn(1, 4, {10, 0, 0}, {}, "Zapfen")}));
    WriteDef(
        Def("10002", {Conn(0, 4, {0, -10, 0}, {}, "Nut"), Conn(0, 4, {0, 0, -10}, {}, "Nut")}));
    TFreeForm& fixed = Place("10001");
    TConnectorSession session(*m_model, m_defs);
    session.Open(fixed, "10002", -1);
    session.ChooseFixed(1);
    EXPECT_EQ(session.FixedConnector(), 2);
    session.ChooseNew(0);
    EXPECT_EQ(session.NewConnector(), 1);
    TFreeForm* added = session.NewObject();
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(Near(ConnectorAnchor(*added, 1)->AbsolutePosition(),
                     ConnectorAnchor(fixed, 2)->AbsolutePosition()));
    session.Cancel();
}

TEST_F(Joining, NoFittingConnectorPlacesNothingAndOkAddsNothing) {
    WriteDef(Def("10001", {Conn(1, 4, {0, 10, 0})}));
    WriteDef(Def("10002", {Conn(1, 4, {0, -10, 0}), Conn(1, 5, {})}));
    TFreeForm& fixed = Place("10001");
    const size_t before = PartCount();
    TConnectorSession session(*m_model, m_defs);
    session.Open(fixed, "10002", 0);
    EXPECT_TRUE(session.FixedItems().empty());
    EXPECT_TRUE(session.NewItems().empty());
    EXPECT_EQ(session.NewObject(), nullptr);
    session.Confirm();
    EXPECT_EQ(PartCount(), before);
}

TEST_F(Joining, ChoosingAFixedConnectorRefillsTheNewListAndResetsTheTurns) {
    WriteDef(Def("10001", {Conn(1, 4, {0, 10, 0}, {}, "a"), Conn(0, 4, {0, -10, 0}, {}, "b")}));
    WriteDef(
        Def("10002", {Conn(0, 4, {}, {}, "x"), Conn(1, 4, {}, {}, "y"), Conn(0, 4, {}, {}, "z")}));
    TFreeForm& fixed = Place("10001");
    TConnectorSession session(*m_model, m_defs);
    session.Open(fixed, "10002", -1);
    EXPECT_EQ(session.NewItems(), (std::vector<std::string>{"x", "z"}));
    session.TurnStep(TTurnAxis::Roll, 10);
    EXPECT_EQ(session.ExtraAngles().Roll, 10);
    session.ChooseNew(1);
    EXPECT_EQ(session.ExtraAngles().Roll, 10);  // another new connector keeps the turns
    session.ChooseFixed(1);
    EXPECT_EQ(session.NewItems(), (std::vector<std::string>{"y"}));
    EXPECT_EQ(session.NewIndex(), 0);
    EXPECT_EQ(session.ExtraAngles().Roll, 0);
    session.Cancel();
}

// --- Turns, nudges, confirm, cancel -----------------------------------------------------------

TEST_F(Joining, FourRollsOf90ReturnToTheFirstPlacement) {
    WriteDef(Def("10001", {Conn(1, 4, {0, 10, 0}, {90, -90, 0, 0, 0, 0})}));
    WriteDef(Def("10002", {Conn(0, 4, {5, -10, 0}, {0, 0, 0, -90, 0, 90})}));
    TFreeForm& fixed = Place("10001");
    TConnectorSession session(*m_model, m_defs);
    session.Open(fixed, "10002", -1);
    const TVector3f position = session.NewObject()->Position();
    const TVector3f direction = session.NewObject()->Direction();
    const TVector3f up = session.NewObject()->Up();
    for (int i = 0; i < 3; ++i) {
        session.TurnStep(TTurnAxis::Roll, 90);
        EXPECT_FALSE(Near(session.NewObject()->Up(), up, 1e-3f) &&
                     Near(session.NewObject()->Position(), position, 1e-3f));
    }
    session.TurnStep(TTurnAxis::Roll, 90);
    EXPECT_TRUE(Near(session.NewObject()->Position(), position));
    EXPECT_TRUE(Near(session.NewObject()->Direction(), direction));
    EXPECT_TRUE(Near(session.NewObject()->Up(), up));
    session.Cancel();
}

TEST_F(Joining, ANudgeIsForgottenByTheNextPlacementButTheLabelKeepsIt) {
    WriteDef(Def("10001", {Conn(1, 4, {0, 10, 0}, {90, 0, 0, 0, 0, 0})}));
    WriteDef(Def("10002", {Conn(0, 4, {0, -10, 0})}));
    TFreeForm& fixed = Place("10001");
    TConnectorSession session(*m_model, m_defs);
    session.Open(fixed, "10002", -1);
    TFreeForm* added = session.NewObject();
    const TVector3f start = added->Position();
    const TVector3f direction = added->Direction();
    session.Nudge(TNudgeAxis::Move, 50);  // 0.5 scene units, 5 mm along its direction
    EXPECT_TRUE(Near(added->Position(), start + direction * 0.5f));
    EXPECT_EQ(session.DistanceText(TNudgeAxis::Move), "5,0mm");
    session.Nudge(TNudgeAxis::Lift, -5);
    EXPECT_EQ(session.DistanceText(TNudgeAxis::Lift), "-0,5mm");
    session.Nudge(TNudgeAxis::Slide, 5);
    EXPECT_TRUE(Near(added->Position(),
                     start + direction * 0.5f - added->Up() * 0.05f + added->Right() * 0.05f));

    session.TurnStep(TTurnAxis::Turn, 1);
    session.TurnStep(TTurnAxis::Turn, -1);
    EXPECT_TRUE(Near(session.NewObject()->Position(), start));
    EXPECT_EQ(session.DistanceText(TNudgeAxis::Move), "5,0mm");
    session.Cancel();
}

TEST_F(Joining, ConfirmStoresThePoseAndCancelLeavesTheModelAsBefore) {
    WriteDef(Def("10001", {Conn(1, 4, {0, 10, 0}, {90, 0, 0, 0, 0, 0}), Conn(1, 4, {10, 0, 0})}));
    WriteDef(Def("10002", {Conn(0, 4, {0, -10, 0})}));
    TFreeForm& fixed = Place("10001");
    const std::string fixedName = fixed.Name();

    // Cancel after several placements: only the snapshot of Combine remains.
    const size_t undoBefore = m_model->UndoList().Count();
    m_ports.OnConnectorWindow = [&](TFreeForm& f, const std::string& number, int pre) {
        TConnectorSession session(*m_model, m_defs);
        session.Open(f, number, pre);
        session.ChooseFixed(1);
        session.TurnStep(TTurnAxis::Pitch, 90);
        session.Nudge(TNudgeAxis::Move, 5);
        session.Cancel();
    };
    m_model->Combine(fixed, "10002", -1);
    EXPECT_EQ(PartCount(), 1u);
    EXPECT_EQ(m_model->Parts()[0].Name(), fixedName);
    EXPECT_EQ(m_model->UndoList().Count(), undoBefore + 1);
    EXPECT_EQ(m_model->UndoList().Last().Action, "Combine");
    EXPECT_FALSE(m_model->UndoSuppressed());

    std::string joined;
    m_ports.OnConnectorWindow = [&](TFreeForm& f, const std::string& number, int pre) {
        TConnectorSession session(*m_model, m_defs);
        session.Open(f, number, pre);
        EXPECT_TRUE(m_model->UndoSuppressed());
        session.Nudge(TNudgeAxis::Lift, 50);
        session.Confirm();
        joined = session.NewName();
        EXPECT_FALSE(session.NewObject()->ShowAxes());
    };
    m_model->Combine(fixed, "10002", 0);
    EXPECT_EQ(m_ports.LastPreselected, 0);
    ASSERT_EQ(PartCount(), 2u);
    const TBauteil* record = m_model->FindBauteil(joined);
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(Near(record->Position(), record->Object()->Position()));
    EXPECT_TRUE(Near(record->Direction(), record->Object()->Direction()));
    EXPECT_TRUE(Near(record->Up(), record->Object()->Up()));
    // Lifted by 0.5 along its own up vector from where the connector put it.
    TVector3f anchor = ConnectorAnchor(fixed, 1)->AbsolutePosition();
    EXPECT_TRUE(Near(ConnectorAnchor(*record->Object(), 1)->AbsolutePosition(),
                     anchor + record->Object()->Up() * 0.5f));
}

TEST_F(Joining, ACompositePartStaysAssembledAndLeavesOneGroup) {
    TDefObj composite = Def("10003", {Conn(0, 4, {0, -10, 0})});
    composite.Children = {"10004", "10005"};
    WriteDef(composite);
    WriteDef(Def("10004", {}), 3);
    WriteDef(Def("10005", {}), 4);
    WriteDef(Def("10001", {Conn(1, 4, {0, 10, 0}, {90, 0, 0, 0, 0, 0}), Conn(1, 4, {10, 0, 0})}));
    TFreeForm& fixed = Place("10001");

    TConnectorSession session(*m_model, m_defs);
    session.Open(fixed, "10003", -1);
    auto assembled = [&] {
        ASSERT_EQ(session.ChildNames().size(), 2u);
        for (const std::string& child : session.ChildNames()) {
            const TFreeForm* c = Object(child);
            ASSERT_NE(c, nullptr);
            EXPECT_TRUE(Near(c->Position(), session.NewObject()->Position()));
            EXPECT_TRUE(Near(c->Direction(), session.NewObject()->Direction()));
            EXPECT_TRUE(Near(c->Up(), session.NewObject()->Up()));
        }
    };
    assembled();
    session.TurnStep(TTurnAxis::Turn, 90);
    assembled();
    session.Nudge(TNudgeAxis::Slide, 50);
    assembled();
    session.ChooseFixed(1);
    assembled();
    EXPECT_EQ(PartCount(), 4u);
    session.Confirm();
    m_model->UpdateGroupTreeView();
    ASSERT_EQ(m_model->Groups().size(), 1u);
    EXPECT_TRUE(m_model->Groups()[0]->Internal);
    EXPECT_EQ(m_model->Groups()[0]->Members.size(), 3u);

    TConnectorSession cancelled(*m_model, m_defs);
    cancelled.Open(fixed, "10003", -1);
    cancelled.TurnStep(TTurnAxis::Roll, 10);
    cancelled.Cancel();
    m_model->UpdateGroupTreeView();
    EXPECT_EQ(m_model->Groups().size(), 1u);
    EXPECT_EQ(PartCount(), 4u);
}

// --- The drop marker --------------------------------------------------------------------------

TEST_F(Joining, TheMarkerTakesTheNearestFittingConnector) {
    WriteDef(
        Def("10001", {Conn(1, 4, {0, 10, 0}), Conn(0, 4, {0, -10, 0}), Conn(1, 4, {10, 0, 0})}));
    TFreeForm& part = Place("10001");
    const TDefObj partDef =
        Def("10001", {Conn(1, 4, {0, 10, 0}), Conn(0, 4, {0, -10, 0}), Conn(1, 4, {10, 0, 0})});
    TDefObj dragged;
    dragged.Conns = {Conn(0, 4, {})};
    TDropConnector c = ChooseDropConnector(part, partDef, {-0.5f, 0.6f, 0}, dragged);
    EXPECT_EQ(c.Preselected, 0);
    // Nearest to the bottom connector, which does not fit: the nearest fitting one is taken.
    c = ChooseDropConnector(part, partDef, {-0.3f, -0.5f, 0}, dragged);
    EXPECT_EQ(c.Preselected, 2);
    EXPECT_TRUE(Near(c.Position, {1, 0, 0}));

    TSceneObject& marker = *m_scene.FindObject("dcPlus");
    ShowDropMarker(marker, c);
    EXPECT_TRUE(marker.Visible());
    EXPECT_TRUE(Near(marker.AbsolutePosition(), {1, 0, 0}));

    TDefObj nothingFits;
    nothingFits.Conns = {Conn(0, 7, {})};
    c = ChooseDropConnector(part, partDef, {0.9f, 0, 0}, nothingFits);
    EXPECT_EQ(c.Preselected, -1);
    ShowDropMarker(marker, c);
    EXPECT_FALSE(marker.Visible());
}

TEST_F(Joining, TheMarkerCountsOnlyConnectorArrows) {
    const TDefObj partDef = Def("10001", {Conn(1, 4, {0, 10, 0}), Conn(1, 4, {10, 0, 0})});
    WriteDef(partDef);
    TFreeForm& part = Place("10001");
    // A nested mesh child right at the hit point is no connector (and the definition has no
    // third connector to look at).
    auto& nested = part.AddNewChild<TFreeForm>("nested");
    nested.SetPosition({-10, 0, 0});
    TDefObj dragged;
    dragged.Conns = {Conn(0, 4, {})};
    const TDropConnector c = ChooseDropConnector(part, partDef, {-1, 0, 0}, dragged);
    EXPECT_EQ(c.Preselected, 0);
}

}  // namespace
