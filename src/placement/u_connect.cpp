// Joining parts at connectors: which connectors fit, where a joined part goes, and the state
// of the connector window (lists, placement, nudges, turns, confirm and cancel).
#include "placement/u_connect.h"

#include <cmath>
#include <cstdlib>

#include "catalogue/u_partcache.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "view/u_sceneobjects.h"

namespace kx {

bool ConnectorsFit(const TConn& a, const TConn& b) {
    return a.Thick == b.Thick && a.Typ != b.Typ;
}

bool FitsAny(const TConn& c, const TDefObj& def) {
    for (const TConn& other : def.Conns) {
        if (ConnectorsFit(c, other)) {
            return true;
        }
    }
    return false;
}

std::vector<int> FixedConnectorChoices(const TDefObj& fixed, const TDefObj& added) {
    std::vector<int> result;
    for (int i = 1; i <= fixed.ConnCount(); ++i) {
        if (FitsAny(fixed.Conn(i), added)) {
            result.push_back(i);
        }
    }
    return result;
}

std::vector<int> NewConnectorChoices(const TConn& fixedConn, const TDefObj& added) {
    std::vector<int> result;
    for (int i = 1; i <= added.ConnCount(); ++i) {
        if (ConnectorsFit(fixedConn, added.Conn(i))) {
            result.push_back(i);
        }
    }
    return result;
}

TArrowLine* ConnectorAnchor(const TSceneObject& part, int number) {
    if (number < 1) {
        return nullptr;
    }
    int rank = 0;
    for (const auto& child : part.Children()) {
        if (child->Kind() == TSceneObjectKind::ArrowLine && ++rank == number) {
            return static_cast<TArrowLine*>(child.get());
        }
    }
    return nullptr;
}

namespace {

void AddAngles(TSceneObject& o, float pitch, float roll, float turn) {
    o.SetPitchAngle(o.PitchAngle() + pitch);
    o.SetRollAngle(o.RollAngle() + roll);
    o.SetTurnAngle(o.TurnAngle() + turn);
}

void TakeFrameOf(TSceneObject& object, const TSceneObject& fixed) {
    if (object.Parent() == fixed.Parent()) {
        object.SetOrientation(fixed.Direction(), fixed.Up());
    } else {
        object.SetAbsoluteDirection(fixed.AbsoluteDirection());
        object.SetAbsoluteUp(fixed.AbsoluteUp());
    }
}

void ShiftAbsolute(TSceneObject& object, const TVector3f& shift) {
    object.Translate(object.Parent() ? object.Parent()->AbsoluteToLocalVector(shift) : shift);
}

}  // namespace

void OrientJoined(TSceneObject& object, const TSceneObject& fixed, const TConn& fixedConn,
                  const TConn& newConn, const TJoinAngles& extra) {
    TakeFrameOf(object, fixed);
    AddAngles(object, fixedConn.PF, fixedConn.RF, fixedConn.TF);
    AddAngles(object, newConn.PN + extra.Pitch, newConn.RN + extra.Roll, newConn.TN + extra.Turn);
}

TVector3f JoinAtConnectors(TSceneObject& object, int newNumber, const TConn& newConn,
                           const TSceneObject& fixed, int fixedNumber, const TConn& fixedConn,
                           const TJoinAngles& extra, bool* ok) {
    OrientJoined(object, fixed, fixedConn, newConn, extra);
    const TArrowLine* a = ConnectorAnchor(fixed, fixedNumber);
    const TArrowLine* b = ConnectorAnchor(object, newNumber);
    if (ok) {
        *ok = a && b;
    }
    if (!a || !b) {
        return {0, 0, 0};
    }
    const TVector3f shift = a->AbsolutePosition() - b->AbsolutePosition();
    ShiftAbsolute(object, shift);
    return shift;
}

std::string MillimetreText(double mm) {
    const long tenths = std::lround(mm * 10);
    const long whole = std::labs(tenths) / 10;
    const long decimal = std::labs(tenths) % 10;
    std::string text = tenths < 0 ? "-" : "";
    text += std::to_string(whole) + "," + std::to_string(decimal) + "mm";
    return text;
}

// --- The connector window's logic -------------------------------------------------------------

TConnectorSession::TConnectorSession(TkxMain& model, TDefCache& defs)
    : m_model(model), m_defs(defs) {}

TConnectorSession::~TConnectorSession() = default;

void TConnectorSession::Open(TFreeForm& fixed, std::string_view number, int preselected) {
    Stack().Push("TFormConn.FormShow", fixed.Name(), number, preselected);
    m_fixed = &fixed;
    m_number = std::string(number);
    m_preselected = preselected;
    // The fixed part's definition is the one its name carries (characters 2 to 6).
    const std::string fixedNumber = fixed.Name().size() >= 6 ? fixed.Name().substr(1, 5) : "";
    m_fixedDef = m_defs.GetDef(m_model.Files(), fixedNumber);
    m_newDef = m_defs.GetDef(m_model.Files(), m_number);
    m_extra = {};
    for (double& d : m_distances) {
        d = 0;
    }
    m_fixedChoices = FixedConnectorChoices(*m_fixedDef, *m_newDef);
    m_fixedIndex = m_fixedChoices.empty() ? -1 : 0;
    for (size_t i = 0; i < m_fixedChoices.size(); ++i) {
        if (m_fixedChoices[i] == preselected + 1) {
            m_fixedIndex = static_cast<int>(i);
        }
    }
    FillNewChoices();
    Place();
}

std::vector<std::string> TConnectorSession::FixedItems() const {
    std::vector<std::string> items;
    for (int c : m_fixedChoices) {
        items.push_back(m_fixedDef->Conn(c).Name);
    }
    return items;
}

std::vector<std::string> TConnectorSession::NewItems() const {
    std::vector<std::string> items;
    for (int c : m_newChoices) {
        items.push_back(m_newDef->Conn(c).Name);
    }
    return items;
}

int TConnectorSession::FixedConnector() const {
    return m_fixedIndex < 0 ? 0 : m_fixedChoices[static_cast<size_t>(m_fixedIndex)];
}

int TConnectorSession::NewConnector() const {
    return m_newIndex < 0 ? 0 : m_newChoices[static_cast<size_t>(m_newIndex)];
}

void TConnectorSession::FillNewChoices() {
    m_newChoices.clear();
    if (m_fixedIndex >= 0) {
        m_newChoices = NewConnectorChoices(m_fixedDef->Conn(FixedConnector()), *m_newDef);
    }
    m_newIndex = m_newChoices.empty() ? -1 : 0;
}

void TConnectorSession::ChooseFixed(int index) {
    Stack().Push("TFormConn.lbFixClick", index);
    if (index < 0 || index >= static_cast<int>(m_fixedChoices.size())) {
        return;
    }
    m_fixedIndex = index;
    m_extra = {};
    FillNewChoices();
    Place();
}

void TConnectorSession::ChooseNew(int index) {
    Stack().Push("TFormConn.lbNewClick", index);
    if (index < 0 || index >= static_cast<int>(m_newChoices.size())) {
        return;
    }
    m_newIndex = index;
    Place();
}

TFreeForm* TConnectorSession::NewObject() const {
    if (m_newName.empty()) {
        return nullptr;
    }
    const TBauteil* record = m_model.FindBauteil(m_newName);
    return record ? record->Object() : nullptr;
}

void TConnectorSession::RemovePlaced() {
    for (const std::string& child : m_childNames) {
        m_model.DeleteBaustein(child);
    }
    m_childNames.clear();
    if (!m_newName.empty()) {
        m_model.DeleteBaustein(m_newName);
        m_newName.clear();
    }
}

void TConnectorSession::Place() {
    Stack().Push("TFormConn.PlaceNewPart", FixedConnector(), NewConnector());
    RemovePlaced();
    const int c = FixedConnector();
    const int n = NewConnector();
    if (!m_fixed || c == 0 || n == 0) {
        return;
    }
    m_newName = m_model.AddBaustein(m_number);
    TFreeForm* object = NewObject();
    if (!object) {
        m_newName.clear();
        return;
    }
    const TConn& fixedConn = m_fixedDef->Conn(c);
    const TConn& newConn = m_newDef->Conn(n);
    const TVector3f shift =
        JoinAtConnectors(*object, n, newConn, *m_fixed, c, fixedConn, m_extra, nullptr);

    if (m_newDef->ChildCount() > 0) {
        auto group = std::make_unique<TGroup>();
        group->Internal = true;
        group->Add(m_newName);
        for (const std::string& childNumber : m_newDef->Children) {
            const std::string childName = m_model.AddBaustein(childNumber);
            const TBauteil* record = childName.empty() ? nullptr : m_model.FindBauteil(childName);
            if (!record || !record->Object()) {
                continue;
            }
            m_childNames.push_back(childName);
            group->Add(childName);
            TFreeForm& child = *record->Object();
            OrientJoined(child, *m_fixed, fixedConn, newConn, m_extra);
            ShiftAbsolute(child, shift);
        }
        m_model.Groups().push_back(std::move(group));
    }
    object->SetShowAxes(true);
}

void TConnectorSession::Nudge(TNudgeAxis axis, int value) {
    Stack().Push("TFormConn.Nudge", static_cast<int>(axis), value);
    TFreeForm* object = NewObject();
    if (!object) {
        return;
    }
    const float d = static_cast<float>(value) / 100;
    auto step = [&](TSceneObject& o) {
        switch (axis) {
            case TNudgeAxis::Move:
                o.Move(d);
                break;
            case TNudgeAxis::Lift:
                o.Lift(d);
                break;
            case TNudgeAxis::Slide:
                o.Slide(d);
                break;
        }
    };
    step(*object);
    for (const std::string& childName : m_childNames) {
        if (const TBauteil* record = m_model.FindBauteil(childName); record && record->Object()) {
            step(*record->Object());
        }
    }
    m_distances[static_cast<int>(axis)] += value / 10.0;
}

double TConnectorSession::Distance(TNudgeAxis axis) const {
    return m_distances[static_cast<int>(axis)];
}

void TConnectorSession::TurnStep(TTurnAxis axis, int value) {
    Stack().Push("TFormConn.TurnStep", static_cast<int>(axis), value);
    switch (axis) {
        case TTurnAxis::Roll:
            m_extra.Roll += static_cast<float>(value);
            break;
        case TTurnAxis::Turn:
            m_extra.Turn += static_cast<float>(value);
            break;
        case TTurnAxis::Pitch:
            m_extra.Pitch += static_cast<float>(value);
            break;
    }
    Place();
}

void TConnectorSession::Confirm() {
    Stack().Push("TFormConn.btnOKClick");
    TFreeForm* object = NewObject();
    if (!object) {
        return;
    }
    m_model.RefreshBauteil(m_newName, true, -1);
    for (const std::string& childName : m_childNames) {
        m_model.RefreshBauteil(childName, true, -1);
    }
    object->SetShowAxes(false);
}

void TConnectorSession::Cancel() {
    Stack().Push("TFormConn.btnCancelClick");
    RemovePlaced();
}

}  // namespace kx
