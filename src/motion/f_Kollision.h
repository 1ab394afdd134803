// "Kollisions-Parameter": when a collision rule fires, at what distance, and what it does.
#pragma once

#include <QDialog>

#include "motion/u_kineedit.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace kx {

class TFormKollision : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 4101;

    explicit TFormKollision(const TCollisionForm& form, QWidget* parent = nullptr);

    /// The rule as set; an Abstand that is no number gives an empty value.
    TCollisionForm Form() const;
    QRadioButton* OnContact() const { return rbAktiv; }
    QRadioButton* WithoutContact() const { return RadioButton2; }
    QLineEdit* DistanceEdit() const { return eAbstand; }
    QComboBox* ActionCombo() const { return cbAktion; }
    QComboBox* MotorCombo() const { return cbMotor; }
    QLineEdit* NameEdit() const { return eName; }

private:
    /// The motor list serves actions on a motor, the name the rule that only reports.
    void ActionChanged();

    QRadioButton* rbAktiv;
    QRadioButton* RadioButton2;
    QLineEdit* eAbstand;
    QComboBox* cbAktion;
    QComboBox* cbMotor;
    QLineEdit* eName;
};

}  // namespace kx
