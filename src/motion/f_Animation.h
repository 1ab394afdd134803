// "Film-Parameter": file, compressor and frame size of a video, and its progress while it is
// rendered.
#pragma once

#include <QDialog>
#include <QSize>
#include <functional>

#include "motion/r_videowriter.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace kx {

class TDlgAnimation : public QDialog {
    Q_OBJECT
public:
    /// viewSize: the 3D view's size; the frame size offered is cut to multiples of 8.
    explicit TDlgAnimation(QSize viewSize, QWidget* parent = nullptr);

    /// The file name typed, with the codec's extension added when it does not contain it.
    QString FileName() const;
    TVideoCodec Codec() const;
    /// The frame size, each side cut to a multiple of 8.
    QSize FrameSize() const;
    bool OpenWhenDone() const;

    /// Shown without blocking while the frames are rendered: settings locked, OK off,
    /// "Abbrechen" cancels.
    void BeginProgress(int minimum, int maximum);
    void SetProgress(int frame);
    bool CancelRequested() const { return m_cancel; }
    void EndProgress();

    /// Replaces the save dialog of "..." when set (tests); an empty answer keeps the name.
    std::function<QString(const QString& filter)> FileChooser;

    QLineEdit* FileEdit() const { return eFilename; }
    QComboBox* CodecBox() const { return cbCodec; }
    QSpinBox* WidthBox() const { return eWidth; }
    QSpinBox* HeightBox() const { return eHeight; }
    QCheckBox* StartPlayerBox() const { return cbStartMPlayer; }
    QProgressBar* Progress() const { return pb; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancelButton; }

protected:
    void reject() override;

private:
    void ChooseFile();

    QLineEdit* eFilename;
    QComboBox* cbCodec;
    QSpinBox* eWidth;
    QSpinBox* eHeight;
    QProgressBar* pb;
    QCheckBox* cbStartMPlayer;
    QPushButton* m_ok;
    QPushButton* m_cancelButton;
    QList<QWidget*> m_settings;
    bool m_running = false;
    bool m_cancel = false;
};

/// The name with the codec's extension appended unless its upper-cased text contains it
/// ("film" gives "film.avi", "FILM.AVI" stays).
QString WithVideoExtension(const QString& fileName, TVideoCodec codec);

}  // namespace kx
