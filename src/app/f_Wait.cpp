// The wait window: a title and a progress bar shown while a long job runs.
#include "app/f_Wait.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "app/u_formstyle.h"

namespace kx {

TFormWait::TFormWait(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Bitte warten..."));
    lblTitel = new QLabel(this);
    lblTitel->setAlignment(Qt::AlignCenter);
    Gauge = new QProgressBar(this);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitel);
    layout->addWidget(Gauge);
    ApplyFormStyle(this);
    setFixedSize(360, 100);
}

void TFormWait::SetTitle(const QString& title) {
    lblTitel->setText(title);
}
void TFormWait::SetMaximum(int maximum) {
    Gauge->setMaximum(maximum);
}
void TFormWait::SetPosition(int position) {
    Gauge->setValue(position);
}
int TFormWait::Position() const {
    return Gauge->value();
}
int TFormWait::Maximum() const {
    return Gauge->maximum();
}
QString TFormWait::Title() const {
    return lblTitel->text();
}

}  // namespace kx

#include "moc_f_Wait.cpp"
