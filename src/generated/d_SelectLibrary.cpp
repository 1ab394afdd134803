// The library selection: which boxes of the kit the school library shows.
#include "generated/d_SelectLibrary.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
constexpr const char* kSection = "D_SELECTLIBRARY";
QString Text(int key, const char* german) {
    return QString::fromStdString(Language().GetText(kSection, key, german));
}
}  // namespace

bool WriteUserBibFromSettings(QWidget* parent) {
    Stack().Push("WriteUserBibFromSettings");
    TkxParam& param = Param();
    TLPEBox::StoreSwitches(param, TLPEBox::ReadSwitches(param));
    const TPartFiles files;
    std::string error;
    if (TLPEBox::WriteUserBib(param, LoadLPEBoxes(files), UserDataDir(), &error)) {
        return true;
    }
    QMessageBox::information(
        parent, QString::fromStdString(Language().GetText("MAINOBJ", 27, "Korvex Designer")),
        Text(7, "Die Einstellungen für die Bibliothek konnten nicht gespeichert werden"));
    return false;
}

TdlgSelectLibrary::TdlgSelectLibrary(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    Stack().Push("TdlgSelectLibrary.FormCreate");
    setObjectName(QStringLiteral("dlgSelectLibrary"));
    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblInfo);
    for (size_t b = 0; b < cbBox.size(); ++b) {
        cbBox[b] = new QCheckBox(this);
        cbBox[b]->setObjectName(QStringLiteral("cbBox%1").arg(b + 1));
        layout->addWidget(cbBox[b]);
    }
    lblHint = new QLabel(this);
    lblHint->setObjectName(QStringLiteral("lblHint"));
    lblHint->setWordWrap(true);
    layout->addWidget(lblHint);
    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &TdlgSelectLibrary::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    ApplyFormStyle(this);
    DoLanguage();
    hide();
}

void TdlgSelectLibrary::DoLanguage() {
    setWindowTitle(Text(1, "Bibliothek auswählen"));
    lblInfo->setText(Text(2, "Die Schulbibliothek zeigt die Bauteile dieser Kästen:"));
    lblHint->setText(
        Text(8, "Ist kein Kasten gewählt, zeigt die Schulbibliothek den ersten Kasten."));
    btnOK->setText(Text(5, "OK"));
    btnCancel->setText(Text(6, "Abbrechen"));
    for (size_t b = 0; b < cbBox.size(); ++b) {
        const TLPEBoxDef& box = m_boxes[b];
        QString name = QString::fromStdString(box.Name);
        if (name.isEmpty()) {
            name = Text(4, "Kasten %1").arg(b + 1);
        }
        cbBox[b]->setText(name + QStringLiteral(" (") +
                          Text(3, "%1 Bauteile").arg(box.Parts.size()) + QLatin1Char(')'));
    }
}

void TdlgSelectLibrary::ShowWindow() {
    FormShow();
    show();
    raise();
    activateWindow();
}

void TdlgSelectLibrary::FormShow() {
    Stack().Push("TdlgSelectLibrary.FormShow");
    // The kit may have been updated since the last time: the box file is read afresh.
    m_boxes = LoadLPEBoxes(TPartFiles());
    const TLPEBoxSwitches on = TLPEBox::ReadSwitches(Param());
    for (size_t b = 0; b < cbBox.size(); ++b) {
        cbBox[b]->setChecked(on[b]);
    }
    DoLanguage();
    adjustSize();
}

void TdlgSelectLibrary::btnOKClick() {
    Stack().Push("TdlgSelectLibrary.btnOKClick");
    TLPEBoxSwitches on{};
    for (size_t b = 0; b < cbBox.size(); ++b) {
        on[b] = cbBox[b]->isChecked();
    }
    TLPEBox::StoreSwitches(Param(), on);
    // The window stays open when the file could not be written, so the user can try again.
    if (WriteUserBibFromSettings(this)) {
        accept();
    }
}

}  // namespace kx

#include "moc_d_SelectLibrary.cpp"
