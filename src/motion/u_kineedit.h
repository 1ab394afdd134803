// Making and editing links, motor assignments and collision rules: what the dialogs show and
// return, the dialogs as the model asks for them, their live previews and the manager's rows.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "foundation/u_vector.h"
#include "motion/u_colldata.h"
#include "motion/u_kinedata.h"

namespace kx {

class TSceneObject;

// --- Axis buttons -----------------------------------------------------------------------------

/// Axis buttons of the link dialog, per part: red, green, blue axis, each positive (1) and
/// negative (2). A part definition's KineRot is the index of the button it preselects.
enum : int {
    kButtonR1 = 0,
    kButtonR2 = 1,
    kButtonG1 = 2,
    kButtonG2 = 3,
    kButtonB1 = 4,
    kButtonB2 = 5,
};
inline constexpr int kAxisButtonCount = 6;

/// The link axis code a button stands for.
uint8_t LinkCodeOfButton(int button);
/// The button that shows a link axis code; codes outside 0-5 show R1.
int ButtonOfLinkCode(int code);
/// The button a part definition's KineRot preselects; values outside 0-5 give R1.
int ButtonOfKineRot(int kineRot);

/// Axis buttons of the motor dialog.
enum : int {
    kMotorAxisX = 0,  ///< btnPitch
    kMotorAxisY = 1,  ///< btnTurn
    kMotorAxisZ = 2,  ///< btnRoll
};
/// The motor record's Rotation for a pressed axis button: X 0, Z 1, Y 2.
int32_t MotorRotationOfAxis(int axis);
/// The axis button that shows a motor's Rotation (0 X, 1 Z, 2 Y; others X).
int MotorAxisOfRotation(int32_t rotation);
/// The axis button a part definition's KineRot preselects: 0/1 X, 2/3 Y, 4/5 Z.
int MotorAxisOfKineRot(int kineRot);

// --- What the dialogs show and return ---------------------------------------------------------

/// The gear link dialog: one axis button and one tooth-count text per part.
struct TGearLinkForm {
    std::string Part1;
    std::string Part2;
    int Button1 = kButtonR1;
    int Button2 = kButtonR1;
    std::string Z1 = "1";
    std::string Z2 = "1";
};

/// The motor dialog. Axis -1: no axis button pressed.
struct TMotorForm {
    std::string PartName;
    int Axis = kMotorAxisX;
    int Status = 1;      ///< 0 stop, 1 left, 2 right
    int MotorIndex = 0;  ///< 0 = Motor 1
    bool PreviewAtStart = true;
};

/// The rotation/translation dialog: the advance per revolution along X, Y and Z in mm; an
/// empty value is an edit that does not hold a number.
struct TTransRotForm {
    std::array<std::optional<double>, 3> Advance{0.0, 0.0, 0.0};
};

/// The collision rule dialog; an empty Abstand is an edit that does not hold a number.
struct TCollisionForm {
    bool Active = true;
    std::optional<double> Abstand = 8.0;
    int Aktion = 0;
    int MotorIndex = 0;  ///< 0 = Motor 1
    std::string Name;
};

inline constexpr int kCollisionActionCount = 5;

// --- Previews ---------------------------------------------------------------------------------

/// Turns up to two part objects about their own axes while a dialog is open; Reset puts a part
/// back to the pose it had when the preview began (its stored pose).
class TKinePreview {
public:
    TKinePreview() = default;
    /// Part i of the preview (0 or 1); a null object is ignored.
    void AddPart(TSceneObject* object);
    /// One tick of the link dialog: part 1 by one degree about its button's axis, part 2 by
    /// Z1 / Z2 degrees (1 when either is no number or the ratio fails).
    void StepGear(const TGearLinkForm& form);
    /// One tick of the motor dialog: 2 degrees right, -2 left, none when stopped.
    void StepMotor(const TMotorForm& form);
    /// Part i back to its stored direction and up.
    void Reset(size_t part);
    void ResetAll();
    size_t Count() const { return m_parts.size(); }

private:
    struct TPart {
        TSceneObject* Object;
        TVector3f Direction;
        TVector3f Up;
    };
    std::vector<TPart> m_parts;
};

/// The gear ratio the link dialog's preview turns the second part by.
double PreviewToothRatio(const std::string& z1, const std::string& z2);

// --- The dialogs as the model asks for them ---------------------------------------------------

/// The link, motor and rule dialogs. Each returns true on OK with the form as the user left
/// it; a preview, where given, runs while the dialog is open.
class TKineDialogs {
public:
    virtual ~TKineDialogs() = default;
    virtual bool GearLinkDialog(TGearLinkForm& form, TKinePreview& preview) = 0;
    virtual bool MotorDialog(TMotorForm& form, TKinePreview& preview) = 0;
    virtual bool TransRotDialog(TTransRotForm& form) = 0;
    virtual bool CollisionDialog(TCollisionForm& form) = 0;
};

/// No windows: every dialog is cancelled.
class TNullKineDialogs : public TKineDialogs {
public:
    bool GearLinkDialog(TGearLinkForm&, TKinePreview&) override { return false; }
    bool MotorDialog(TMotorForm&, TKinePreview&) override { return false; }
    bool TransRotDialog(TTransRotForm&) override { return false; }
    bool CollisionDialog(TCollisionForm&) override { return false; }
};

// --- Records and the manager's rows -----------------------------------------------------------

/// "ROT|part1|part2", "FST|..." or "RTR|...".
std::string KineRowText(const TKineData& link);
/// "MOTOR n".
std::string MotorRowText(int number);
/// The number a motor row names: its text after "MOTOR ", 1 when that is no number.
int MotorNumberOfRow(const std::string& row);
/// "name1|name2|param1".
std::string CollisionRowText(const TCollData& rule);

/// Whether two records describe the same link or rule (the step's bookkeeping and the rule's
/// last result do not count).
bool SameLink(const TKineData& a, const TKineData& b);
bool SameRule(const TCollData& a, const TCollData& b);

/// The index of the record a manager row shows: the row's own index while it still holds that
/// record, else the first record equal to it; nothing when the record is gone.
std::optional<size_t> ShownLinkIndex(const std::vector<TKineData>& links, size_t row,
                                     const TKineData& shown);
std::optional<size_t> ShownRuleIndex(const std::vector<TCollData>& rules, size_t row,
                                     const TCollData& shown);

/// The rule the collision dialog makes: Abstand 8 when it is no number, Param1 the motor
/// number as text or, for a rule that only reports, its name.
void ApplyCollisionForm(const TCollisionForm& form, TCollData& rule);
/// The dialog preset from a rule.
TCollisionForm CollisionFormOf(const TCollData& rule);

}  // namespace kx
