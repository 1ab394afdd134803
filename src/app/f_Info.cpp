// The information window: the program's version and credits.
#include "app/f_Info.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"

namespace kx {

namespace {
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_INFO", key, def));
}
}  // namespace

TFormInfo::TFormInfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("FormInfo"));
    setWindowTitle(Text(1, "Information"));
    auto* title = new QLabel(QStringLiteral("<h1>Korvex designer</h1>"), this);
    title->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("Version " KX_VERSION), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignCenter);
    auto* credit =
        new QLabel(Text(2, "Die Bauteile, Symbole und Bilder sind eigene Arbeiten."), this);
    credit->setAlignment(Qt::AlignCenter);
    credit->setWordWrap(true);
    auto* ok = new QPushButton(Text(3, "OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(credit);
    layout->addStretch();
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    ApplyFormStyle(this);
    setFixedSize(480, 320);
}

}  // namespace kx

#include "moc_f_Info.cpp"
