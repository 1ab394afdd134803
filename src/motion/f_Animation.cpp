// "Film-Parameter": file, compressor and frame size of a video, and its progress while it is
// rendered.
#include "motion/f_Animation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "app/helpsystem.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "motion/r_animationvideo.h"

namespace kx {

namespace {
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_ANIMATION", key, def));
}

/// The caption of each codec in the chooser and the filter of its save dialog.
QString CodecCaption(TVideoCodec codec) {
    switch (codec) {
        case TVideoCodec::Mjpeg:
            return Text(15, "AVI – Motion JPEG");
        case TVideoCodec::Mpeg4:
            return Text(16, "AVI – MPEG-4 Part 2");
        case TVideoCodec::Ffv1:
            return Text(17, "AVI – FFV1 (verlustfrei)");
        case TVideoCodec::Raw:
            return Text(18, "AVI – unkomprimiert");
        case TVideoCodec::H264:
            return Text(19, "MP4 – H.264");
        case TVideoCodec::Vp9:
            return Text(20, "WebM – VP9");
    }
    return {};
}

QString CodecFilter(TVideoCodec codec) {
    QString filter;
    switch (VideoCodecInfo(codec).Container[0]) {
        case 'm':
            filter = Text(21, "MP4-Dateien (*.mp4)|*.mp4|Alle Dateien (*.*)|*.*");
            break;
        case 'w':
            filter = Text(22, "WebM-Dateien (*.webm)|*.webm|Alle Dateien (*.*)|*.*");
            break;
        default:
            filter = Text(12, "AVI-Dateien (*.avi)|*.avi|Alle Dateien (*.*)|*.*");
    }
    return QtFileFilter(filter);
}
}  // namespace

QString WithVideoExtension(const QString& fileName, TVideoCodec codec) {
    const QString extension = QString::fromLatin1(VideoCodecInfo(codec).Extension);
    if (fileName.toUpper().contains(extension.toUpper())) {
        return fileName;
    }
    return fileName + extension;
}

TDlgAnimation::TDlgAnimation(QSize viewSize, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgAnimation"));
    setWindowTitle(Text(1, "Film-Parameter"));
    eFilename = new QLineEdit(QStringLiteral("out.avi"), this);
    eFilename->setObjectName(QStringLiteral("eFilename"));
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("btnBrowse"));
    connect(browse, &QPushButton::clicked, this, [this] { ChooseFile(); });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(eFilename, 1);
    fileRow->addWidget(browse);

    cbCodec = new QComboBox(this);
    cbCodec->setObjectName(QStringLiteral("cbCodec"));
    for (const TVideoCodecInfo& info : VideoCodecs()) {
        if (VideoCodecAvailable(info.Codec)) {
            cbCodec->addItem(CodecCaption(info.Codec), int(info.Codec));
        }
    }
    // The file follows the codec's container while its name still has another's extension.
    connect(cbCodec, &QComboBox::currentIndexChanged, this, [this] {
        QString name = eFilename->text();
        for (const char* ext : {".avi", ".mp4", ".webm"}) {
            if (name.endsWith(QLatin1String(ext), Qt::CaseInsensitive)) {
                name.chop(qsizetype(strlen(ext)));
                eFilename->setText(WithVideoExtension(name, Codec()));
                break;
            }
        }
    });

    eWidth = new QSpinBox(this);
    eWidth->setObjectName(QStringLiteral("eWidth"));
    eHeight = new QSpinBox(this);
    eHeight->setObjectName(QStringLiteral("eHeight"));
    for (QSpinBox* box : {eWidth, eHeight}) {
        box->setRange(16, 7680);
        box->setSingleStep(8);
    }
    eWidth->setValue(std::max(16, VideoSizeOf(viewSize.width())));
    eHeight->setValue(std::max(16, VideoSizeOf(viewSize.height())));
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(eWidth);
    sizeRow->addWidget(new QLabel(QStringLiteral("x"), this));
    sizeRow->addWidget(eHeight);
    sizeRow->addStretch(1);

    pb = new QProgressBar(this);
    pb->setObjectName(QStringLiteral("pb"));
    pb->setValue(0);
    cbStartMPlayer = new QCheckBox(Text(3, "Media-Player nach Fertigstellung starten"), this);
    cbStartMPlayer->setObjectName(QStringLiteral("cbStartMPlayer"));
    cbStartMPlayer->setChecked(true);

    m_ok = new QPushButton(Text(4, "OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancelButton = new QPushButton(Text(5, "Abbrechen"), this);
    m_cancelButton->setObjectName(QStringLiteral("btnCancel"));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &TDlgAnimation::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancelButton);

    auto* form = new QFormLayout;
    form->addRow(Text(2, "Dateiname"), fileRow);
    form->addRow(Text(10, "Kompressor"), cbCodec);
    form->addRow(Text(11, "Bildgröße"), sizeRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(pb);
    layout->addWidget(cbStartMPlayer);
    layout->addLayout(buttons);
    m_settings = {eFilename, browse, cbCodec, eWidth, eHeight, cbStartMPlayer};
    setMinimumWidth(420);
    ApplyFormStyle(this);
    SetHelpContext(this, 4051);
}

QString TDlgAnimation::FileName() const {
    return WithVideoExtension(eFilename->text().trimmed(), Codec());
}

TVideoCodec TDlgAnimation::Codec() const {
    return cbCodec->currentIndex() < 0 ? TVideoCodec::Mjpeg
                                       : TVideoCodec(cbCodec->currentData().toInt());
}

QSize TDlgAnimation::FrameSize() const {
    return {VideoSizeOf(eWidth->value()), VideoSizeOf(eHeight->value())};
}

bool TDlgAnimation::OpenWhenDone() const {
    return cbStartMPlayer->isChecked();
}

void TDlgAnimation::ChooseFile() {
    const QString filter = CodecFilter(Codec());
    QString chosen;
    if (FileChooser) {
        chosen = FileChooser(filter);
    } else {
        QFileDialog dialog(this);
        dialog.setObjectName(QStringLiteral("SaveDialog"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(filter);
        dialog.selectFile(eFilename->text());
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().first();
        }
    }
    if (!chosen.isEmpty()) {
        eFilename->setText(chosen);
    }
}

void TDlgAnimation::BeginProgress(int minimum, int maximum) {
    m_running = true;
    m_cancel = false;
    for (QWidget* w : m_settings) {
        w->setEnabled(false);
    }
    m_ok->setEnabled(false);
    m_cancelButton->setEnabled(true);
    pb->setRange(minimum, maximum);
    pb->setValue(minimum);
    setModal(false);
    show();
}

void TDlgAnimation::SetProgress(int frame) {
    pb->setValue(frame);
}

void TDlgAnimation::EndProgress() {
    m_running = false;
    hide();
    for (QWidget* w : m_settings) {
        w->setEnabled(true);
    }
    m_ok->setEnabled(true);
}

void TDlgAnimation::reject() {
    // While frames are rendered, "Abbrechen" and the close box cancel the video instead.
    if (m_running) {
        m_cancel = true;
        return;
    }
    QDialog::reject();
}

}  // namespace kx

#include "moc_f_Animation.cpp"
