// The splash window shown while the program starts: title, version, what is loading, progress.
#include "catalogue/f_Splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"

namespace kx {

TFormSplash::TFormSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FormSplash"));
    auto* title = new QLabel(QStringLiteral("Korvex designer"), this);
    auto* version = new QLabel(QStringLiteral("Version " KX_VERSION), this);
    lblStatus = new QLabel(
        QString::fromStdString(Language().GetText("F_SPLASH", 1, "Programm wird gestartet...")),
        this);
    Gauge = new QProgressBar(this);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->setTextVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addStretch(1);
    layout->addWidget(lblStatus);
    layout->addWidget(Gauge);
    ApplyFormStyle(this);

    QFont big = title->font();
    big.setPointSize(20);
    big.setBold(true);
    title->setFont(big);
    setStyleSheet(QStringLiteral("#FormSplash { background: #1f4e79; } QLabel { color: white; }"));
    setAttribute(Qt::WA_StyledBackground);
    setFixedSize(420, 200);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    m_sinceRepaint.start();
}

void TFormSplash::SetStatus(const QString& text) {
    lblStatus->setText(text);
    if (isVisible()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void TFormSplash::SetMaximum(int maximum) {
    Gauge->setMaximum(std::max(1, maximum));
}

void TFormSplash::SetPosition(int position) {
    Gauge->setValue(position);
    // Painting the window for every file would cost more than reading the file.
    if (isVisible() && (m_sinceRepaint.elapsed() >= 40 || position >= Gauge->maximum())) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_sinceRepaint.restart();
    }
}

QString TFormSplash::Status() const {
    return lblStatus->text();
}
int TFormSplash::Position() const {
    return Gauge->value();
}
int TFormSplash::Maximum() const {
    return Gauge->maximum();
}

}  // namespace kx
