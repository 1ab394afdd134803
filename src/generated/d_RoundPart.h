// The rounding dialog: the limit for rounding one part's normals.
#pragma once

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace kx {

class TdlgRoundPart : public QDialog {
    Q_OBJECT
public:
    explicit TdlgRoundPart(QWidget* parent = nullptr);

    /// The entry read as a decimal (comma or point); the default limit when it is no number.
    double Limit() const;
    /// Shows the dialog; the limit on OK, nothing when cancelled.
    static std::optional<double> Execute(QWidget* parent);

    QLabel* lblWinkel = nullptr;
    QComboBox* cbWinkel = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};

}  // namespace kx
