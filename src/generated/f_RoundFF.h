// The progress window of rounding every part: the job runs on a worker thread, the window
// shows where it stands and can stop it; a stopped run resumes with the next one.
#pragma once

#include <QDialog>
#include <memory>
#include <thread>

#include "generated/u_rounding.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kx {

class TPartFiles;
class TffCache;

class TFormRoundFF : public QDialog {
    Q_OBJECT
public:
    TFormRoundFF(const TPartFiles& files, TffCache& meshes, QWidget* parent = nullptr);
    ~TFormRoundFF() override;

    /// What the run did (once the window has closed: all of it).
    TRoundPartsState State() const { return m_job.State(); }

    QLabel* imgIcon = nullptr;
    QLabel* lblFile = nullptr;
    QProgressBar* pbVertices = nullptr;
    QProgressBar* pbFiles = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormPaint();
    void btnCancelClick();
    void ShowState();
    void StopWorker();

    const TPartFiles& m_files;
    TRoundPartsJob m_job;
    std::thread m_worker;
    QTimer* m_poll = nullptr;
    bool m_started = false;
    std::string m_shownFile;
};

}  // namespace kx
