// The picture-size dialog: a fixed size from the list, or one typed in by hand.
#include "view/d_Bildgroesse.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_text.h"

namespace kx {

namespace {
const QSize kSizes[] = {{160, 120}, {320, 240}, {640, 480}, {800, 600}, {1024, 768}, {1280, 1024}};
constexpr int kManual = 6;

QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("D_BILDGROESSE", key, def));
}

int ReadPositive(const QString& text, int def) {
    const auto value = ParseInt(text.trimmed().toStdString());
    return value && *value > 0 ? *value : def;
}
}  // namespace

TdlgBildgroesse::TdlgBildgroesse(QSize current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgBildgroesse"));
    setWindowTitle(QString::fromStdString(Language().GetText("MAIN2", 5, "Bildgröße wählen")));
    m_list = new QListWidget(this);
    for (const QSize& s : kSizes) {
        m_list->addItem(QStringLiteral("%1x%2").arg(s.width()).arg(s.height()));
    }
    m_list->addItem(Text(1, "Manuell"));
    m_list->setCurrentRow(kManual);
    m_width = new QLineEdit(QString::number(current.width()), this);
    m_height = new QLineEdit(QString::number(current.height()), this);
    auto* fields = new QFormLayout;
    fields->addRow(Text(2, "Breite"), m_width);
    fields->addRow(Text(3, "Höhe"), m_height);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        m_width->setEnabled(row == kManual);
        m_height->setEnabled(row == kManual);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    ApplyFormStyle(this);
}

QSize TdlgBildgroesse::ChosenSize() const {
    const int row = m_list->currentRow();
    if (row >= 0 && row < kManual) {
        return kSizes[row];
    }
    return {ReadPositive(m_width->text(), 800), ReadPositive(m_height->text(), 600)};
}

}  // namespace kx

#include "moc_d_Bildgroesse.cpp"
