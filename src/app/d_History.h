// The change history "Änderungsmitteilungen": what changed from version to version, from the
// CHANGES file shipped with the program.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace kx {

class TdlgHistory : public QDialog {
    Q_OBJECT
public:
    /// Shows the text of `file`; a file that cannot be read shows a line saying so.
    explicit TdlgHistory(const QString& file, QWidget* parent = nullptr);

    /// The history file of the current language: CHANGES.en for any language but German, when
    /// there is one, else CHANGES, in the program's data folder.
    static QString HistoryFile();

    QPlainTextEdit* HistoryText() const { return m_text; }

private:
    QPlainTextEdit* m_text;
};

}  // namespace kx
