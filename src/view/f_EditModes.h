// The edit-mode buttons of the main window (select, rotate, visible, colour), the selection
// mode menu on the select button, group mode, and the colour palette popColors.
#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>

#include "view/u_viewer.h"

class QButtonGroup;
class QHBoxLayout;
class QMenu;
class QTimer;
class QToolButton;

namespace kx {

/// Windows colour values of the palette items mFarbe1 ... mFarbe8.
inline constexpr uint32_t kPaletteColors[8] = {0x0000FF, 0xC0C0C0, 0x505050, 0x00FFFF,
                                               0xFFFFFF, 0x008000, 0xFF0000, 0xFAFAFA};

/// The custom colours of the colour dialog to and from the setting CUSTOMCOLORS
/// ("ColorA=FFFFFF" ..., colour values in hexadecimal).
void LoadCustomColors();
void StoreCustomColors();

class TEditModeBar : public QWidget {
    Q_OBJECT
public:
    explicit TEditModeBar(QWidget* parent = nullptr);

    TEditMode Mode() const { return m_mode; }
    void SetMode(TEditMode mode);
    bool MultiSelection() const { return m_multiSelection; }
    void SetMultiSelection(bool on);
    uint32_t ActiveColor() const { return m_activeColor; }
    /// `SetActiveColor`.
    void SetActiveColor(uint32_t colour);
    bool GroupMode() const;

    /// The view whose cursor follows the mode (select: arrow, rotate: size-all, visible and
    /// colour: cross).
    void SetViewWidget(QWidget* view);
    /// Keeps a view handler's modes, selection mode and active colour in step.
    void Follow(TViewerInteraction* viewer);

    /// The free colour choice (mFarbeFrei): the colour dialog with the stored custom colours.
    void ChooseFreeColor();
    /// The menus opened by holding the buttons.
    QMenu* SelectionMenu() const { return m_selectionMenu; }
    QMenu* ColorMenu() const { return popColors; }
    /// Renews the texts from the language table.
    void DoLanguage();
    /// Puts a button of the window between the mode buttons and the group mode button.
    void AddBeforeGroupMode(QWidget* widget);

    QToolButton* btnModeSelect;
    QToolButton* btnModeRot;
    QToolButton* btnVisible;
    QToolButton* btnColor;
    QToolButton* btnGroupMode;

signals:
    void ModeChanged(kx::TEditMode mode);
    void MultiSelectionChanged(bool on);
    void ActiveColorChanged(uint32_t colour);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* ModeButton(const char* name, TEditMode mode);
    void ApplyCursor();
    void OpenHoldMenu();

    QHBoxLayout* m_layout;
    QButtonGroup* m_group;
    QMenu* m_selectionMenu;
    QMenu* popColors;
    QTimer* m_holdTimer;
    QToolButton* m_held = nullptr;
    QPoint m_holdPos;
    QWidget* m_view = nullptr;
    TViewerInteraction* m_viewer = nullptr;
    TEditMode m_mode = TEditMode::Select;
    bool m_multiSelection = false;
    uint32_t m_activeColor = 255;
};

}  // namespace kx
