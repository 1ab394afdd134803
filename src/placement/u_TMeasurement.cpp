// A measurement between two placed parts: anchors, distance and the dimension drawing.
#include "placement/u_TMeasurement.h"

#include "foundation/u_text.h"
#include "view/u_colour.h"
#include "view/u_sceneobject.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

TVector3f ShiftedAnchor(const TSceneObject* part, double lift, double move, double slide) {
    if (!part) {
        return {};
    }
    return part->Position() + part->Up() * static_cast<float>(lift) +
           part->Direction() * static_cast<float>(move) + part->Right() * static_cast<float>(slide);
}

/// A point of a part's parent frame in world coordinates.
TVector3f ToWorld(const TSceneObject* part, const TVector3f& p) {
    return part && part->Parent() ? part->Parent()->LocalToAbsolute(p) : p;
}

TLines& NewLine(TSceneObject& root) {
    TLines& line = root.AddNewChild<TLines>();
    line.SetNodes({{0, 0, 0}, {0, 0, 0}});
    line.SetShowNodes(false);
    line.SetLineWidth(2);
    line.SetColor(ColorFromWin(kMeasureColor));
    return line;
}

TSpaceText& NewText(TSceneObject& root, float turn) {
    TSpaceText& text = root.AddNewChild<TSpaceText>();
    text.SetFont(kMeasureFont, true);
    text.SetColor(ColorFromWin(kMeasureColor));
    // The two opposite turns make the value readable from both sides of the line.
    text.SetTurnAngle(turn);
    return text;
}

}  // namespace

TVector3f TMeasurement::Anchor1() const {
    return ShiftedAnchor(Part1, Lift1, Move1, Slide1);
}

TVector3f TMeasurement::Anchor2() const {
    return ShiftedAnchor(Part2, Lift2, Move2, Slide2);
}

std::string TMeasurement::DistanceText(double sceneUnits) {
    return FormatNumber2(sceneUnits * 10) + "mm";
}

void TMeasurement::CreateDrawing(TSceneObject& measurementsNode) {
    TDummyCube& root = measurementsNode.AddNewChild<TDummyCube>();
    root.SetShowAxes(false);
    Root = &root;
    m_dimension = &NewLine(root);
    m_extension1 = &NewLine(root);
    m_extension2 = &NewLine(root);
    m_text1 = &NewText(root, 90);
    m_text2 = &NewText(root, -90);
    m_text1->SetHeight(static_cast<float>(TextHeight));
    m_text2->SetHeight(static_cast<float>(TextHeight));
    root.SetVisible(Visible);
    Recompute();
}

bool TMeasurement::HasDrawing() const {
    return Root && m_dimension && m_extension1 && m_extension2 && m_text1 && m_text2;
}

void TMeasurement::SetBaseLineHeight(double h) {
    BaseLineHeight = h;
    Recompute();
}

void TMeasurement::SetHighlighted(bool on) {
    Highlighted = on;
    Recompute();
}

void TMeasurement::SetVisible(bool on) {
    Visible = on;
    if (HasDrawing()) {
        Root->SetVisible(on);
    }
}

void TMeasurement::SetRotation(double degrees) {
    Rotation = degrees;
    Recompute();
}

void TMeasurement::SetTextHeight(double h) {
    TextHeight = h;
    if (HasDrawing()) {
        m_text1->SetHeight(static_cast<float>(h));
        m_text2->SetHeight(static_cast<float>(h));
    }
}

void TMeasurement::SetLift1(double v) {
    Lift1 = v;
    Recompute();
}

void TMeasurement::SetMove1(double v) {
    Move1 = v;
    Recompute();
}

void TMeasurement::SetSlide1(double v) {
    Slide1 = v;
    Recompute();
}

void TMeasurement::SetLift2(double v) {
    Lift2 = v;
    Recompute();
}

void TMeasurement::SetMove2(double v) {
    Move2 = v;
    Recompute();
}

void TMeasurement::SetSlide2(double v) {
    Slide2 = v;
    Recompute();
}

void TMeasurement::Recompute() {
    if (!Part1 || !Part2) {
        return;
    }
    const TVector3f a1 = Anchor1();
    const TVector3f a2 = Anchor2();
    m_distance = kx::Distance(a1, a2);
    if (!HasDrawing()) {
        return;
    }
    const TColor3f colour = ColorFromWin(Highlighted ? kMeasureHighlightColor : kMeasureColor);
    const auto h = static_cast<float>(BaseLineHeight);
    const auto d = static_cast<float>(m_distance);
    m_dimension->SetNodes({{0, h, 0}, {0, h, d}});
    m_extension1->SetNodes({{0, 0, 0}, {0, 1.1f * h, 0}});
    m_extension2->SetNodes({{0, 0, d}, {0, 1.1f * h, d}});
    for (TLines* line : {m_dimension, m_extension1, m_extension2}) {
        line->SetColor(colour);
    }
    const std::string text = DistanceText(m_distance);
    for (TSpaceText* t : {m_text1, m_text2}) {
        t->SetPosition({0, h + 0.1f, d / 2});
        t->SetText(text);
        t->SetColor(colour);
    }

    // The anchors live in the parts' frame, the drawing below the measurements node: both meet
    // in world coordinates.
    const TVector3f w1 = ToWorld(Part1, a1);
    const TVector3f w2 = ToWorld(Part2, a2);
    TSceneObject* parent = Root->Parent();
    const TVector3f p1 = parent ? parent->AbsoluteToLocal(w1) : w1;
    const TVector3f p2 = parent ? parent->AbsoluteToLocal(w2) : w2;
    Root->SetPosition(p1);
    // From a fresh frame each time, so that the roll never drifts with the parts' moves: the
    // up axis is the vertical made perpendicular to the measuring direction, then rolled.
    Root->ResetRotations();
    Root->SetDirection(p2 - p1);
    Root->SetRollAngle(static_cast<float>(Rotation));
}

}  // namespace kx
