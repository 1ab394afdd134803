// The library search window: number or name, one hit per search, stays on top.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kx {

class TPartLibrary;

class TdlgSearch : public QDialog {
    Q_OBJECT
public:
    explicit TdlgSearch(TPartLibrary& library, QWidget* parent = nullptr);

    /// Shows the window with the focus in the number field (the "Suchen" command).
    void ShowSearch();
    /// Searches for the next entry (the "Suchen" button and Enter in either field).
    void Search();
    /// Renews the texts from the language table.
    void DoLanguage();

    QLineEdit* eNr;
    QLineEdit* eName;
    QPushButton* btnSearch;
    QPushButton* btnClose;

private:
    TPartLibrary& m_library;
    QLabel* lblNr;
    QLabel* lblName;
};

}  // namespace kx
