// A measurement between two placed parts: its anchors, its shifts, its drawing in the scene.
#pragma once

#include <string>

#include "foundation/u_vector.h"

namespace kx {

class TLines;
class TSceneObject;
class TSpaceText;

/// Colours of a dimension's lines and texts (Windows colour values).
inline constexpr uint32_t kMeasureColor = 0x000000;
inline constexpr uint32_t kMeasureHighlightColor = 0x800080;
/// The dimension's texts: a bold monospaced face that every Linux desktop has.
inline constexpr const char* kMeasureFont = "DejaVu Sans Mono";

/// A dimension between two parts' scene objects. The drawing objects hang below the
/// measurements node and belong to the scene; the record only points at them. Lengths are in
/// scene units (10 mm), the rotation in degrees.
class TMeasurement {
public:
    TMeasurement(TSceneObject* part1, TSceneObject* part2) : Part1(part1), Part2(part2) {}

    TSceneObject* Part1 = nullptr;  ///< not owned
    TSceneObject* Part2 = nullptr;  ///< not owned
    TSceneObject* Root = nullptr;   ///< the drawing, a child of the measurements node

    double BaseLineHeight = 1.0;
    bool Highlighted = false;
    bool Visible = true;
    double Rotation = 0;
    double TextHeight = 0.2;
    double Lift1 = 0, Move1 = 0, Slide1 = 0;
    double Lift2 = 0, Move2 = 0, Slide2 = 0;

    /// Makes the drawing as the last child of the measurements node: a group at part 1 looking
    /// at part 2, the dimension line, both extension lines and the two texts; then recomputes.
    void CreateDrawing(TSceneObject& measurementsNode);
    /// Whether the root, the three lines and the two texts all exist.
    bool HasDrawing() const;

    /// Each stores its value and recomputes (or shows, rolls, resizes) the drawing.
    void SetBaseLineHeight(double h);
    void SetHighlighted(bool on);
    void SetVisible(bool on);
    void SetRotation(double degrees);
    void SetTextHeight(double h);
    void SetLift1(double v);
    void SetMove1(double v);
    void SetSlide1(double v);
    void SetLift2(double v);
    void SetMove2(double v);
    void SetSlide2(double v);

    /// Whether either end is on that object.
    bool Refers(const TSceneObject* object) const { return Part1 == object || Part2 == object; }

    /// The anchors from the parts' current poses, in the parts' parent's frame: each part's
    /// position lifted along its up, moved along its direction and slid along its right axis by
    /// the end's shifts.
    TVector3f Anchor1() const;
    TVector3f Anchor2() const;
    /// Distance between the anchors in scene units, as of the last Recompute.
    double Distance() const { return m_distance; }
    /// What both texts read: the distance in millimetres, "123,40mm".
    static std::string DistanceText(double sceneUnits);

    /// Follows the parts after one of them moved: distance, texts, lines, colour, pose.
    void Recompute();

    TLines* DimensionLine() const { return m_dimension; }
    TLines* ExtensionLine1() const { return m_extension1; }
    TLines* ExtensionLine2() const { return m_extension2; }
    TSpaceText* Text1() const { return m_text1; }
    TSpaceText* Text2() const { return m_text2; }

private:
    double m_distance = 0;
    TLines* m_dimension = nullptr;
    TLines* m_extension1 = nullptr;
    TLines* m_extension2 = nullptr;
    TSpaceText* m_text1 = nullptr;
    TSpaceText* m_text2 = nullptr;
};

}  // namespace kx
