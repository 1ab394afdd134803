// The visible-phases window: one check box per build phase, and the model's phase windows.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "model/u_bauphasen.h"

class QListWidget;
class QPushButton;

namespace kx {

class TFormBauphasen : public QDialog {
    Q_OBJECT
public:
    /// Help topic of the "?" button.
    static constexpr int kHelpContext = 4031;

    /// visible[i] is the check state of phase i + 1.
    explicit TFormBauphasen(const std::vector<bool>& visible, QWidget* parent = nullptr);

    /// The check states, phase 1 first.
    std::vector<bool> States() const;

    QListWidget* Phases() const { return clbPhases; }
    QPushButton* AllButton() const { return btnAll; }
    QPushButton* NoneButton() const { return btnNone; }
    QPushButton* InvertButton() const { return btnInvert; }
    QPushButton* HelpButton() const { return btnHelp; }
    QPushButton* OkButton() const { return btnOK; }
    QPushButton* CancelButton() const { return btnCancel; }

signals:
    void HelpRequested(int context);

private:
    void SetAll(bool checked);
    void btnInvertClick();

    QListWidget* clbPhases = nullptr;
    QPushButton* btnAll = nullptr;
    QPushButton* btnNone = nullptr;
    QPushButton* btnInvert = nullptr;
    QPushButton* btnHelp = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};

/// The model's phase windows as modal dialogs over a parent window.
class TPhaseWindowsQt : public TPhaseWindows {
public:
    explicit TPhaseWindowsQt(QWidget* parent = nullptr) : m_parent(parent) {}

    int SelectStage(int count) override;
    bool ChooseVisiblePhases(std::vector<bool>& visible) override;

    /// Opens a help topic by context number ("?" of the visible-phases window).
    std::function<void(int)> OnHelp;

private:
    QWidget* m_parent;
};

}  // namespace kx
