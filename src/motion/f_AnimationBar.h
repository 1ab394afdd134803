// The animation bar: the time slider with its step, play, stop and record buttons, playback on
// a 40 ms timer, and the "Animation" commands (options, time manager, video).
#pragma once

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "motion/r_animationvideo.h"
#include "motion/u_timeline.h"

class QSlider;
class QToolButton;
class QWidget;

namespace kx {

class TCommandTable;
class TDlgAnimation;
class TPartFiles;
class TViewerWidget;
class TkxMain;

class TAnimationBar : public QObject {
    Q_OBJECT
public:
    static constexpr int kPlayInterval = 40;  ///< milliseconds a frame

    /// Puts the buttons into bar, in front of the slider track.
    TAnimationBar(TkxMain& model, const TPartFiles& files, QSlider& track, QWidget& bar,
                  TViewerWidget& viewer, QWidget* window);
    ~TAnimationBar() override;

    /// Attaches "Key setzen", "Optionen", "Film berechnen (.avi)" and "Zeit-Manager".
    void Bind(TCommandTable& commands);
    /// Hints from the language table.
    void DoLanguage();

    TAnimationTimeline& Timeline() { return m_timeline; }
    bool Playing() const { return m_playing; }
    QToolButton* Button(const char* name) const;

    void Play();
    /// Stops playback; safe at any time, also from within a frame's handling.
    void Stop();
    void Record();
    /// The model was loaded or emptied: playback stops, the slider starts again at frame 1
    /// with the model's length.
    void ModelReplaced();

    /// "Optionen": the animation length.
    void OptionsCommand();
    /// "Zeit-Manager", modal.
    void TimeManagerCommand();
    /// "Film berechnen (.avi)": asks for file, codec and size, then renders.
    void MovieCommand();
    /// Renders every frame of the animation into the file, with the dialog showing progress
    /// and offering to cancel; a failure is reported to the user. The video is opened in the
    /// desktop's player when openWhenDone.
    TVideoResult RenderMovie(const TVideoJob& job, bool openWhenDone, TDlgAnimation& dialog);

    /// Opens a finished video (the desktop's player); replaced in tests.
    std::function<bool(const QUrl&)> OpenUrl;
    /// Called with the video dialog before it is shown modally (tests fill it in and close it).
    std::function<void(TDlgAnimation&)> OnVideoDialog;

private:
    void Tick();
    void SyncSlider();
    void UpdateButtons();
    void Redraw();

    TkxMain& m_model;
    const TPartFiles& m_files;
    QSlider& m_track;
    TViewerWidget& m_viewer;
    QWidget* m_window;
    TAnimationTimeline m_timeline;
    QTimer m_timer;
    bool m_playing = false;
    bool m_syncing = false;
};

}  // namespace kx
