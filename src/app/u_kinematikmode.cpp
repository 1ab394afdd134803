// Kinematics mode of the main window.
#include "app/u_kinematikmode.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "motion/f_kineManager.h"
#include "motion/u_MotorPanel.h"
#include "sequence/f_llwin.h"
#include "sequence/joystickpoller.h"
#include "view/f_EditModes.h"

namespace kx {

namespace {
/// The menus kinematics mode closes; the collection menu stays, it does not touch the model.
const char* const kLockedMenus[] = {"menDatei",     "menBearbeiten", "menAnsicht", "menBauphasen",
                                    "menAnimation", "menKinematik",  "menFenster", "menHilfe"};
/// Toolbar buttons that act on their own, not through a command of the table.
const char* const kLockedButtons[] = {"btnGrid", "btnAchse", "btnKugeln", "btnOpenLast"};
}  // namespace

TKinematikMode::TKinematikMode(TMainForm& form) : QObject(&form), m_form(form) {
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("KineTimer"));
    m_timer->setInterval(10);
    // A step that takes longer than the interval delays the next one; none are made up.
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &TKinematikMode::Tick);

    QWidget* strip = form.MotorArea();
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int n = 1; n <= 8; ++n) {
        auto* panel = new TMotorPanel(strip);
        panel->setObjectName(QStringLiteral("mot%1").arg(n));
        panel->SetText(QStringLiteral("Motor %1").arg(n));
        panel->Bind(form.Model().MotorPanels().Panel(n));
        layout->addWidget(panel);
        m_panels[static_cast<size_t>(n - 1)] = panel;
    }
    layout->addStretch(1);
    m_joystick = new TJoystickPoller(form.Model().Ablauf().Joystick(), this);
}

TMotorPanel* TKinematikMode::Panel(int number) const {
    return number >= 1 && number <= 8 ? m_panels[static_cast<size_t>(number - 1)] : nullptr;
}

void TKinematikMode::Enter() {
    Stack().Push("TMainForm.btnStartKinematikClick", true);
    if (m_active) {
        return;
    }
    TkxMain& model = m_form.Model();
    m_form.LibraryArea()->hide();
    m_form.MotorArea()->show();
    // The manager edits what the mode has locked.
    m_form.KineManager()->hide();
    model.DeSelectAllBausteine();
    model.StartKinematik();
    for (int n = 8; n >= 1; --n) {
        TMotorPanel* panel = Panel(n);
        panel->SyncFromState();
        const std::string& part = model.Motors().Motor(n).PartName;
        panel->setVisible(!part.empty());
        QLabel* image = panel->Image();
        image->hide();
        if (part.size() >= 6) {
            const auto file = model.Files().FindPart("icon", part.substr(1, 5), "bmp");
            QPixmap icon;
            if (file && icon.load(QString::fromStdString(file->string()))) {
                image->setPixmap(
                    icon.scaled(60, 60, Qt::KeepAspectRatio, Qt::SmoothTransformation));
                image->adjustSize();
                image->show();
            }
        }
    }
    m_active = true;
    m_timer->start();
    m_joystick->Start();
    SetControlsEnabled(false);
    m_form.Modes()->SetMode(TEditMode::Rotate);
    // The runners walk the flowchart now: the editor shows it without changing it.
    m_form.LogicManager()->UpdateReadOnly();
    m_form.RedrawView();
}

void TKinematikMode::Leave() {
    Stack().Push("TMainForm.btnStartKinematikClick", false);
    if (!m_active) {
        return;
    }
    m_form.MotorArea()->hide();
    m_timer->stop();
    m_joystick->Stop();
    m_form.Model().StopKinematik();
    m_active = false;
    m_form.LibraryArea()->show();
    SetControlsEnabled(true);
    m_form.LogicManager()->UpdateReadOnly();
    m_form.RedrawView();
}

void TKinematikMode::Tick() {
    if (!m_active) {
        return;
    }
    m_form.Model().DoKinematik();
    for (TMotorPanel* panel : m_panels) {
        panel->SyncFromState();
    }
    m_form.RedrawView();
}

void TKinematikMode::SetControlsEnabled(bool on) {
    TCommandTable& commands = m_form.Commands();
    if (on) {
        commands.Unlock();
    } else {
        commands.Lock({"menSammlung"});
    }
    for (const char* id : kLockedMenus) {
        if (QMenu* menu = commands.Menu(id)) {
            menu->menuAction()->setEnabled(on);
        }
    }
    for (const char* id : kLockedButtons) {
        if (QToolButton* button = m_form.ToolButton(id)) {
            button->setEnabled(on);
        }
    }
    // Trees edit the model (phases, groups, names) by drag, popup and in-place editing.
    m_form.PartsTree()->setEnabled(on);
    m_form.GroupsTree()->setEnabled(on);
    TEditModeBar* modes = m_form.Modes();
    modes->btnModeSelect->setEnabled(on);
    modes->btnVisible->setEnabled(on);
    modes->btnColor->setEnabled(on);
}

}  // namespace kx

#include "moc_u_kinematikmode.cpp"
