// The question before unsaved changes would be lost: save them, drop them, or go back.
#pragma once

#include <QDialog>

class QPushButton;

namespace kx {

enum class TSaveChoice { Save, Discard, Cancel };

class TdlgSaveChanges : public QDialog {
    Q_OBJECT
public:
    /// fileName: the model's file, empty for a model never saved.
    explicit TdlgSaveChanges(const QString& fileName, QWidget* parent = nullptr);
    QPushButton* SaveButton() const { return m_save; }
    QPushButton* DiscardButton() const { return m_discard; }
    QPushButton* CancelButton() const { return m_cancel; }
    TSaveChoice Choice() const { return m_choice; }

private:
    QPushButton* m_save;
    QPushButton* m_discard;
    QPushButton* m_cancel;
    TSaveChoice m_choice = TSaveChoice::Cancel;
};

/// Asks modally; closing the window any other way is Cancel.
TSaveChoice AskSaveChanges(const QString& fileName, QWidget* parent);

}  // namespace kx
