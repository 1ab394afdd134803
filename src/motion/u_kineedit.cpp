// Making and editing links, motor assignments and collision rules: forms, previews and rows.
#include "motion/u_kineedit.h"

#include <cmath>

#include "foundation/u_text.h"
#include "motion/u_kinematik.h"
#include "view/u_sceneobject.h"

namespace kx {

namespace {

constexpr uint8_t kCodeOfButton[kAxisButtonCount] = {kAxisPitchP, kAxisPitchN, kAxisTurnP,
                                                     kAxisTurnN,  kAxisRollP,  kAxisRollN};

enum class TTurnAxis { Pitch, Turn, Roll };

void TurnAbout(TSceneObject& object, TTurnAxis axis, float degrees) {
    switch (axis) {
        case TTurnAxis::Pitch:
            object.Pitch(degrees);
            break;
        case TTurnAxis::Turn:
            object.Turn(degrees);
            break;
        case TTurnAxis::Roll:
            object.Roll(degrees);
            break;
    }
}

TTurnAxis AxisOfButton(int button) {
    if (button == kButtonG1 || button == kButtonG2) {
        return TTurnAxis::Turn;
    }
    if (button == kButtonB1 || button == kButtonB2) {
        return TTurnAxis::Roll;
    }
    return TTurnAxis::Pitch;
}

float SignOfButton(int button) {
    return button == kButtonR2 || button == kButtonG2 || button == kButtonB2 ? -1.0f : 1.0f;
}

/// A decimal number written with either separator, as a user may type a tooth count.
std::optional<double> AnyDecimal(const std::string& text) {
    if (auto v = ParseFloat(text, ',')) {
        return v;
    }
    return ParseFloat(text, '.');
}

}  // namespace

uint8_t LinkCodeOfButton(int button) {
    return button >= 0 && button < kAxisButtonCount ? kCodeOfButton[button]
                                                    : static_cast<uint8_t>(kAxisPitchP);
}

int ButtonOfLinkCode(int code) {
    for (int b = 0; b < kAxisButtonCount; ++b) {
        if (kCodeOfButton[b] == code) {
            return b;
        }
    }
    return kButtonR1;
}

int ButtonOfKineRot(int kineRot) {
    return kineRot >= 0 && kineRot < kAxisButtonCount ? kineRot : kButtonR1;
}

int32_t MotorRotationOfAxis(int axis) {
    return axis == kMotorAxisZ ? 1 : (axis == kMotorAxisY ? 2 : 0);
}

int MotorAxisOfRotation(int32_t rotation) {
    return rotation == 1 ? kMotorAxisZ : (rotation == 2 ? kMotorAxisY : kMotorAxisX);
}

int MotorAxisOfKineRot(int kineRot) {
    if (kineRot == 2 || kineRot == 3) {
        return kMotorAxisY;
    }
    return kineRot == 4 || kineRot == 5 ? kMotorAxisZ : kMotorAxisX;
}

// --- Previews ---------------------------------------------------------------------------------

void TKinePreview::AddPart(TSceneObject* object) {
    if (object) {
        m_parts.push_back({object, object->Direction(), object->Up()});
    }
}

double PreviewToothRatio(const std::string& z1, const std::string& z2) {
    const auto a = AnyDecimal(z1);
    const auto b = AnyDecimal(z2);
    if (!a || !b || *b == 0) {
        return 1;
    }
    const double q = *a / *b;
    return std::isfinite(q) ? q : 1;
}

void TKinePreview::StepGear(const TGearLinkForm& form) {
    if (m_parts.size() >= 1) {
        TurnAbout(*m_parts[0].Object, AxisOfButton(form.Button1), SignOfButton(form.Button1));
    }
    if (m_parts.size() >= 2) {
        const auto q = static_cast<float>(PreviewToothRatio(form.Z1, form.Z2));
        TurnAbout(*m_parts[1].Object, AxisOfButton(form.Button2), SignOfButton(form.Button2) * q);
    }
}

void TKinePreview::StepMotor(const TMotorForm& form) {
    if (m_parts.empty() || form.Axis < 0) {
        return;
    }
    const float degrees = form.Status == 2 ? 2.0f : (form.Status == 1 ? -2.0f : 0.0f);
    const TTurnAxis axis = form.Axis == kMotorAxisY   ? TTurnAxis::Turn
                           : form.Axis == kMotorAxisZ ? TTurnAxis::Roll
                                                      : TTurnAxis::Pitch;
    TurnAbout(*m_parts[0].Object, axis, degrees);
}

void TKinePreview::Reset(size_t part) {
    if (part < m_parts.size()) {
        TPart& p = m_parts[part];
        p.Object->SetDirection(p.Direction);
        p.Object->SetUp(p.Up);
    }
}

void TKinePreview::ResetAll() {
    for (size_t i = 0; i < m_parts.size(); ++i) {
        Reset(i);
    }
}

// --- Records and rows -------------------------------------------------------------------------

std::string KineRowText(const TKineData& link) {
    const char* kind = link.Modus == kKineRotRot    ? "ROT"
                       : link.Modus == kKineRotFest ? "FST"
                                                    : "RTR";
    return std::string(kind) + "|" + link.Bauteil1 + "|" + link.Bauteil2;
}

std::string MotorRowText(int number) {
    return "MOTOR " + std::to_string(number);
}

int MotorNumberOfRow(const std::string& row) {
    return StrToIntDef(row.size() > 6 ? std::string_view(row).substr(6) : std::string_view(), 1);
}

std::string CollisionRowText(const TCollData& rule) {
    return rule.ObjName1 + "|" + rule.ObjName2 + "|" + rule.Param1;
}

bool SameLink(const TKineData& a, const TKineData& b) {
    return a.Modus == b.Modus && a.Bauteil1 == b.Bauteil1 && a.Bauteil2 == b.Bauteil2 &&
           a.Rotation1 == b.Rotation1 && a.Rotation2 == b.Rotation2 && a.Z1 == b.Z1 &&
           a.Z2 == b.Z2 && a.DX == b.DX && a.DY == b.DY && a.DZ == b.DZ;
}

bool SameRule(const TCollData& a, const TCollData& b) {
    return a.Active == b.Active && a.ObjName1 == b.ObjName1 && a.ObjName2 == b.ObjName2 &&
           a.Abstand == b.Abstand && a.Aktion == b.Aktion && a.Param1 == b.Param1;
}

namespace {

template <typename T, typename Same>
std::optional<size_t> ShownIndex(const std::vector<T>& records, size_t row, const T& shown,
                                 Same same) {
    if (row < records.size() && same(records[row], shown)) {
        return row;
    }
    for (size_t i = 0; i < records.size(); ++i) {
        if (same(records[i], shown)) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<size_t> ShownLinkIndex(const std::vector<TKineData>& links, size_t row,
                                     const TKineData& shown) {
    return ShownIndex(links, row, shown, SameLink);
}

std::optional<size_t> ShownRuleIndex(const std::vector<TCollData>& rules, size_t row,
                                     const TCollData& shown) {
    return ShownIndex(rules, row, shown, SameRule);
}

void ApplyCollisionForm(const TCollisionForm& form, TCollData& rule) {
    rule.Active = form.Active;
    rule.Abstand = static_cast<float>(form.Abstand.value_or(8.0));
    rule.Aktion = form.Aktion >= 0 && form.Aktion < kCollisionActionCount ? form.Aktion : 0;
    rule.Param1 =
        rule.Aktion == kCollisionReportOnly ? form.Name : std::to_string(form.MotorIndex + 1);
}

TCollisionForm CollisionFormOf(const TCollData& rule) {
    TCollisionForm form;
    form.Active = rule.Active;
    form.Abstand = rule.Abstand;
    form.Aktion = rule.Aktion >= 0 && rule.Aktion < kCollisionActionCount ? rule.Aktion : 0;
    const int motor = RuleMotorNumber(rule.Param1);
    form.MotorIndex = motor >= 1 && motor <= kMotorCount ? motor - 1 : 0;
    if (form.Aktion == kCollisionReportOnly) {
        form.Name = rule.Param1;
    }
    return form;
}

}  // namespace kx
