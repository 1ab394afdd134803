// "Rotations-Bindung": the axes and tooth counts of a gear link, with the two parts turning
// as the link would turn them while the dialog is open.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "motion/u_kineedit.h"

class QButtonGroup;
class QLineEdit;
class QTimer;
class QToolButton;

namespace kx {

class TFormKineRotation : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 4071;
    static constexpr int kPreviewInterval = 40;  ///< ms

    /// The preview, when given, runs from the start until the dialog closes.
    TFormKineRotation(const TGearLinkForm& form, TKinePreview* preview, QWidget* parent = nullptr);

    /// The form as the user has set it.
    TGearLinkForm Form() const;
    /// Axis button b (kButtonR1 ... kButtonB2) of part 0 or 1.
    QToolButton* AxisButton(int part, int button) const;
    QLineEdit* ToothEdit(int part) const { return part == 0 ? eZ1 : eZ2; }
    QTimer* Timer() const { return m_timer; }

    void done(int result) override;

    /// Called after each preview step, so the view shows it.
    std::function<void()> Redraw;

private:
    QWidget* PartPanel(int part, const QString& partName);
    void AxisPressed(int part);
    void Tick();

    TGearLinkForm m_form;
    TKinePreview* m_preview;
    std::array<QButtonGroup*, 2> m_axes{};
    QLineEdit* eZ1 = nullptr;
    QLineEdit* eZ2 = nullptr;
    QTimer* m_timer;
};

}  // namespace kx
