// The visible-phases window: one check box per build phase, and the model's phase windows.
#include "model/f_Bauphasen.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/helpsystem.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/d_SelectStage.h"

namespace kx {

namespace {
QString Text(int key, const char* german) {
    return QString::fromStdString(Language().GetText("F_BAUPHASEN", key, german));
}
}  // namespace

TFormBauphasen::TFormBauphasen(const std::vector<bool>& visible, QWidget* parent)
    : QDialog(parent) {
    Stack().Push("TFormBauphasen.FormCreate", static_cast<int>(visible.size()));
    setObjectName(QStringLiteral("FormBauphasen"));
    setWindowTitle(Text(1, "Bauphasen ein/ausblenden"));

    clbPhases = new QListWidget(this);
    clbPhases->setObjectName(QStringLiteral("clbPhases"));
    const QString label =
        QString::fromStdString(Language().GetText("MAINOBJ", 3, "Bauphase")) + QLatin1Char(' ');
    for (size_t i = 0; i < visible.size(); ++i) {
        auto* item = new QListWidgetItem(label + QString::number(i + 1), clbPhases);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(visible[i] ? Qt::Checked : Qt::Unchecked);
    }

    btnAll = new QPushButton(Text(2, "Alle"), this);
    btnAll->setObjectName(QStringLiteral("btnAll"));
    btnNone = new QPushButton(Text(3, "Keinen"), this);
    btnNone->setObjectName(QStringLiteral("btnNone"));
    btnInvert = new QPushButton(Text(4, "Umkehren"), this);
    btnInvert->setObjectName(QStringLiteral("btnInvert"));
    btnHelp = new QPushButton(QStringLiteral("?"), this);
    btnHelp->setObjectName(QStringLiteral("btnHelp"));
    btnOK = new QPushButton(Text(5, "OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(Text(6, "Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* side = new QVBoxLayout;
    side->addWidget(btnAll);
    side->addWidget(btnNone);
    side->addWidget(btnInvert);
    side->addStretch();
    side->addWidget(btnHelp);
    auto* top = new QHBoxLayout;
    top->addWidget(clbPhases, 1);
    top->addLayout(side);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnOK);
    bottom->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    resize(300, 320);

    connect(btnAll, &QPushButton::clicked, this, [this] { SetAll(true); });
    connect(btnNone, &QPushButton::clicked, this, [this] { SetAll(false); });
    connect(btnInvert, &QPushButton::clicked, this, &TFormBauphasen::btnInvertClick);
    connect(btnHelp, &QPushButton::clicked, this, [this] { emit HelpRequested(kHelpContext); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    ApplyFormStyle(this);
}

std::vector<bool> TFormBauphasen::States() const {
    std::vector<bool> states(static_cast<size_t>(clbPhases->count()));
    for (int i = 0; i < clbPhases->count(); ++i) {
        states[static_cast<size_t>(i)] = clbPhases->item(i)->checkState() == Qt::Checked;
    }
    return states;
}

void TFormBauphasen::SetAll(bool checked) {
    for (int i = 0; i < clbPhases->count(); ++i) {
        clbPhases->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
}

void TFormBauphasen::btnInvertClick() {
    for (int i = 0; i < clbPhases->count(); ++i) {
        QListWidgetItem* item = clbPhases->item(i);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
}

int TPhaseWindowsQt::SelectStage(int count) {
    return TdlgSelectStage::Execute(count, m_parent);
}

bool TPhaseWindowsQt::ChooseVisiblePhases(std::vector<bool>& visible) {
    TFormBauphasen form(visible, m_parent);
    QObject::connect(&form, &TFormBauphasen::HelpRequested, &form, [this, &form](int context) {
        if (OnHelp) {
            OnHelp(context);
        } else {
            ShowHelp(&form, context);
        }
    });
    if (form.exec() != QDialog::Accepted) {
        return false;
    }
    visible = form.States();
    return true;
}

}  // namespace kx

#include "moc_f_Bauphasen.cpp"
