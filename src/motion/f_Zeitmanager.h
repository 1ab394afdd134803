// "Zeit-Manager": every part's keys on a time line each; keys are dragged to other frames and
// the moves applied with btnBack, or removed at once with "Key entfernen".
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "motion/u_zeitmanager.h"

class QMenu;
class QScrollBar;
class QToolButton;
class QVBoxLayout;

namespace kx {

class TKeyEdit;
class TPartFiles;
class TkxMain;

class TDlgZeitManager : public QDialog {
    Q_OBJECT
public:
    /// position: the time slider's frame; length: its maximum (the scroll bar's range).
    TDlgZeitManager(TkxMain& model, const TPartFiles& files, int position, int length,
                    QWidget* parent = nullptr);
    ~TDlgZeitManager() override;

    TZeitManager& Manager() { return *m_manager; }
    const std::vector<TKeyEdit*>& Rows() const { return m_rows; }
    QToolButton* BackButton() const { return btnBack; }
    QToolButton* ZoomInButton() const { return btnZoomIn; }
    QToolButton* ZoomOutButton() const { return btnZoomOut; }
    QScrollBar* ScrollBar() const { return m_scroll; }
    QMenu* Popup() const { return m_popup; }
    /// "Key entfernen" on a row, as its popup entry does.
    void RemoveKey(TKeyEdit& row);

private:
    void RepaintRows();

    std::unique_ptr<TZeitManager> m_manager;
    std::vector<TKeyEdit*> m_rows;
    QToolButton* btnBack;
    QToolButton* btnZoomIn;
    QToolButton* btnZoomOut;
    QScrollBar* m_scroll;
    QMenu* m_popup;
    TKeyEdit* m_popupRow = nullptr;
};

}  // namespace kx
