// The library selection: which boxes of the kit the school library shows. A tool window made
// hidden at start; confirming it stores the box settings and rewrites userbib.ini.
#pragma once

#include <QDialog>
#include <array>

#include "generated/u_LPEBox.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace kx {

/// Rewrites userbib.ini from the box settings as they are stored (all four off switches box 1
/// on first); tells the user when the file cannot be written. The options dialog's OK and the
/// library selection both end here.
bool WriteUserBibFromSettings(QWidget* parent);

class TdlgSelectLibrary : public QDialog {
    Q_OBJECT
public:
    explicit TdlgSelectLibrary(QWidget* parent = nullptr);

    /// Shows the window with the boxes as they are stored now.
    void ShowWindow();
    /// Texts from the language table.
    void DoLanguage();

    /// The boxes as the window shows them (names and parts from the kit's box file).
    const TLPEBoxes& Boxes() const { return m_boxes; }

    QLabel* lblInfo = nullptr;
    std::array<QCheckBox*, kLPEBoxCount> cbBox{};
    QLabel* lblHint = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void FormShow();
    void btnOKClick();

    TLPEBoxes m_boxes;
};

}  // namespace kx
