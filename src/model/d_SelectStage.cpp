// The stage chooser: picks one build phase from a numbered list.
#include "model/d_SelectStage.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
QString Text(int key, const char* german) {
    return QString::fromStdString(Language().GetText("D_SELECTSTAGE", key, german));
}
}  // namespace

TdlgSelectStage::TdlgSelectStage(int count, QWidget* parent) : QDialog(parent) {
    Stack().Push("TdlgSelectStage.FormCreate", count);
    setObjectName(QStringLiteral("dlgSelectStage"));
    setWindowTitle(Text(1, "Bauphase wählen"));

    lbStages = new QListWidget(this);
    lbStages->setObjectName(QStringLiteral("lbStages"));
    const QString phase = Text(2, "Phase");
    for (int i = 1; i <= count; ++i) {
        lbStages->addItem(QString::number(i) + QStringLiteral(". ") + phase);
    }
    if (lbStages->count() > 0) {
        lbStages->setCurrentRow(0);
    }

    btnOK = new QPushButton(Text(3, "OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(Text(4, "Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbStages);
    layout->addLayout(buttons);
    resize(220, 260);

    connect(btnOK, &QPushButton::clicked, this, &TdlgSelectStage::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lbStages, &QListWidget::itemDoubleClicked, this, &TdlgSelectStage::btnOKClick);
    ApplyFormStyle(this);
}

void TdlgSelectStage::btnOKClick() {
    const int row = lbStages->currentRow();
    m_result = row >= 0 ? row + 1 : 0;
    accept();
}

int TdlgSelectStage::Execute(int count, QWidget* parent) {
    TdlgSelectStage dlg(count, parent);
    return dlg.exec() == QDialog::Accepted ? dlg.Result() : 0;
}

}  // namespace kx

#include "moc_d_SelectStage.cpp"
