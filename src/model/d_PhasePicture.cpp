// "Bauteile einer Bauphase zeichnen": how the picture of a phase's parts is drawn.
#include "model/d_PhasePicture.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"

namespace kx {

namespace {
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("D_PHASEPICTURE", key, def));
}
}  // namespace

TdlgPhasePicture::TdlgPhasePicture(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgPhasePicture"));
    setWindowTitle(Text(1, "Bauteile einer Bauphase zeichnen"));
    lblPerRow = new QLabel(Text(2, "Bauteile pro Zeile:"), this);
    ePerRow = new QLineEdit(QStringLiteral("4"), this);
    ePerRow->setObjectName(QStringLiteral("ePerRow"));
    ePerRow->setMaximumWidth(60);
    cbFrame = new QCheckBox(Text(3, "Rahmen zeichnen"), this);
    cbFrame->setObjectName(QStringLiteral("cbFrame"));
    cbFrame->setChecked(true);
    cbCounts = new QCheckBox(Text(4, "Anzahl der Bauteile zeichnen"), this);
    cbCounts->setObjectName(QStringLiteral("cbCounts"));
    cbCounts->setChecked(true);
    cbQuality = new QCheckBox(Text(5, "Hohe Qualität"), this);
    cbQuality->setObjectName(QStringLiteral("cbQuality"));
    btnOK = new QPushButton(Text(6, "OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);  // Enter confirms
    btnCancel = new QPushButton(Text(7, "Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* row = new QHBoxLayout;
    row->addWidget(lblPerRow);
    row->addWidget(ePerRow);
    row->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(cbFrame);
    layout->addWidget(cbCounts);
    layout->addWidget(cbQuality);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    ApplyFormStyle(this);
    setFixedSize(sizeHint());
}

TPhasePictureOptions TdlgPhasePicture::Options() const {
    TPhasePictureOptions options;
    options.PerRow = PartsPerRowFromText(ePerRow->text().trimmed().toStdString());
    options.Frame = cbFrame->isChecked();
    options.Counts = cbCounts->isChecked();
    options.HighQuality = cbQuality->isChecked();
    return options;
}

}  // namespace kx

#include "moc_d_PhasePicture.cpp"
