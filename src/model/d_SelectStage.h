// The stage chooser: picks one build phase from a numbered list.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace kx {

class TdlgSelectStage : public QDialog {
    Q_OBJECT
public:
    /// Lines 1..count ("1. Phase" ...), the first one chosen.
    explicit TdlgSelectStage(int count, QWidget* parent = nullptr);

    /// The chosen line (1-based) after OK, 0 otherwise.
    int Result() const { return m_result; }
    /// Opens the chooser modally: the chosen line, or 0 when cancelled.
    static int Execute(int count, QWidget* parent = nullptr);

    QListWidget* Stages() const { return lbStages; }
    QPushButton* OkButton() const { return btnOK; }
    QPushButton* CancelButton() const { return btnCancel; }

private:
    void btnOKClick();

    QListWidget* lbStages = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    int m_result = 0;
};

}  // namespace kx
