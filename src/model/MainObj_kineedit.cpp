// Making and editing the model's links, motor assignments and collision rules.
#include <algorithm>

#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

std::string Text(std::string_view section, int key, std::string_view german) {
    return Language().GetText(section, key, german);
}

std::string TwoPartsMessage() {
    return Text("MAINOBJ", 5, "Es müssen 2 Bauteile selektiert sein.");
}

/// The tooth count a dialog's edit gives, or the fallback when it holds no whole number.
int32_t ToothCount(const std::string& text, int32_t fallback) {
    return ParseInt(text).value_or(fallback);
}

}  // namespace

void TkxMain::SetKineDialogs(TKineDialogs* dialogs) {
    m_kineDialogs = dialogs ? dialogs : &m_nullKineDialogs;
}

void TkxMain::UpdateKineManager() {
    m_kinematik.Invalidate();
    m_view->KineManagerChanged();
}

std::string TkxMain::LastCoSelectedName() const {
    std::string last;
    for (const auto& r : m_parts) {
        if (r->CoSelected()) {
            last = r->Name();
        }
    }
    return last;
}

void TkxMain::BeginKineDialog(const std::vector<TFreeForm*>& shown, bool hideOthers) {
    // The camera follows a stand-in at its target, so hiding parts never moves the view.
    TSceneObject* middle = m_scene.FindObject("dcMiddle");
    if (middle && m_scene.Camera() && m_scene.CameraTarget()) {
        middle->SetAbsolutePosition(m_scene.CameraTarget()->AbsolutePosition());
        m_scene.Camera()->SetTargetObject(middle);
    }
    if (!hideOthers) {
        return;
    }
    for (const auto& r : m_parts) {
        TFreeForm* object = r->Object();
        if (object && std::find(shown.begin(), shown.end(), object) == shown.end()) {
            object->SetVisible(false);
        }
    }
}

void TkxMain::EndKineDialog() {
    if (m_scene.Camera() && m_scene.CameraTarget()) {
        m_scene.Camera()->SetTargetObject(m_scene.CameraTarget());
    }
    // Every part back at its stored pose and visibility: the previews only turned objects.
    Repaint();
}

// --- Menu commands ----------------------------------------------------------------------------

void TkxMain::EditKinematikRotation() {
    Stack().Push("tkxmain.EditKinematikRotation");
    if (!m_selected) {
        m_view->ShowInformation(TwoPartsMessage());
        Repaint();
        return;
    }
    TFreeForm* first = m_selected;
    const std::string second = LastCoSelectedName();
    TFreeForm* secondObject = second.empty() ? nullptr : PartObject(second);
    std::vector<TFreeForm*> shown{first};
    for (const auto& r : m_parts) {
        if (r->CoSelected() && r->Object()) {
            shown.push_back(r->Object());
        }
    }
    BeginKineDialog(shown, true);
    if (second.empty()) {
        m_view->ShowInformation(Text("MAINOBJ", 23, "Es müssen 2 Bauteile selektiert sein."));
        EndKineDialog();
        return;
    }
    TGearLinkForm form;
    form.Part1 = first->Name();
    form.Part2 = second;
    if (const auto def = PartDefinition(form.Part1)) {
        form.Z1 = std::to_string(def->Teeth);
        form.Button1 = ButtonOfKineRot(def->KineRot);
    }
    if (const auto def = PartDefinition(form.Part2)) {
        form.Z2 = std::to_string(def->Teeth);
        form.Button2 = ButtonOfKineRot(def->KineRot);
    }
    TKinePreview preview;
    preview.AddPart(first);
    preview.AddPart(secondObject);
    const bool ok = m_kineDialogs->GearLinkDialog(form, preview);
    preview.ResetAll();
    if (ok) {
        TKineData link;
        link.Modus = kKineRotRot;
        link.Bauteil1 = form.Part1;
        link.Bauteil2 = form.Part2;
        link.Rotation1 = LinkCodeOfButton(form.Button1);
        link.Rotation2 = LinkCodeOfButton(form.Button2);
        link.Z1 = ToothCount(form.Z1, 1);
        link.Z2 = ToothCount(form.Z2, 1);
        m_kineLinks.push_back(std::move(link));
        MarkModified();
    }
    EndKineDialog();
    UpdateKineManager();
}

void TkxMain::EditKinematikRotationFest() {
    Stack().Push("tkxmain.EditKinematikRotationFest");
    if (!m_selected) {
        m_view->ShowInformation(
            Text("MAINOBJ", 8, "Es müssen mindestens 2 Bauteile selektiert sein."));
        UpdateKineManager();
        return;
    }
    const std::string first = m_selected->Name();
    int made = 0;
    for (const auto& r : m_parts) {
        if (r->CoSelected()) {
            TKineData link;
            link.Modus = kKineRotFest;
            link.Bauteil1 = first;
            link.Bauteil2 = r->Name();
            m_kineLinks.push_back(std::move(link));
            ++made;
        }
    }
    if (made > 0) {
        MarkModified();
    }
    std::string message = Text("MAINOBJ", 7, "Es wurden %d Verbindung(en) eingefügt.");
    if (const size_t at = message.find("%d"); at != std::string::npos) {
        message.replace(at, 2, std::to_string(made));
    }
    m_view->ShowInformation(message);
    UpdateKineManager();
}

