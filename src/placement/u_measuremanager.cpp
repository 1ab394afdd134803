// The measurement manager's logic.
#include "placement/u_measuremanager.h"

#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "placement/u_TMeasurement.h"

namespace kx {

namespace {

double FieldValue(const TMeasurement& m, TMeasureField f) {
    switch (f) {
        case TMeasureField::BaseLine:
            return m.BaseLineHeight;
        case TMeasureField::Rotation:
            return m.Rotation;
        case TMeasureField::TextHeight:
            return m.TextHeight;
        case TMeasureField::Lift1:
            return m.Lift1;
        case TMeasureField::Move1:
            return m.Move1;
        case TMeasureField::Slide1:
            return m.Slide1;
        case TMeasureField::Lift2:
            return m.Lift2;
        case TMeasureField::Move2:
            return m.Move2;
        case TMeasureField::Slide2:
            break;
    }
    return m.Slide2;
}

}  // namespace

TMeasureManager::TMeasureManager(TkxMain& model) : m_model(model) {
    for (int i = 0; i < kMeasureFieldCount; ++i) {
        TValuePanelState& s = m_sliders[static_cast<size_t>(i)];
        s.Format = "%.1f mm";
        s.Step = 0.5;
    }
    Slider(TMeasureField::Rotation).Format = "%.0f";
    Slider(TMeasureField::Rotation).Step = 5;
    // A text below one millimetre could not be read anyway.
    Slider(TMeasureField::TextHeight).Step = 0.1;
    Slider(TMeasureField::TextHeight).Min = 1;
}

TMeasurement* TMeasureManager::CurrentMeasurement() const {
    auto& list = m_model.Measurements();
    return m_current >= 0 && static_cast<size_t>(m_current) < list.size()
               ? list[static_cast<size_t>(m_current)].get()
               : nullptr;
}

const std::vector<std::string>& TMeasureManager::Fill(const std::string& itemName) {
    Stack().Push("TdlgMeasureManager.FillList");
    m_items.clear();
    for (size_t i = 0; i < m_model.Measurements().size(); ++i) {
        m_items.push_back(itemName + " " + std::to_string(i + 1));
    }
    m_current = -1;
    if (!m_items.empty()) {
        Choose(static_cast<int>(m_items.size()) - 1);
    }
    return m_items;
}

void TMeasureManager::Choose(int index) {
    Stack().Push("TdlgMeasureManager.lbMeasurementsClick", index);
    if (index < 0 || static_cast<size_t>(index) >= m_items.size() ||
        static_cast<size_t>(index) >= m_model.Measurements().size()) {
        m_current = -1;
        return;
    }
    m_model.UnHighlightAllMeasurements();
    m_current = index;
    TMeasurement& m = *m_model.Measurements()[static_cast<size_t>(index)];
    m.SetHighlighted(true);
    Load(m);
}

void TMeasureManager::Load(const TMeasurement& m) {
    m_visible = m.Visible;
    for (int i = 0; i < kMeasureFieldCount; ++i) {
        const auto f = static_cast<TMeasureField>(i);
        const double value = FieldValue(m, f);
        // Straight into the value: loading must not clamp what the file holds.
        Slider(f).Value = f == TMeasureField::Rotation ? value : value * 10;
    }
}

void TMeasureManager::SetVisible(bool on) {
    m_visible = on;
    if (TMeasurement* m = CurrentMeasurement()) {
        m->SetVisible(on);
        m_model.MarkModified();
    }
}

void TMeasureManager::SliderChanged(TMeasureField f) {
    TMeasurement* m = CurrentMeasurement();
    if (!m) {
        return;
    }
    const double value = Slider(f).Value;
    switch (f) {
        case TMeasureField::BaseLine:
            m->SetBaseLineHeight(value / 10);
            break;
        case TMeasureField::Rotation:
            m->SetRotation(value);
            break;
        case TMeasureField::TextHeight:
            m->SetTextHeight(value / 10);
            break;
        case TMeasureField::Lift1:
            m->SetLift1(value / 10);
            break;
        case TMeasureField::Move1:
            m->SetMove1(value / 10);
            break;
        case TMeasureField::Slide1:
            m->SetSlide1(value / 10);
            break;
        case TMeasureField::Lift2:
            m->SetLift2(value / 10);
            break;
        case TMeasureField::Move2:
            m->SetMove2(value / 10);
            break;
        case TMeasureField::Slide2:
            m->SetSlide2(value / 10);
            break;
    }
    m_model.MarkModified();
}

bool TMeasureManager::DragSlider(TMeasureField f, int dx) {
    if (!CurrentMeasurement() || !Slider(f).DragBy(dx)) {
        return false;
    }
    SliderChanged(f);
    return true;
}

void TMeasureManager::Delete(const std::string& itemName) {
    Stack().Push("TdlgMeasureManager.btnDeleteClick");
    // The entry removed and the measurement freed are one and the same: the current one.
    if (TMeasurement* m = CurrentMeasurement()) {
        m_model.DeleteMeasurement(m);
    }
    Fill(itemName);
}

void TMeasureManager::Close() {
    m_model.UnHighlightAllMeasurements();
}

}  // namespace kx
