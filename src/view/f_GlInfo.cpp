// The graphics-information window: what the OpenGL implementation of the view reports.
#include "view/f_GlInfo.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"

namespace kx {

namespace {
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_GLINFO", key, def));
}

QWidget* Page(const std::vector<std::pair<QString, QString>>& rows, QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* form = new QFormLayout(page);
    for (const auto& [label, value] : rows) {
        auto* v = new QLabel(value, page);
        v->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, v);
    }
    return page;
}
}  // namespace

TFormGlInfo::TFormGlInfo(const TGlReport& report, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormGlInfo"));
    setWindowTitle(Text(1, "OpenGL implementation info"));
    auto* tabs = new QTabWidget(this);
    tabs->addTab(Page(report.Common, tabs), Text(2, "Common"));
    tabs->addTab(Page(report.Buffers, tabs), Text(3, "Buffer and pixel depths"));
    auto* close = new QPushButton(Text(4, "&Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(close, 0, Qt::AlignRight);
    ApplyFormStyle(this);
}

}  // namespace kx

#include "moc_f_GlInfo.cpp"
