// "Bauteile einer Bauphase zeichnen": how the picture of a phase's parts is drawn.
#pragma once

#include <QDialog>

#include "model/u_partslist.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kx {

class TdlgPhasePicture : public QDialog {
    Q_OBJECT
public:
    explicit TdlgPhasePicture(QWidget* parent = nullptr);

    /// The choices; an unreadable number of parts per row counts as 4.
    TPhasePictureOptions Options() const;

    QLineEdit* PerRowField() const { return ePerRow; }
    QCheckBox* FrameBox() const { return cbFrame; }
    QCheckBox* CountsBox() const { return cbCounts; }
    QCheckBox* QualityBox() const { return cbQuality; }

private:
    QLabel* lblPerRow;
    QLineEdit* ePerRow;
    QCheckBox* cbFrame;
    QCheckBox* cbCounts;
    QCheckBox* cbQuality;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

}  // namespace kx
