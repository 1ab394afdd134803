// "Rotations/Translation": the advance per revolution of a rotation/translation link.
#include "motion/f_TransRot.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "motion/kinewidgets.h"

namespace kx {

namespace {

QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_TRANSROT", key, def));
}

}  // namespace

TFormTransRot::TFormTransRot(const TTransRotForm& form, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormTransRot"));
    setWindowTitle(Text(1, "Rotations/Translation"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(Text(4, "Vorschub bei 1 Umdrehung:"), this), 0, 0, 1, 3);
    const char* const names[] = {"eX", "eY", "eZ"};
    const char* const axes[] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        auto* picture = new QLabel(this);
        picture->setPixmap(AxisIcon(i, false).pixmap(20, 20));
        grid->addWidget(picture, i + 1, 0);
        grid->addWidget(new QLabel(QString::fromLatin1(axes[i]), this), i + 1, 1);
        const auto& value = form.Advance[static_cast<size_t>(i)];
        auto* edit = new QLineEdit(FormatUserNumber(value.value_or(0)), this);
        edit->setObjectName(QString::fromLatin1(names[i]));
        grid->addWidget(edit, i + 1, 2);
        grid->addWidget(new QLabel(QStringLiteral("mm"), this), i + 1, 3);
        m_edits[static_cast<size_t>(i)] = edit;
    }

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
    layout->addLayout(grid);
    layout->addLayout(buttons);
    ApplyFormStyle(this);
}

TTransRotForm TFormTransRot::Form() const {
    TTransRotForm form;
    for (size_t i = 0; i < 3; ++i) {
        form.Advance[i] = ParseUserNumber(m_edits[i]->text());
    }
    return form;
}

}  // namespace kx

#include "moc_f_TransRot.cpp"
