// The measurement manager's logic: its list, the current measurement, its sliders, deleting.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "placement/u_valuepanel.h"

namespace kx {

class TMeasurement;
class TkxMain;

/// The manager's sliders, in the order of the window.
enum class TMeasureField {
    BaseLine,
    Rotation,
    TextHeight,
    Lift1,
    Move1,
    Slide1,
    Lift2,
    Move2,
    Slide2
};
inline constexpr int kMeasureFieldCount = 9;

/// What the measurement manager window shows and does, without the window. Lengths show in
/// millimetres (the measurement's scene units times ten), the rotation in degrees.
class TMeasureManager {
public:
    explicit TMeasureManager(TkxMain& model);

    /// One item per measurement: itemName, a blank and the position from 1. The last one
    /// becomes current as by a click; without items none is.
    const std::vector<std::string>& Fill(const std::string& itemName);
    const std::vector<std::string>& Items() const { return m_items; }
    /// A click on an item: every measurement un-highlighted, this one current and highlighted,
    /// the fields loaded from it. Outside the list: nothing current, panel disabled.
    void Choose(int index);
    int Current() const { return m_current; }
    TMeasurement* CurrentMeasurement() const;
    bool PanelEnabled() const { return m_current >= 0; }
    bool DeleteEnabled() const { return !m_items.empty(); }

    const TValuePanelState& Slider(TMeasureField f) const {
        return m_sliders[static_cast<size_t>(f)];
    }
    TValuePanelState& Slider(TMeasureField f) { return m_sliders[static_cast<size_t>(f)]; }
    bool Visible() const { return m_visible; }

    /// The check box "Sichtbar" and the sliders write into the current measurement.
    void SetVisible(bool on);
    void SliderChanged(TMeasureField f);
    /// Pointer dragged dx pixels from the pressed point; true when the slider stepped.
    bool DragSlider(TMeasureField f, int dx);

    /// "Löschen": the current measurement goes, and the list is filled again.
    void Delete(const std::string& itemName);
    /// Closing the window: no measurement stays highlighted.
    void Close();

private:
    void Load(const TMeasurement& m);

    TkxMain& m_model;
    std::vector<std::string> m_items;
    int m_current = -1;
    bool m_visible = true;
    std::array<TValuePanelState, kMeasureFieldCount> m_sliders;
};

}  // namespace kx
