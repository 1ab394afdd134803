// The animation bar: the time slider with its step, play, stop and record buttons, playback on
// a 40 ms timer, and the "Animation" commands (options, time manager, video).
// The renderer's GL loader must come before Qt's GL headers.
#include "view/f_viewer.h"

#include "motion/f_AnimationBar.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include "app/u_commandtable.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "motion/f_AniOpt.h"
#include "motion/f_Animation.h"
#include "motion/f_Zeitmanager.h"

namespace kx {

namespace {
struct TAniButton {
    const char* Name;
    int HintKey;  ///< section MAIN
    const char* Hint;
    QStyle::StandardPixmap Icon;
};
const TAniButton kButtons[] = {
    {"btnStepAnfang", 80, "Erstes Bild", QStyle::SP_MediaSkipBackward},
    {"btnStepBack", 81, "Ein Bild zurück", QStyle::SP_MediaSeekBackward},
    {"btnStop", 82, "Stop", QStyle::SP_MediaStop},
    {"btnPlay", 83, "Abspielen", QStyle::SP_MediaPlay},
    {"btnStepVor", 84, "Ein Bild vor", QStyle::SP_MediaSeekForward},
    {"btnStepEnd", 85, "Letztes Bild", QStyle::SP_MediaSkipForward},
    {"btnRecord", 86, "Key setzen", QStyle::SP_CustomBase},
};

QIcon RecordIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(120, 0, 0));
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    return QIcon(pixmap);
}
}  // namespace

TAnimationBar::TAnimationBar(TkxMain& model, const TPartFiles& files, QSlider& track, QWidget& bar,
                             TViewerWidget& viewer, QWidget* window)
    : QObject(window),
      m_model(model),
      m_files(files),
      m_track(track),
      m_viewer(viewer),
      m_window(window),
      m_timeline(model) {
    setObjectName(QStringLiteral("AnimationBar"));
    OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    auto* layout = qobject_cast<QHBoxLayout*>(bar.layout());
    int at = 0;
    for (const TAniButton& b : kButtons) {
        auto* button = new QToolButton(&bar);
        button->setObjectName(QString::fromLatin1(b.Name));
        button->setIcon(b.Icon == QStyle::SP_CustomBase ? RecordIcon()
                                                        : bar.style()->standardIcon(b.Icon));
        button->setAutoRaise(true);
        button->setProperty("hintKey", b.HintKey);
        button->setToolTip(QString::fromUtf8(b.Hint));
        if (layout) {
            layout->insertWidget(at++, button);
        }
    }
    // The buttons act when pressed, not when released.
    connect(Button("btnStepAnfang"), &QToolButton::pressed, this,
            [this] { m_timeline.StepFirst(); });
    connect(Button("btnStepBack"), &QToolButton::pressed, this, [this] { m_timeline.StepBack(); });
    connect(Button("btnStepVor"), &QToolButton::pressed, this,
            [this] { m_timeline.StepForward(); });
    connect(Button("btnStepEnd"), &QToolButton::pressed, this, [this] { m_timeline.StepLast(); });
    connect(Button("btnPlay"), &QToolButton::pressed, this, [this] { Play(); });
    connect(Button("btnStop"), &QToolButton::pressed, this, [this] { Stop(); });
    connect(Button("btnRecord"), &QToolButton::pressed, this, [this] { Record(); });

    m_timeline.OnPositionChanged = [this](int32_t) {
        SyncSlider();
        Redraw();
    };
    connect(&m_track, &QSlider::valueChanged, this, [this](int value) {
        if (!m_syncing) {
            m_timeline.SetPosition(value);  // TrackyChange
        }
    });

    // The next tick is due one interval after the last one was handled, so ticks never queue
    // up behind a slow frame; everything runs on this thread, so stopping never waits.
    m_timer.setObjectName(QStringLiteral("ATimerPlay"));
    m_timer.setSingleShot(true);
    m_timer.setInterval(kPlayInterval);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });

    SyncSlider();
    UpdateButtons();
}

TAnimationBar::~TAnimationBar() {
    m_timer.stop();
}

QToolButton* TAnimationBar::Button(const char* name) const {
    return m_track.parentWidget()->findChild<QToolButton*>(QString::fromLatin1(name));
}

void TAnimationBar::Bind(TCommandTable& commands) {
    commands.Bind("menRecordKey", [this] { Record(); });
    commands.Bind("menAniOptions", [this] { OptionsCommand(); });
    commands.Bind("menMovie", [this] { MovieCommand(); });
    commands.Bind("menTimeManager", [this] { TimeManagerCommand(); });
}

void TAnimationBar::DoLanguage() {
    for (const TAniButton& b : kButtons) {
        if (QToolButton* button = Button(b.Name)) {
            button->setToolTip(
                QString::fromStdString(Language().GetText("MAIN", b.HintKey, b.Hint)));
        }
    }
}