void TkxMain::AddKinematikRotTrans() {
    Stack().Push("tkxmain.AddKinematikRotTrans");
    if (!m_selected) {
        m_view->ShowInformation(TwoPartsMessage());
        return;
    }
    const std::string first = m_selected->Name();
    const std::string second = LastCoSelectedName();
    TTransRotForm form;
    if (m_kineDialogs->TransRotDialog(form)) {
        TKineData link;
        link.Modus = kKineRotTrans;
        link.Bauteil1 = first;
        link.Bauteil2 = second;
        link.DX = static_cast<float>(form.Advance[0].value_or(0));
        link.DY = static_cast<float>(form.Advance[1].value_or(0));
        link.DZ = static_cast<float>(form.Advance[2].value_or(0));
        m_kineLinks.push_back(std::move(link));
        MarkModified();
    }
    UpdateKineManager();
}

void TkxMain::SetKineMotor() {
    Stack().Push("tkxmain.SetKineMotor");
    if (!m_selected) {
        m_view->ShowInformation(
            Text("MAINOBJ", 6, "Es muss zunächst ein Bauteil selektiert sein."));
        UpdateKineManager();
        return;
    }
    TFreeForm* part = m_selected;
    BeginKineDialog({part}, true);
    TMotorForm form;
    form.PartName = part->Name();
    if (const auto def = PartDefinition(form.PartName)) {
        form.Axis = MotorAxisOfKineRot(def->KineRot);
    }
    TKinePreview preview;
    preview.AddPart(part);
    const bool ok = m_kineDialogs->MotorDialog(form, preview);
    preview.ResetAll();
    if (ok && form.MotorIndex >= 0 && form.MotorIndex < kMotorCount) {
        TMotorRec& motor = m_motors.Motor(form.MotorIndex + 1);
        motor.Speed = 1;
        motor.Status = form.Status == 1 || form.Status == 2 ? form.Status : 0;
        motor.Rotation = MotorRotationOfAxis(form.Axis);
        motor.PartName = form.PartName;
        MarkModified();
    }
    EndKineDialog();
    UpdateKineManager();
}

void TkxMain::AddKollision() {
    Stack().Push("tkxmain.AddKollision");
    if (!m_selected) {
        m_view->ShowInformation(TwoPartsMessage());
        UpdateKineManager();
        return;
    }
    TCollData rule;
    rule.ObjName1 = m_selected->Name();
    rule.ObjName2 = LastCoSelectedName();
    TCollisionForm form;
    if (m_kineDialogs->CollisionDialog(form)) {
        ApplyCollisionForm(form, rule);
        rule.InRange = false;
        m_collisionRules.push_back(std::move(rule));
        MarkModified();
    }
    UpdateKineManager();
}

// --- The kinematics manager -------------------------------------------------------------------

void TkxMain::SelectKinePair(const std::string& part1, const std::string& part2) {
    Stack().Push("tkxmain.SelectKinePair", part1, part2);
    SelectBaustein(part1);
    if (!part2.empty()) {
        CoSelectBaustein(part2, true, true, true);
    }
}

