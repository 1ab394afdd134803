// The count dialog of the collection: unlimited, or a limited count with plus and minus.
#include "catalogue/d_AddCollection.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "app/u_formstyle.h"
#include "catalogue/u_snapview.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {
QString T(int key, const char* def) {
    return QString::fromStdString(Language().GetText("D_ADDCOLLECTION", key, def));
}
}  // namespace

TdlgAddCollection::TdlgAddCollection(int32_t initial, QWidget* parent) : QDialog(parent) {
    Stack().Push("TdlgAddCollection.FormCreate", initial);
    setWindowTitle(T(1, "Sammlung"));
    lblCount = new QLabel(T(2, "Anzahl der Bauteile:"), this);
    rbUnlimited = new QRadioButton(T(3, "ohne Limit"), this);
    rbLimited = new QRadioButton(T(4, "Limitiert"), this);
    eCount = new QLineEdit(QStringLiteral("1"), this);
    eCount->setObjectName(QStringLiteral("eCount"));
    // Digits only; five of them, so a limited count never reads as the unlimited one.
    eCount->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), eCount));
    eCount->setMaxLength(5);
    btnPlus = new QPushButton(QStringLiteral("+"), this);
    btnMinus = new QPushButton(QStringLiteral("-"), this);
    btnOK = new QPushButton(T(5, "OK"), this);
    btnCancel = new QPushButton(T(6, "Abbrechen"), this);
    btnOK->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(lblCount, 0, 0, 1, 4);
    grid->addWidget(rbUnlimited, 1, 0, 1, 4);
    grid->addWidget(rbLimited, 2, 0);
    grid->addWidget(eCount, 2, 1);
    grid->addWidget(btnMinus, 2, 2);
    grid->addWidget(btnPlus, 2, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    ApplyFormStyle(this);

    auto enable = [this] {
        const bool limited = rbLimited->isChecked();
        eCount->setEnabled(limited);
        btnPlus->setEnabled(limited);
        btnMinus->setEnabled(limited);
    };
    connect(rbLimited, &QRadioButton::toggled, this, enable);
    connect(btnPlus, &QPushButton::clicked, this,
            [this] { eCount->setText(QString::number(std::min(FieldValue() + 1, 99999))); });
    connect(btnMinus, &QPushButton::clicked, this,
            [this] { eCount->setText(QString::number(std::max(1, FieldValue() - 1))); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    if (initial >= UnlimitedCount) {
        rbUnlimited->setChecked(true);
    } else {
        rbLimited->setChecked(true);
        eCount->setText(QString::number(std::max(0, initial)));
    }
    enable();
}

int32_t TdlgAddCollection::FieldValue() const {
    return StrToIntDef(eCount->text().toStdString(), 1);
}

int32_t TdlgAddCollection::Count() const {
    return rbUnlimited->isChecked() ? UnlimitedCount : FieldValue();
}

std::optional<int32_t> TdlgAddCollection::Ask(int32_t initial, QWidget* parent) {
    TdlgAddCollection dlg(initial, parent);
    if (dlg.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dlg.Count();
}

}  // namespace kx
