// The model-information window: model name, original, builder, category and description.
#include "app/f_ModellInfo.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/helpsystem.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"

namespace kx {

namespace {
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_MODELLINFO", key, def));
}
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
}  // namespace

TFormModellInformation::TFormModellInformation(const TModelInformation& info, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("FormModellInformation"));
    setWindowTitle(Text(1, "Modell-Information"));
    const std::string* values[] = {&info.InfModell, &info.InfOriginal, &info.InfGebaut,
                                   &info.InfKategorie};
    auto* form = new QFormLayout;
    const int keys[] = {2, 3, 4, 7};
    const char* labels[] = {"Modell", "Original", "gebaut von", "Kategorie"};
    for (int i = 0; i < 4; ++i) {
        m_fields[i] = new QLineEdit(Q(*values[i]), this);
        form->addRow(Text(keys[i], labels[i]), m_fields[i]);
    }
    m_description = new QPlainTextEdit(this);
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QStringList lines;
    for (const auto& line : info.Description) {
        lines << Q(line);
    }
    m_description->setPlainText(lines.join(QLatin1Char('\n')));
    form->addRow(Text(8, "Beschreibung"), m_description);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(Text(5, "OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(6, "Abbrechen"), QDialogButtonBox::RejectRole);
    buttons->addButton(QStringLiteral("?"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { ShowHelp(this, kHelpContext); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    ApplyFormStyle(this);
    SetHelpContext(this, kHelpContext);
    resize(460, 360);
}

QLineEdit* TFormModellInformation::Field(int index) const {
    return index >= 0 && index < 4 ? m_fields[index] : nullptr;
}

TModelInformation TFormModellInformation::Information() const {
    TModelInformation info;
    info.InfModell = m_fields[0]->text().toStdString();
    info.InfOriginal = m_fields[1]->text().toStdString();
    info.InfGebaut = m_fields[2]->text().toStdString();
    info.InfKategorie = m_fields[3]->text().toStdString();
    const QString text = m_description->toPlainText();
    if (!text.isEmpty()) {
        // A model file holds one description line per key; no line may carry a break.
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            info.Description.push_back(line.toStdString());
        }
    }
    return info;
}

}  // namespace kx

#include "moc_f_ModellInfo.cpp"
