// "Kollisions-Parameter": trigger, threshold and action of a collision rule.
#include "motion/f_Kollision.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "motion/kinewidgets.h"
#include "motion/u_kinedata.h"

namespace kx {

namespace {

QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_KOLLISION", key, def));
}

}  // namespace

TFormKollision::TFormKollision(const TCollisionForm& form, QWidget* parent)
    : QDialog(parent, Qt::Tool),
      rbAktiv(new QRadioButton(Text(4, "Auslösung bei Berührung"), this)),
      RadioButton2(new QRadioButton(Text(5, "Auslösung ohne Berührung"), this)),
      eAbstand(new QLineEdit(this)),
      cbAktion(new QComboBox(this)),
      cbMotor(new QComboBox(this)),
      eName(new QLineEdit(this)) {
    setObjectName(QStringLiteral("FormKollision"));
    setWindowTitle(Text(1, "Kollisions-Parameter"));
    rbAktiv->setObjectName(QStringLiteral("rbAktiv"));
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    (form.Active ? rbAktiv : RadioButton2)->setChecked(true);

    eAbstand->setObjectName(QStringLiteral("eAbstand"));
    // The threshold reads back what it shows, thousands separators included.
    eAbstand->setText(FormatUserNumber(form.Abstand.value_or(8.0)));

    cbAktion->setObjectName(QStringLiteral("cbAktion"));
    const char* const actions[kCollisionActionCount] = {
        "Motor Stop", "Motor Linkslauf", "Motor Rechtslauf", "Motor umkehren", "Logik-Manager"};
    for (int i = 0; i < kCollisionActionCount; ++i) {
        cbAktion->addItem(Text(10 + i, actions[i]));
    }
    cbAktion->setCurrentIndex(form.Aktion >= 0 && form.Aktion < kCollisionActionCount ? form.Aktion
                                                                                      : 0);
    cbMotor->setObjectName(QStringLiteral("cbMotor"));
    for (int n = 1; n <= kMotorCount; ++n) {
        const std::string item = "Motor " + std::to_string(n);
        cbMotor->addItem(Text(14 + n, item.c_str()));
    }
    cbMotor->setCurrentIndex(form.MotorIndex >= 0 && form.MotorIndex < kMotorCount ? form.MotorIndex
                                                                                   : 0);
    eName->setObjectName(QStringLiteral("eName"));
    eName->setText(QString::fromStdString(form.Name));

    auto* trigger = new QGroupBox(this);
    auto* triggerLayout = new QVBoxLayout(trigger);
    triggerLayout->addWidget(rbAktiv);
    triggerLayout->addWidget(RadioButton2);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(Text(6, "Abstand"), this), 0, 0);
    auto* distance = new QHBoxLayout;
    distance->addWidget(eAbstand);
    distance->addWidget(new QLabel(QStringLiteral("mm"), this));
    grid->addLayout(distance, 0, 1);
    grid->addWidget(new QLabel(Text(7, "Aktion"), this), 1, 0);
    grid->addWidget(cbAktion, 1, 1);
    grid->addWidget(new QLabel(Text(8, "Motor"), this), 2, 0);
    grid->addWidget(cbMotor, 2, 1);
    grid->addWidget(new QLabel(Text(9, "Name"), this), 3, 0);
    grid->addWidget(eName, 3, 1);

    auto* ok = new QPushButton(Text(2, "OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(Text(3, "Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(HelpButton(this, kHelpContext));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(trigger);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    ApplyFormStyle(this);

    connect(cbAktion, &QComboBox::currentIndexChanged, this, [this] { ActionChanged(); });
    ActionChanged();

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = rect();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TFormKollision::ActionChanged() {
    cbMotor->setEnabled(cbAktion->currentIndex() != kCollisionReportOnly);
    eName->setEnabled(!cbMotor->isEnabled());
}

TCollisionForm TFormKollision::Form() const {
    TCollisionForm form;
    form.Active = rbAktiv->isChecked();
    form.Abstand = ParseUserNumber(eAbstand->text());
    form.Aktion = cbAktion->currentIndex();
    form.MotorIndex = cbMotor->currentIndex();
    form.Name = eName->text().toStdString();
    return form;
}

}  // namespace kx

#include "moc_f_Kollision.cpp"
