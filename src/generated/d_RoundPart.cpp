// The rounding dialog: the limit for rounding one part's normals.
#include "generated/d_RoundPart.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "generated/u_rounding.h"

namespace kx {

namespace {
QString Text(int key, const char* german) {
    return QString::fromStdString(Language().GetText("D_ROUNDPART", key, german));
}
}  // namespace

TdlgRoundPart::TdlgRoundPart(QWidget* parent) : QDialog(parent) {
    Stack().Push("TdlgRoundPart.FormCreate");
    setObjectName(QStringLiteral("dlgRoundPart"));
    setWindowTitle(Text(1, "Bauteil runden"));
    lblWinkel = new QLabel(Text(2, "Winkel"), this);
    lblWinkel->setObjectName(QStringLiteral("lblWinkel"));
    cbWinkel = new QComboBox(this);
    cbWinkel->setObjectName(QStringLiteral("cbWinkel"));
    cbWinkel->setEditable(true);
    cbWinkel->addItems({QStringLiteral("0,80"), QStringLiteral("0,85"), QStringLiteral("0,90"),
                        QStringLiteral("0,95")});
    cbWinkel->setCurrentText(QStringLiteral("0,80"));
    lblWinkel->setBuddy(cbWinkel);
    btnOK = new QPushButton(Text(3, "OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(Text(4, "Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* row = new QHBoxLayout;
    row->addWidget(lblWinkel);
    row->addWidget(cbWinkel, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    ApplyFormStyle(this);
}

double TdlgRoundPart::Limit() const {
    const std::string text = Trim(cbWinkel->currentText().toStdString());
    if (const auto value = ParseFloat(text, ',')) {
        return *value;
    }
    return ParseFloat(text, '.').value_or(kDefaultRoundingLimit);
}

std::optional<double> TdlgRoundPart::Execute(QWidget* parent) {
    TdlgRoundPart dialog(parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Limit();
}

}  // namespace kx

#include "moc_d_RoundPart.cpp"
