// The main window's recovery copies: a timer that keeps a copy of a changed model in the
// per-user data folder, and the question at start whether to restore a copy that a program
// which ended without closing left behind.
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

#include "model/u_recovery.h"

namespace kx {

class TMainForm;

class TRecoveryKeeper : public QObject {
    Q_OBJECT
public:
    /// Lives as a child of the window; the interval comes from the settings.
    explicit TRecoveryKeeper(TMainForm& form);
    /// A normal end of the window: its copy goes. A crash never gets here, so the copy stays.
    ~TRecoveryKeeper() override;

    /// Milliseconds between two copies; 0 switches them off.
    void SetInterval(int milliseconds);
    int Interval() const { return m_timer.isActive() ? m_timer.interval() : 0; }
    TAutosave& Autosave() { return m_autosave; }
    /// Until the copy asked for last is written or removed (tests; the file is written on a
    /// thread of its own).
    void WaitForWriter() { m_writer->Wait(); }
    /// Asks for each copy left by an ended program, newest first, whether to restore it, until
    /// one is restored. A declined copy is removed; the others wait for the next start.
    void OfferAbandoned();

private:
    void Tick();
    void ShowWriteError(const std::string& error);

    TMainForm& m_form;
    TAutosave m_autosave;
    std::unique_ptr<TRecoveryWriter> m_writer;
    QTimer m_timer;
};

}  // namespace kx
