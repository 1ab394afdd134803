// The count dialog of the collection: unlimited, or a limited count with plus and minus.
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kx {

class TdlgAddCollection : public QDialog {
    Q_OBJECT
public:
    /// initial: the count shown; UnlimitedCount selects "ohne Limit".
    explicit TdlgAddCollection(int32_t initial = 1, QWidget* parent = nullptr);

    /// UnlimitedCount for "ohne Limit", else the field as an integer (1 if unreadable).
    int32_t Count() const;

    /// Shows the dialog modally; the count on OK, nothing if cancelled.
    static std::optional<int32_t> Ask(int32_t initial, QWidget* parent);

    QRadioButton* rbUnlimited;
    QRadioButton* rbLimited;
    QLineEdit* eCount;
    QPushButton* btnPlus;
    QPushButton* btnMinus;
    QPushButton* btnOK;
    QPushButton* btnCancel;

private:
    int32_t FieldValue() const;
    QLabel* lblCount;
};

}  // namespace kx