void TAnimationBar::Play() {
    Stack().Push("TMainForm.btnPlayClick");
    if (m_playing) {
        return;
    }
    m_playing = true;
    UpdateButtons();
    m_timer.start();
}

void TAnimationBar::Stop() {
    Stack().Push("TMainForm.btnStopClick");
    m_playing = false;
    m_timer.stop();
    UpdateButtons();
}

void TAnimationBar::Tick() {
    if (!m_playing) {
        return;
    }
    m_timeline.PlaybackTick();
    // The handler may have stopped playback (a command run from within the frame).
    if (m_playing) {
        m_timer.start();
    }
}

void TAnimationBar::Record() {
    Stack().Push("TMainForm.btnRecordClick", m_timeline.Position());
    m_timeline.Record();
}

void TAnimationBar::ModelReplaced() {
    Stop();
    m_timeline.Reset();
    SyncSlider();
}

void TAnimationBar::SyncSlider() {
    m_syncing = true;
    m_track.setRange(1, m_timeline.Length());
    m_track.setValue(m_timeline.Position());
    m_syncing = false;
}

void TAnimationBar::UpdateButtons() {
    Button("btnPlay")->setEnabled(!m_playing);
    Button("btnRecord")->setEnabled(!m_playing);
    Button("btnStop")->setEnabled(m_playing);
}

void TAnimationBar::Redraw() {
    m_viewer.Redraw();
}

void TAnimationBar::OptionsCommand() {
    Stack().Push("TMainForm.Optionen1Click");
    TDlgAniOpt dlg(m_timeline.Length(), m_window);
    if (dlg.exec() == QDialog::Accepted) {
        m_timeline.SetLength(dlg.Length());
        SyncSlider();
    }
}

void TAnimationBar::TimeManagerCommand() {
    Stack().Push("TMainForm.ZeitManager1Click");
    TDlgZeitManager dlg(m_model, m_files, m_timeline.Position(), m_timeline.Length(), m_window);
    dlg.exec();
    // Moved keys (applied) and removed ones (at once) take effect on the frame shown.
    m_model.Animate(m_timeline.Position());
    Redraw();
}

void TAnimationBar::MovieCommand() {
    Stack().Push("TMainForm.Filmberechnenavi1Click");
    Stop();
    TDlgAnimation dlg(m_viewer.size(), m_window);
    if (OnVideoDialog) {
        OnVideoDialog(dlg);
    }
    if (dlg.result() != QDialog::Accepted && dlg.exec() != QDialog::Accepted) {
        return;
    }
    TVideoJob job;
    job.FileName = QFileInfo(dlg.FileName()).absoluteFilePath().toStdString();
    job.Codec = dlg.Codec();
    job.Width = dlg.FrameSize().width();
    job.Height = dlg.FrameSize().height();
    job.FirstFrame = 1;
    job.LastFrame = m_timeline.Length();
    RenderMovie(job, dlg.OpenWhenDone(), dlg);
}

TVideoResult TAnimationBar::RenderMovie(const TVideoJob& jobIn, bool openWhenDone,
                                        TDlgAnimation& dialog) {
    TVideoJob job = jobIn;
    job.Samples = AntialiasSamples(m_model.Scene().Antialias());
    TVideoResult result;

    // Frames come from an offscreen surface of their own: the view may be covered, smaller
    // or hidden, and is never read back.
    QOffscreenSurface surface;
    surface.setFormat(ViewerSurfaceFormat(TAntialias::None));
    surface.create();
    QOpenGLContext context;
    context.setFormat(surface.format());
    if (!context.create() || !context.makeCurrent(&surface)) {
        result.Error = Language().GetText("F_ANIMATION", 7,
                                          "Cannot create AVI file. Disk full or file in use?") +
                       " (OpenGL)";
        QMessageBox::warning(m_window, dialog.windowTitle(), QString::fromStdString(result.Error));
        return result;
    }
    auto renderer = std::make_unique<TRenderer>();
    renderer->SetTextRasterizer(RasterizeText);

    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.BeginProgress(job.FirstFrame, job.LastFrame);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    result = RenderAnimationVideo(m_model, *renderer, job, [&](int32_t frame) {
        m_timeline.SetPosition(frame);
        dialog.SetProgress(frame);
        QApplication::processEvents();
        // The view may have drawn meanwhile, with its own context.
        context.makeCurrent(&surface);
        return !dialog.CancelRequested();
    });
    QApplication::restoreOverrideCursor();
    context.makeCurrent(&surface);
    renderer->ReleaseGl();
    renderer.reset();
    context.doneCurrent();
    dialog.EndProgress();

    if (!result && !result.Cancelled) {
        QMessageBox::warning(m_window, dialog.windowTitle(), QString::fromStdString(result.Error));
    } else if (result && openWhenDone && OpenUrl) {
        // Without a player for videos the file is still fine: nothing to report.
        OpenUrl(QUrl::fromLocalFile(QString::fromStdString(job.FileName)));
    }
    return result;
}

}  // namespace kx

#include "moc_f_AnimationBar.cpp"
