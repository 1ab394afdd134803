// The render manager: picture size, radiosity, anti-alias and quality, the background; it writes
// the model as a POV-Ray scene and runs the engine in the background, showing its progress.
#include "view/f_RenderManager.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <filesystem>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "view/f_RenderView.h"
#include "view/u_colour.h"

namespace kx {

namespace {
constexpr const char* kSection = "F_RENDER";
/// The engine's last words are enough to tell why it failed.
constexpr int kOutputTail = 2000;

QString Text(int key, const QString& current) {
    return QString::fromStdString(Language().GetText(kSection, key, current.toStdString()));
}

QString Text(int key, const char* german) {
    return Text(key, QString::fromUtf8(german));
}
}  // namespace

TFormRenderManager::TFormRenderManager(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("FormRenderManager"));
    setWindowTitle(QStringLiteral("Render-Manager (POV-Ray)"));
    auto* layout = new QVBoxLayout(this);

    auto* engineRow = new QHBoxLayout;
    m_engineLabel = new QLabel(QStringLiteral("POV-Ray-Programm"), this);
    m_engine = new QLineEdit(this);
    m_engine->setObjectName(QStringLiteral("eEngine"));
    m_engine->setText(
        QString::fromStdString(FindPovRay(qEnvironmentVariable("PATH").toStdString())));
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("btnEngine"));
    engineRow->addWidget(m_engineLabel);
    engineRow->addWidget(m_engine, 1);
    engineRow->addWidget(m_browse);
    layout->addLayout(engineRow);

    auto* form = new QFormLayout;
    m_sizeLabel = new QLabel(QStringLiteral("Bildgröße"), this);
    auto* sizeRow = new QHBoxLayout;
    m_width = new QSpinBox(this);
    m_width->setObjectName(QStringLiteral("eWidth"));
    m_height = new QSpinBox(this);
    m_height->setObjectName(QStringLiteral("eHeight"));
    for (QSpinBox* box : {m_width, m_height}) {
        box->setRange(16, 8192);
    }
    sizeRow->addWidget(m_width);
    sizeRow->addWidget(new QLabel(QStringLiteral("x"), this));
    sizeRow->addWidget(m_height);
    sizeRow->addStretch(1);
    form->addRow(m_sizeLabel, sizeRow);
    m_radiosity = new QCheckBox(QStringLiteral("Radiosity"), this);
    m_radiosity->setObjectName(QStringLiteral("cbRadiosity"));
    form->addRow(m_radiosity);
    m_antiAlias = new QCheckBox(QStringLiteral("Anti-Alias verwenden"), this);
    m_antiAlias->setObjectName(QStringLiteral("cbAntiAlias"));
    form->addRow(m_antiAlias);
    auto* methodRow = new QHBoxLayout;
    m_method1 = new QRadioButton(QStringLiteral("Methode 1"), this);
    m_method1->setObjectName(QStringLiteral("rbMethod1"));
    m_method2 = new QRadioButton(QStringLiteral("Methode 2"), this);
    m_method2->setObjectName(QStringLiteral("rbMethod2"));
    methodRow->addWidget(m_method1);
    methodRow->addWidget(m_method2);
    methodRow->addStretch(1);
    form->addRow(methodRow);
    m_qualityLabel = new QLabel(QStringLiteral("Qualität"), this);
    auto* qualityRow = new QHBoxLayout;
    m_quality = new QSlider(Qt::Horizontal, this);
    m_quality->setObjectName(QStringLiteral("tbQuality"));
    m_quality->setRange(1, 9);
    m_quality->setTickPosition(QSlider::TicksBelow);
    m_qualityValue = new QLabel(this);
    qualityRow->addWidget(m_quality, 1);
    qualityRow->addWidget(m_qualityValue);
    form->addRow(m_qualityLabel, qualityRow);
    m_backgroundButton = new QPushButton(QStringLiteral("Hintergrundfarbe..."), this);
    m_backgroundButton->setObjectName(QStringLiteral("btnBackground"));
    form->addRow(m_backgroundButton);
    layout->addLayout(form);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pbRender"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto* buttons = new QHBoxLayout;
    m_render = new QPushButton(QStringLiteral("Render"), this);
    m_render->setObjectName(QStringLiteral("btnRender"));
    m_render->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_close = new QPushButton(QStringLiteral("Schließen"), this);
    m_close->setObjectName(QStringLiteral("btnClose"));
    buttons->addWidget(m_render);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    connect(m_browse, &QPushButton::clicked, this, &TFormRenderManager::ChooseEngine);
    connect(m_backgroundButton, &QPushButton::clicked, this, &TFormRenderManager::ChooseBackground);
    connect(m_quality, &QSlider::valueChanged, this,
            [this](int v) { m_qualityValue->setText(QString::number(v)); });
    connect(m_render, &QPushButton::clicked, this, [this] { Render(); });
    connect(m_cancel, &QPushButton::clicked, this, &TFormRenderManager::CancelRender);
    connect(m_close, &QPushButton::clicked, this, &QDialog::hide);

    SetSettings(TRenderSettings{});
    ApplyFormStyle(this);
    DoLanguage();
    UpdateButtons();
}

