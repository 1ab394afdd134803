// The coordinates manager: moves and turns the selected part and the co-selected ones with step
// buttons, drag sliders and typed values, about the part's origin or one of its connectors.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "placement/u_positioning.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kx {

class TFreeForm;
class TValuePanel;
class TkxMain;

class TFormKoordinaten : public QDialog {
    Q_OBJECT
public:
    explicit TFormKoordinaten(QWidget* parent = nullptr);
    ~TFormKoordinaten() override;

    /// The model whose selection the window acts on; nullptr: none (everything disabled).
    void SetModel(TkxMain* model);
    /// The selection changed: the part to act on, or nullptr.
    void ShowPart(TFreeForm* part);
    /// The logic behind the window; nullptr until it has a model.
    TPositioning* Positioning() const { return m_positioning.get(); }
    void DoLanguage();

    // Controls, for the program's tests.
    QComboBox* CentreBox() const { return cbMittelpunkt; }
    /// Step button of a row: rows 0-2 slide, lift, move (index 0-3: -50, -5, +5, +50); rows
    /// 3-5 pitch, turn, roll (index 0-4: -10, -1, +1, +10, 90).
    QPushButton* StepButton(int row, int index) const;
    TValuePanel* Slider(int index) const { return m_sliders[static_cast<size_t>(index)]; }
    /// Typed values: 0-2 position X, Y, Z in mm, 3-5 pitch, turn, roll in degrees.
    QLineEdit* ValueField(int index) const { return m_fields[static_cast<size_t>(index)]; }
    QAction* AlignAction() const { return m_align; }
    QAction* DuplicateAction() const { return m_duplicate; }
    QTabWidget* Tabs() const { return m_tabs; }
    QString StatusText(int panel) const;

signals:
    /// After every change of a part's pose, so the view can redraw.
    void Changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void BuildStepTab();
    void BuildSliderTab();
    void BuildValueTab();
    void Refill();
    /// The typed-value fields show the part's pose as it is now.
    void ShowValues();
    void ApplyValues(int field);
    void AfterChange();

    TkxMain* m_model = nullptr;
    std::unique_ptr<TPositioning> m_positioning;
    QComboBox* cbMittelpunkt = nullptr;
    QLabel* m_centreLabel = nullptr;
    QTabWidget* m_tabs = nullptr;
    std::array<std::array<QPushButton*, 5>, 6> m_steps{};
    std::array<QLabel*, 6> m_stepLabels{};
    std::array<QLabel*, 6> m_sliderLabels{};
    std::array<QLabel*, 6> m_fieldLabels{};
    std::array<TValuePanel*, TPositioning::kSliderCount> m_sliders{};
    std::array<QPushButton*, 3> m_ninety{};
    std::array<QLineEdit*, 6> m_fields{};
    QLabel* m_positionTitle = nullptr;
    QLabel* m_anglesTitle = nullptr;
    QAction* m_align = nullptr;
    QAction* m_duplicate = nullptr;
    std::array<QLabel*, 2> m_status{};
    bool m_filling = false;
};

}  // namespace kx
