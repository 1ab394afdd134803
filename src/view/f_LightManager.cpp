// The light manager: eight check boxes that switch the scene's lights on and off at once.
#include "view/f_LightManager.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "view/u_scene.h"

namespace kx {

namespace {
constexpr const char* kSection = "F_LIGHTMANAGER";

QString Text(int key, const QString& current) {
    return QString::fromStdString(Language().GetText(kSection, key, current.toStdString()));
}
}  // namespace

TFormLichtManager::TFormLichtManager(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FormLichtManager"));
    setWindowTitle(QStringLiteral("Licht-Manager"));
    auto* layout = new QVBoxLayout(this);
    for (int i = 1; i <= 8; ++i) {
        const QString caption =
            i == 2 ? QStringLiteral("Kamera-Licht") : QStringLiteral("Licht %1").arg(i);
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(QStringLiteral("cbLight%1").arg(i));
        box->setChecked(i == 2);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { BoxToggled(i, on); });
        m_boxes[static_cast<size_t>(i - 1)] = box;
        layout->addWidget(box);
    }
    m_close = new QPushButton(QStringLiteral("Schließen"), this);
    connect(m_close, &QPushButton::clicked, this, &QDialog::hide);
    layout->addWidget(m_close);
    ApplyFormStyle(this);
    DoLanguage();
}

void TFormLichtManager::SetScene(TScene* scene, std::function<void()> changed) {
    m_scene = scene;
    m_changed = std::move(changed);
    if (!m_scene) {
        return;
    }
    for (int i = 1; i <= 8; ++i) {
        if (TLightSource* light = m_scene->Light(i)) {
            QCheckBox* box = Box(i);
            const QSignalBlocker block(box);
            box->setChecked(light->Shining());
        }
    }
}

QCheckBox* TFormLichtManager::Box(int number) const {
    return number >= 1 && number <= 8 ? m_boxes[static_cast<size_t>(number - 1)] : nullptr;
}

void TFormLichtManager::DoLanguage() {
    // The German texts are the defaults, so German comes back after another language.
    setWindowTitle(Text(1, QStringLiteral("Licht-Manager")));
    for (int i = 1; i <= 8; ++i) {
        Box(i)->setText(Text(
            i + 1, i == 2 ? QStringLiteral("Kamera-Licht") : QStringLiteral("Licht %1").arg(i)));
    }
    m_close->setText(Text(10, QStringLiteral("Schließen")));
    // The check boxes alone make a narrow window whose title bar cuts its caption short; the
    // title bar's buttons and frame need about four text heights beside it.
    const QFontMetrics metrics(font());
    setMinimumWidth(metrics.horizontalAdvance(windowTitle()) + 4 * metrics.height() + 40);
}

void TFormLichtManager::BoxToggled(int number, bool on) {
    Stack().Push("TFormLichtManager.BoxToggled", number, on);
    if (!m_scene) {
        return;
    }
    if (TLightSource* light = m_scene->Light(number)) {
        light->SetShining(on);
        if (m_changed) {
            m_changed();
        }
    }
}

}  // namespace kx

#include "moc_f_LightManager.cpp"