TFormRenderManager::~TFormRenderManager() {
    // A picture still being made belongs to nobody once the window goes.
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(3000);
    }
}

void TFormRenderManager::DoLanguage() {
    setWindowTitle(Text(1, windowTitle()));
    m_engineLabel->setText(Text(2, m_engineLabel->text()));
    m_sizeLabel->setText(Text(3, m_sizeLabel->text()));
    m_radiosity->setText(Text(4, m_radiosity->text()));
    m_antiAlias->setText(Text(5, m_antiAlias->text()));
    m_method1->setText(Text(6, m_method1->text()));
    m_method2->setText(Text(7, m_method2->text()));
    m_qualityLabel->setText(Text(8, m_qualityLabel->text()));
    m_backgroundButton->setText(Text(9, m_backgroundButton->text()));
    m_render->setText(Text(10, m_render->text()));
    m_cancel->setText(Text(11, m_cancel->text()));
    m_close->setText(Text(12, m_close->text()));
}

TRenderSettings TFormRenderManager::Settings() const {
    TRenderSettings s;
    s.Width = m_width->value();
    s.Height = m_height->value();
    s.Radiosity = m_radiosity->isChecked();
    s.AntiAlias = m_antiAlias->isChecked();
    s.Method = m_method1->isChecked() ? 1 : 2;
    s.Quality = m_quality->value();
    s.Background = m_background;
    return s;
}

void TFormRenderManager::SetSettings(const TRenderSettings& s) {
    m_width->setValue(s.Width);
    m_height->setValue(s.Height);
    m_radiosity->setChecked(s.Radiosity);
    m_antiAlias->setChecked(s.AntiAlias);
    (s.Method == 1 ? m_method1 : m_method2)->setChecked(true);
    m_quality->setValue(s.Quality);
    m_qualityValue->setText(QString::number(m_quality->value()));
    m_background = s.Background & 0xFFFFFF;
    UpdateBackgroundButton();
}

QString TFormRenderManager::EnginePath() const {
    return m_engine->text().trimmed();
}

void TFormRenderManager::SetEnginePath(const QString& path) {
    m_engine->setText(path);
}

QString TFormRenderManager::SceneFile() const {
    return QString::fromStdString(UserDataDir()) + QStringLiteral("temp.pov");
}

QString TFormRenderManager::ImageFile() const {
    return QString::fromStdString(UserDataDir()) + QStringLiteral("temp.png");
}

bool TFormRenderManager::Rendering() const {
    return m_process != nullptr;
}

void TFormRenderManager::UpdateBackgroundButton() {
    const TColor3f c = ColorFromWin(m_background);
    const QColor colour = QColor::fromRgbF(c.R, c.G, c.B);
    m_backgroundButton->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: %2; }")
            .arg(colour.name(),
                 colour.lightness() > 128 ? QStringLiteral("black") : QStringLiteral("white")));
}

void TFormRenderManager::UpdateButtons() {
    m_render->setEnabled(!Rendering() && m_model);
    m_cancel->setEnabled(Rendering());
}

void TFormRenderManager::ChooseBackground() {
    const TColor3f c = ColorFromWin(m_background);
    const QColor chosen = QColorDialog::getColor(QColor::fromRgbF(c.R, c.G, c.B), this);
    if (chosen.isValid()) {
        m_background = static_cast<uint32_t>(chosen.red()) |
                       (static_cast<uint32_t>(chosen.green()) << 8) |
                       (static_cast<uint32_t>(chosen.blue()) << 16);
        UpdateBackgroundButton();
    }
}

void TFormRenderManager::ChooseEngine() {
    const QString chosen = QFileDialog::getOpenFileName(this, QString(), EnginePath(), QString(),
                                                        nullptr, QFileDialog::DontUseNativeDialog);
    if (!chosen.isEmpty()) {
        m_engine->setText(chosen);
    }
}

