// The main window's "Kinematik" menu and its kinematics manager.
#include <QScrollArea>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "app/u_mainports.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "motion/f_kineManager.h"
#include "motion/kinedialogs.h"
#include "sequence/f_llwin.h"

namespace kx {

TFormKineManager* TMainForm::KineManager() {
    if (!m_kineManager) {
        // The program makes it hidden at start; a window without the program makes its own.
        m_kineManager = findChild<TFormKineManager*>(QString(), Qt::FindDirectChildrenOnly);
        if (!m_kineManager) {
            m_kineManager = new TFormKineManager(this);
        }
        m_kineManager->Redraw = [this] { RedrawView(); };
    }
    return m_kineManager;
}

void TMainForm::BindKineCommands() {
    m_kineDialogs = std::make_unique<TKineDialogsQt>(
        this, [this] { return sb->mapToGlobal(QPoint(0, 0)); }, [this] { RedrawView(); });
    m_model->SetKineDialogs(m_kineDialogs.get());
    m_ports->OnKineChanged = [this] { KineManager()->Refill(); };

    TCommandTable& c = *m_commands;
    const auto bind = [this, &c](const char* id, const char* handler, void (TkxMain::*op)()) {
        c.Bind(id, [this, handler, op] {
            Stack().Push(handler);
            ((*m_model).*op)();
            RedrawView();
        });
    };
    bind("menRotBinding", "TMainForm.RotationsVerknpfung1Click", &TkxMain::EditKinematikRotation);
    bind("menFixBinding", "TMainForm.RotationFest1Click", &TkxMain::EditKinematikRotationFest);
    bind("menRotTransBinding", "TMainForm.RotationTranslationsBindung1Click",
         &TkxMain::AddKinematikRotTrans);
    bind("menCollision", "TMainForm.Kollisioneinfgen1Click", &TkxMain::AddKollision);
    bind("menMotor", "TMainForm.Motor1festlegen1Click", &TkxMain::SetKineMotor);

    c.Bind("menKineManager", [this] {
        Stack().Push("TMainForm.KinematikManager1Click");
        TFormKineManager* manager = KineManager();
        manager->move(sb->mapToGlobal(QPoint(0, 0)));
        manager->ShowFor(m_model.get());
    });
    c.Bind("menLogicManager", [this] { m_logicManager->ShowWindow(); });
}

}  // namespace kx