bool TkxMain::EditKineLink(size_t row, const TKineData& shown) {
    Stack().Push("tkxmain.EditKineLink", static_cast<int>(row));
    const auto index = ShownLinkIndex(m_kineLinks, row, shown);
    if (!index) {
        UpdateKineManager();
        return false;
    }
    const TKineData before = m_kineLinks[*index];
    if (before.Modus == kKineRotFest) {
        m_view->ShowInformation(Text("F_KINEMANAGER", 12, "Diese Bindung besitzt keine Parameter"));
        return true;
    }
    if (before.Modus == kKineRotTrans) {
        TTransRotForm form;
        form.Advance = {before.DX, before.DY, before.DZ};
        if (m_kineDialogs->TransRotDialog(form)) {
            TKineData& link = m_kineLinks[*index];
            link.DX = static_cast<float>(form.Advance[0].value_or(link.DX));
            link.DY = static_cast<float>(form.Advance[1].value_or(link.DY));
            link.DZ = static_cast<float>(form.Advance[2].value_or(link.DZ));
            if (!SameLink(link, before)) {
                MarkModified();
            }
        }
        UpdateKineManager();
        return true;
    }
    TGearLinkForm form;
    form.Part1 = before.Bauteil1;
    form.Part2 = before.Bauteil2;
    form.Z1 = std::to_string(before.Z1);
    form.Z2 = std::to_string(before.Z2);
    form.Button1 = ButtonOfLinkCode(before.Rotation1);
    form.Button2 = ButtonOfLinkCode(before.Rotation2);
    TKinePreview preview;
    preview.AddPart(PartObject(before.Bauteil1));
    preview.AddPart(PartObject(before.Bauteil2));
    BeginKineDialog({}, false);
    const bool ok = m_kineDialogs->GearLinkDialog(form, preview);
    preview.ResetAll();
    // The dialog is modal, but the list may have been changed behind it (a script).
    const auto still = ShownLinkIndex(m_kineLinks, *index, before);
    if (ok && still) {
        TKineData& link = m_kineLinks[*still];
        // An unreadable count falls back to 1, as when the link was made.
        link.Z1 = ToothCount(form.Z1, 1);
        link.Z2 = ToothCount(form.Z2, 1);
        link.Rotation1 = LinkCodeOfButton(form.Button1);
        link.Rotation2 = LinkCodeOfButton(form.Button2);
        if (!SameLink(link, before)) {
            MarkModified();
        }
    }
    EndKineDialog();
    UpdateKineManager();
    return still.has_value();
}

bool TkxMain::DeleteKineLink(size_t row, const TKineData& shown) {
    Stack().Push("tkxmain.DeleteKineLink", static_cast<int>(row));
    const auto index = ShownLinkIndex(m_kineLinks, row, shown);
    if (index) {
        m_kineLinks.erase(m_kineLinks.begin() + static_cast<std::ptrdiff_t>(*index));
        MarkModified();
        DeSelectAllBausteine();
    }
    UpdateKineManager();
    return index.has_value();
}

void TkxMain::EditKineMotor(int number) {
    Stack().Push("tkxmain.EditKineMotor", number);
    if (number < 1 || number > kMotorCount) {
        number = 1;
    }
    const TMotorRec before = m_motors.Motor(number);
    TMotorForm form;
    form.PartName = before.PartName;
    form.MotorIndex = number - 1;
    form.Status = before.Status;
    form.Axis = MotorAxisOfRotation(before.Rotation);
    form.PreviewAtStart = false;
    TKinePreview preview;
    preview.AddPart(PartObject(before.PartName));
    BeginKineDialog({}, false);
    const bool ok = m_kineDialogs->MotorDialog(form, preview);
    preview.ResetAll();
    if (ok && form.MotorIndex >= 0 && form.MotorIndex < kMotorCount) {
        // Another motor chosen in the dialog drives the part as well; this one keeps it.
        TMotorRec& motor = m_motors.Motor(form.MotorIndex + 1);
        const TMotorRec old = motor;
        motor.PartName = before.PartName;
        motor.Status = form.Status == 1 || form.Status == 2 ? form.Status : 0;
        motor.Rotation = MotorRotationOfAxis(form.Axis);
        if (old.PartName != motor.PartName || old.Status != motor.Status ||
            old.Rotation != motor.Rotation) {
            MarkModified();
        }
    }
    EndKineDialog();
    UpdateKineManager();
}

void TkxMain::RemoveKineMotor(int number) {
    Stack().Push("tkxmain.RemoveKineMotor", number);
    if (number >= 1 && number <= kMotorCount && !m_motors.Motor(number).PartName.empty()) {
        m_motors.Motor(number).PartName.clear();
        MarkModified();
    }
    UpdateKineManager();
}

bool TkxMain::EditCollisionRule(size_t row, const TCollData& shown) {
    Stack().Push("tkxmain.EditCollisionRule", static_cast<int>(row));
    const auto index = ShownRuleIndex(m_collisionRules, row, shown);
    if (!index) {
        UpdateKineManager();
        return false;
    }
    const TCollData before = m_collisionRules[*index];
    TCollisionForm form = CollisionFormOf(before);
    if (m_kineDialogs->CollisionDialog(form)) {
        if (const auto still = ShownRuleIndex(m_collisionRules, *index, before)) {
            TCollData& rule = m_collisionRules[*still];
            ApplyCollisionForm(form, rule);
            if (!SameRule(rule, before)) {
                MarkModified();
            }
        }
    }
    UpdateKineManager();
    return true;
}

bool TkxMain::DeleteCollisionRule(size_t row, const TCollData& shown) {
    Stack().Push("tkxmain.DeleteCollisionRule", static_cast<int>(row));
    const auto index = ShownRuleIndex(m_collisionRules, row, shown);
    if (index) {
        m_collisionRules.erase(m_collisionRules.begin() + static_cast<std::ptrdiff_t>(*index));
        MarkModified();
        DeSelectAllBausteine();
    }
    UpdateKineManager();
    return index.has_value();
}

}  // namespace kx
