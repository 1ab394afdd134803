// The question before unsaved changes would be lost: save them, drop them, or go back.
#include "app/d_SaveChanges.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
constexpr const char* kSection = "D_SAVECHANGES";
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}
}  // namespace

TdlgSaveChanges::TdlgSaveChanges(const QString& fileName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("dlgSaveChanges"));
    setWindowTitle(Text(1, "Ungespeicherte Änderungen"));
    const QString name = fileName.isEmpty() ? Text(6, "Unbenannt") : QFileInfo(fileName).fileName();
    QString question = Text(2,
                            "Das Modell „%s“ wurde geändert. Möchten Sie die Änderungen "
                            "speichern?");
    question.replace(QStringLiteral("%s"), name);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    auto* label = new QLabel(question, this);
    label->setObjectName(QStringLiteral("lblText"));
    label->setWordWrap(true);
    auto* hint = new QLabel(Text(7, "Ohne Speichern gehen die Änderungen verloren."), this);
    hint->setWordWrap(true);

    m_save = new QPushButton(Text(3, "Speichern"), this);
    m_save->setObjectName(QStringLiteral("btnSave"));
    m_discard = new QPushButton(Text(4, "Nicht speichern"), this);
    m_discard->setObjectName(QStringLiteral("btnDiscard"));
    m_cancel = new QPushButton(Text(5, "Abbrechen"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_save->setDefault(true);
    connect(m_save, &QPushButton::clicked, this, [this] {
        m_choice = TSaveChoice::Save;
        accept();
    });
    connect(m_discard, &QPushButton::clicked, this, [this] {
        m_choice = TSaveChoice::Discard;
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* text = new QVBoxLayout;
    text->addWidget(label);
    text->addWidget(hint);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_discard);
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    ApplyFormStyle(this);
    setMinimumWidth(420);
}

TSaveChoice AskSaveChanges(const QString& fileName, QWidget* parent) {
    Stack().Push("AskSaveChanges", fileName.toStdString());
    TdlgSaveChanges dlg(fileName, parent);
    if (dlg.exec() != QDialog::Accepted) {
        return TSaveChoice::Cancel;
    }
    return dlg.Choice();
}

}  // namespace kx

#include "moc_d_SaveChanges.cpp"