void TFormRenderManager::Message(const QString& text) {
    if (MessageShown) {
        MessageShown(text);
    } else {
        QMessageBox::warning(this, windowTitle(), text);
    }
}

bool TFormRenderManager::Render() {
    Stack().Push("TFormRenderManager.Render");
    if (Rendering() || !m_model) {
        return false;
    }
    QString engine = EnginePath();
    if (!engine.isEmpty() && !engine.contains(QLatin1Char('/'))) {
        engine = QStandardPaths::findExecutable(engine);
    }
    if (engine.isEmpty() || !QFileInfo(engine).isExecutable()) {
        Message(Text(13,
                     "POV-Ray wurde nicht gefunden. Bitte geben Sie das Programm "
                     "\"povray\" an (Debian-Paket povray)."));
        return false;
    }
    const TRenderSettings settings = Settings();
    std::error_code ec;
    std::filesystem::create_directories(UserDataDir(), ec);
    const TModelExportResult written =
        m_model->ExportAsPOV(SceneFile().toStdString(), settings.Background, settings.Radiosity);
    if (!written) {
        Message(Text(14, "Die Szene konnte nicht geschrieben werden: %1")
                    .arg(QString::fromStdString(written.Error)));
        return false;
    }
    QFile::remove(ImageFile());
    QStringList args;
    for (const std::string& a :
         PovRayArguments(settings, SceneFile().toStdString(), ImageFile().toStdString())) {
        args << QString::fromStdString(a);
    }
    m_output.clear();
    m_cancelled = false;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setWorkingDirectory(QString::fromStdString(UserDataDir()));
    connect(m_process, &QProcess::readyRead, this, &TFormRenderManager::ReadOutput);
    connect(m_process, &QProcess::finished, this, &TFormRenderManager::EngineFinished);
    connect(m_process, &QProcess::errorOccurred, this, &TFormRenderManager::EngineError);
    m_progress->setValue(0);
    m_status->setText(Text(15, "POV-Ray rendert..."));
    m_process->start(engine, args);
    UpdateButtons();
    return true;
}

void TFormRenderManager::CancelRender() {
    Stack().Push("TFormRenderManager.CancelRender");
    if (m_process) {
        m_cancelled = true;
        m_process->kill();
    }
}

void TFormRenderManager::ReadOutput() {
    if (!m_process) {
        return;
    }
    const QString piece = QString::fromLocal8Bit(m_process->readAll());
    m_output += piece;
    if (m_output.size() > 4 * kOutputTail) {
        m_output = m_output.right(kOutputTail);
    }
    // A report may be cut between two reads: look at the last few lines together.
    if (const auto percent = PovRayProgress(m_output.right(400).toStdString())) {
        m_progress->setValue(*percent);
    }
}

void TFormRenderManager::EngineError(QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart || !m_process) {
        return;  // the end of a run comes through finished
    }
    Finish(false,
           Text(16, "POV-Ray konnte nicht gestartet werden: %1").arg(m_process->errorString()));
}

void TFormRenderManager::EngineFinished(int exitCode, QProcess::ExitStatus status) {
    if (!m_process) {
        return;
    }
    ReadOutput();
    if (m_cancelled) {
        Finish(false, QString());
        m_status->setText(Text(17, "Das Rendern wurde abgebrochen."));
        return;
    }
    QImage image;
    if (status == QProcess::NormalExit && exitCode == 0 && image.load(ImageFile())) {
        m_progress->setValue(100);
        Finish(true, QString());
        m_status->setText(Text(18, "Das Bild ist fertig."));
        if (m_view) {
            m_view->close();
        }
        m_view = new TFormRenderView(image, parentWidget() ? parentWidget() : this);
        m_view->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_view, &QObject::destroyed, this, [this](QObject* gone) {
            if (gone == m_view) {
                m_view = nullptr;
            }
        });
        m_view->show();
        emit RenderFinished(true);
        return;
    }
    Finish(false, Text(19, "POV-Ray hat mit einem Fehler geendet (Code %1): %2")
                      .arg(exitCode)
                      .arg(m_output.right(kOutputTail).trimmed()));
}

void TFormRenderManager::Finish(bool picture, const QString& message) {
    QProcess* process = m_process;
    m_process = nullptr;
    if (process) {
        process->disconnect(this);
        process->deleteLater();
    }
    UpdateButtons();
    if (!picture) {
        m_progress->setValue(0);
        m_status->setText(message);
        if (!message.isEmpty()) {
            Message(message);
        }
        emit RenderFinished(false);
    }
}

}  // namespace kx
