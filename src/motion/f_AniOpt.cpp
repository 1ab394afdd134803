// "Animations-Optionen": the length of the animation in frames.
#include "motion/f_AniOpt.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/helpsystem.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_text.h"

namespace kx {

namespace {
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_ANIOPT", key, def));
}
}  // namespace

TDlgAniOpt::TDlgAniOpt(int length, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgAniOpt"));
    setWindowTitle(Text(1, "Animations-Optionen"));
    eLength = new QLineEdit(QString::number(length), this);
    eLength->setObjectName(QStringLiteral("eLength"));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(Text(2, "Länge"), this));
    row->addWidget(eLength);
    row->addWidget(new QLabel(Text(3, "Bilder"), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(Text(4, "OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(Text(5, "Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    ApplyFormStyle(this);
    SetHelpContext(this, 4061);
}

int TDlgAniOpt::Length() const {
    const auto value = ParseInt(eLength->text().trimmed().toStdString());
    return value ? std::max(1, int(*value)) : 100;
}

}  // namespace kx

#include "moc_f_AniOpt.cpp"
