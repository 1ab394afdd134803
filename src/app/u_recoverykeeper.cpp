// The main window's recovery copies and the restore question at start.
#include "app/u_recoverykeeper.h"

#include <QMessageBox>
#include <algorithm>

#include "app/Main.h"
#include "app/d_Message.h"
#include "app/u_mainports.h"
#include "catalogue/f_Library.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "motion/f_AnimationBar.h"

namespace kx {

namespace {

QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("RECOVERY", key, def));
}

}  // namespace

TRecoveryKeeper::TRecoveryKeeper(TMainForm& form)
    : QObject(&form), m_form(form), m_autosave(form.Model(), TRecoveryStore::ForThisProgram()) {
    setObjectName(QStringLiteral("RecoveryKeeper"));
    // Saves killed half-way in an earlier run left their temporary files in our folders.
    RemoveLeftoverSaveTemps(UserConfigDir());
    RemoveLeftoverSaveTempsBelow(UserDataDir());
    // The writer's thread reports a failure through the window's event loop.
    m_writer =
        std::make_unique<TRecoveryWriter>(m_autosave.Store(), [this](const std::string& error) {
            QMetaObject::invokeMethod(
                this, [this, error] { ShowWriteError(error); }, Qt::QueuedConnection);
        });
    connect(&m_timer, &QTimer::timeout, this, &TRecoveryKeeper::Tick);
    connect(&form, &TMainForm::Shown, this, &TRecoveryKeeper::OfferAbandoned);
    // A save, a load or "Neu" leaves nothing to lose: the copy goes at once.
    form.Ports().OnModifiedChanged = [this](bool modified) {
        if (!modified) {
            m_writer->Discard();
        }
    };
    const int64_t minutes = Param().GetAutosaveMinutes();
    SetInterval(minutes > 0 ? static_cast<int>(std::min<int64_t>(minutes, 24 * 60) * 60000) : 0);
}

TRecoveryKeeper::~TRecoveryKeeper() {
    // The window's model is gone by now: only the writer is used here, and it finishes
    // before the program ends.
    m_writer->Discard();
    m_writer.reset();
}

void TRecoveryKeeper::SetInterval(int milliseconds) {
    if (milliseconds <= 0) {
        m_timer.stop();
        return;
    }
    m_timer.start(milliseconds);
}

void TRecoveryKeeper::Tick() {
    if (!m_form.Model().IsModified()) {
        // Saved, loaded or back at its saved state: there is nothing a crash could lose.
        m_writer->Discard();
        return;
    }
    // The snapshot is taken here, where the model lives; the file is written on the writer's
    // thread, so the window does not wait for the disk.
    Stack().Push("TRecoveryKeeper.Tick");
    m_writer->Write(m_form.Model().ToModelFile());
}

void TRecoveryKeeper::ShowWriteError(const std::string& error) {
    // Only the status bar: a dialog every few minutes would be worse than the risk.
    m_form.SetStatusText(0, Text(3, "Die Sicherungskopie konnte nicht geschrieben werden: %s")
                                .replace(QStringLiteral("%s"), QString::fromStdString(error)));
}

void TRecoveryKeeper::OfferAbandoned() {
    Stack().Push("TRecoveryKeeper.OfferAbandoned");
    for (const TRecoveryCopy& copy : m_autosave.Store().Abandoned()) {
        const std::string question = Language().GetText(
            "RECOVERY", 1,
            "Das Programm wurde nicht ordnungsgemäß beendet. Ein Modell mit ungesicherten "
            "Änderungen wurde gerettet. Möchten Sie es wiederherstellen?");
        if (AskYesNo(question) != kAnswerYes) {
            TRecoveryStore::Remove(copy);
            continue;
        }
        const TModelFileResult result = m_autosave.Restore(copy);
        m_form.RedrawView();
        if (!result) {
            QMessageBox::warning(&m_form, m_form.windowTitle(),
                                 QString::fromStdString(result.Error));
            continue;  // the copy stays for another try
        }
        TRecoveryStore::Remove(copy);
        m_form.Animation()->ModelReplaced();
        m_form.Library()->Library().RefreshCollection();
        m_form.FillCameraMenus();
        m_form.UpdateCaption();
        m_form.SetStatusText(0, Text(2, "Modell wiederhergestellt"));
        // The restored model is changed and unsaved: it gets a copy of its own at once.
        Tick();
        return;
    }
}

}  // namespace kx
