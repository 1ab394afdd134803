// The render manager: picture size, radiosity, anti-alias and quality, the background; it writes
// the model as a POV-Ray scene and runs the engine in the background, showing its progress.
#pragma once

#include <QDialog>
#include <QProcess>
#include <functional>

#include "view/u_povrender.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace kx {

class TFormRenderView;
class TkxMain;

class TFormRenderManager : public QDialog {
    Q_OBJECT
public:
    explicit TFormRenderManager(QWidget* parent = nullptr);
    ~TFormRenderManager() override;

    /// The model whose scene is rendered; nullptr disables "Render".
    void SetModel(TkxMain* model) { m_model = model; }
    /// What the fields say now (unreadable numbers give the defaults).
    TRenderSettings Settings() const;
    void SetSettings(const TRenderSettings& settings);
    QString EnginePath() const;
    void SetEnginePath(const QString& path);
    /// Where the scene and the picture go (temp.pov and temp.png in the user's data folder).
    QString SceneFile() const;
    QString ImageFile() const;

    /// "Render": writes the scene and starts the engine without waiting for it. False (and the
    /// user told why) when it could not start.
    bool Render();
    /// Stops a running engine.
    void CancelRender();
    bool Rendering() const;
    /// The window of the last finished picture (nullptr before the first).
    TFormRenderView* LastView() const { return m_view; }
    /// Replaces the message boxes when set (tests): the text that would have been shown.
    std::function<void(const QString&)> MessageShown;
    void DoLanguage();

signals:
    /// The engine ended: with a picture, or not (failed, cancelled).
    void RenderFinished(bool picture);

private:
    void ChooseBackground();
    void ChooseEngine();
    void ReadOutput();
    void EngineFinished(int exitCode, QProcess::ExitStatus status);
    void EngineError(QProcess::ProcessError error);
    void Finish(bool picture, const QString& message);
    void Message(const QString& text);
    void UpdateBackgroundButton();
    void UpdateButtons();

    TkxMain* m_model = nullptr;
    QProcess* m_process = nullptr;
    QString m_output;  ///< the engine's output of this run, for the failure message
    bool m_cancelled = false;
    uint32_t m_background = 0xC08000;
    TFormRenderView* m_view = nullptr;

    QLabel* m_engineLabel = nullptr;
    QLineEdit* m_engine = nullptr;
    QPushButton* m_browse = nullptr;
    QLabel* m_sizeLabel = nullptr;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QCheckBox* m_radiosity = nullptr;
    QCheckBox* m_antiAlias = nullptr;
    QRadioButton* m_method1 = nullptr;
    QRadioButton* m_method2 = nullptr;
    QLabel* m_qualityLabel = nullptr;
    QSlider* m_quality = nullptr;
    QLabel* m_qualityValue = nullptr;
    QPushButton* m_backgroundButton = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_render = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_close = nullptr;
};

}  // namespace kx
