// "Animations-Optionen": the length of the animation in frames.
#pragma once

#include <QDialog>

class QLineEdit;

namespace kx {

class TDlgAniOpt : public QDialog {
    Q_OBJECT
public:
    /// length: the time slider's current maximum.
    explicit TDlgAniOpt(int length, QWidget* parent = nullptr);

    /// The length typed; 100 when it is not a whole number, and at least 1.
    int Length() const;
    QLineEdit* LengthEdit() const { return eLength; }

private:
    QLineEdit* eLength;
};

}  // namespace kx
