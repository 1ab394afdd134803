// What the coordinates manager does to the selected part and the parts co-selected with it:
// steps, drags and typed values along and about the part's own axes or a connector's, aligning
// and duplicating.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "foundation/u_vector.h"
#include "placement/u_valuepanel.h"

namespace kx {

class TFreeForm;
class TkxMain;

/// The position rows: along the frame's right (slide), up (lift) and direction (move) axes.
enum class TMoveAxis { Slide, Lift, Move };
/// The rotation rows: about the frame's right (pitch), up (turn) and direction (roll) axes.
enum class TTurnAxis { Pitch, Turn, Roll };

/// A centre and axes of motion, in the parts root's frame.
struct TPivotFrame {
    TVector3f Position{0, 0, 0};
    TVector3f Direction{0, 0, 1};
    TVector3f Up{0, 1, 0};
};

/// A part's orientation as three angles in degrees: turned about the vertical, then pitched
/// about its own right axis, then rolled about its own direction, each counter-clockwise seen
/// from the axis tip (as raising the part's own angles turns it). Pitch is within -90..90.
struct TOrientationAngles {
    double Pitch = 0;
    double Turn = 0;
    double Roll = 0;
};
TOrientationAngles AnglesOf(const TVector3f& direction, const TVector3f& up);
/// The direction and up vector the angles give.
void FrameOf(const TOrientationAngles& angles, TVector3f& direction, TVector3f& up);

/// The coordinates manager's logic. It acts on the active object (the selected part) and
/// carries the co-selected parts along; every change ends in the model's RefreshBauteil.
class TPositioning {
public:
    /// Sliders by index: slide, lift, move (millimetres), pitch, turn, roll (degrees).
    static constexpr int kSliderCount = 6;

    explicit TPositioning(TkxMain& model);

    /// From the selection: the centre list anew, "Mittelpunkt" chosen, sliders at 0, the centre
    /// marker's axes hidden.
    void SetActiveObject(TFreeForm* part);
    TFreeForm* ActiveObject() const { return m_active; }

    /// "Mittelpunkt" (its text from the caller) and the active part's connector names.
    const std::vector<std::string>& CentreNames() const { return m_centreNames; }
    int Centre() const { return m_centre; }
    /// 0: the part's own origin and axes; i >= 1: connector i - 1 where it is now, kept as the
    /// centre until another is chosen or the active object changes.
    void ChooseCentre(int index);
    const TPivotFrame& Pivot() const { return m_pivot; }
    void SetCentreText(std::string text);

    /// By d scene units along the axis of the current centre.
    void Translate(TMoveAxis axis, double d);
    /// By degrees about the axis of the current centre.
    void Rotate(TTurnAxis axis, double degrees);
    /// The step buttons: an undo snapshot named after the row, then value / 100 scene units
    /// (value / 10 mm) or value degrees.
    void MoveStep(TMoveAxis axis, double value);
    void TurnStep(TTurnAxis axis, double degrees);

    TValuePanelState& Slider(int index) { return m_sliders[static_cast<size_t>(index)]; }
    const TValuePanelState& Slider(int index) const {
        return m_sliders[static_cast<size_t>(index)];
    }
    /// The slider's value changed (dragged or stepped): moves by the change since its last
    /// value, without an undo snapshot.
    void SliderChanged(int index);
    /// Pointer dragged dx pixels from the pressed point; true when the slider stepped.
    bool DragSlider(int index, int dx);
    /// Step keys: Shift 5 mm / 10 degrees, Ctrl 0.25 mm / 0.1 degrees, release 0.5 / 1.
    void StepKeys(bool shift, bool ctrl);
    void StepKeysReleased();

    /// Typed values: the part's position in millimetres (parts root's frame) and its
    /// orientation angles; the co-selected parts keep their place relative to it. One undo
    /// snapshot each.
    TVector3f PositionMm() const;
    void SetPositionMm(const TVector3f& mm);
    TOrientationAngles Angles() const;
    void SetAngles(const TOrientationAngles& angles);

    /// Adds delta to every co-selected part with an object and stores its pose.
    void MoveCoSelect(const TVector3f& delta);
    /// Turns the part rigidly about the frame: roll about its direction, then turn about its
    /// (rolled) up, then pitch about its right axis, each counter-clockwise seen from the tip.
    void RotateBauteil(TFreeForm& part, const TPivotFrame& frame, double roll, double turn,
                       double pitch);
    void RotateCoSelect(const TPivotFrame& frame, double roll, double turn, double pitch);

    /// "Objekt(e) ausrichten": every co-selected part takes the selected part's pose.
    void ObjekteAusrichten();
    /// "Duplizieren": a copy of the selected and of every co-selected part on its pose, in the
    /// current phase; the copy of the selected part selected, the others co-selected.
    void DuplicateSelection();

private:
    void Refresh(TFreeForm& part);
    std::vector<TFreeForm*> CoSelectedObjects() const;
    void ResetSliders();
    void ShowCentreAxes(bool connector);

    TkxMain& m_model;
    TFreeForm* m_active = nullptr;
    std::vector<std::string> m_centreNames;
    std::string m_centreText = "Mittelpunkt";
    int m_centre = 0;
    TPivotFrame m_pivot;
    std::array<TValuePanelState, kSliderCount> m_sliders;
    std::array<double, kSliderCount> m_lastValues{};
};

}  // namespace kx
