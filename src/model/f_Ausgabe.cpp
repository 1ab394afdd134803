// "Ausgabe": a picture made by a command, to be saved or copied to the clipboard.
#include "model/f_Ausgabe.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "view/u_picturefile.h"

namespace kx {

namespace {
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_BAUTEILVIEW", key, def));
}
}  // namespace

TFormAusgabe::TFormAusgabe(const QImage& picture, QWidget* parent)
    : QDialog(parent), m_picture(picture) {
    setObjectName(QStringLiteral("FormAusgabe"));
    setWindowTitle(Text(1, "Ausgabe"));
    auto* menu = new QMenuBar(this);
    m_save = menu->addAction(Text(2, "Bild speichern"));
    m_save->setObjectName(QStringLiteral("menSavePicture"));
    m_copy = menu->addAction(Text(3, "Bild in die Zwischenablage kopieren"));
    m_copy->setObjectName(QStringLiteral("menCopyPicture"));
    m_close = menu->addAction(Text(4, "Schließen"));
    m_close->setObjectName(QStringLiteral("menClose"));
    connect(m_save, &QAction::triggered, this, &TFormAusgabe::SaveClick);
    connect(m_copy, &QAction::triggered, this, &TFormAusgabe::CopyToClipboard);
    connect(m_close, &QAction::triggered, this, &QDialog::close);

    m_view = new QLabel(this);
    m_view->setPixmap(QPixmap::fromImage(m_picture));
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_view);
    scroll->setBackgroundRole(QPalette::Dark);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    ApplyFormStyle(this);
    // As large as the picture, but within the screen.
    QSize size = m_picture.size() + QSize(24, 48);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize() * 0.9);
    }
    resize(size.expandedTo(QSize(menu->sizeHint().width() + 16, 200)));
}

void TFormAusgabe::SaveClick() {
    QString chosen;
    if (FileChooser) {
        chosen = FileChooser();
    } else {
        chosen = QFileDialog::getSaveFileName(this, m_save->text(), QString(),
                                              QStringLiteral("BMP (*.bmp);;PNG (*.png)"), nullptr,
                                              QFileDialog::DontUseNativeDialog);
    }
    if (!chosen.isEmpty()) {
        SavePictureAs(chosen);
    }
}

bool TFormAusgabe::SavePictureAs(const QString& fileName) {
    const bool png = fileName.toUpper().endsWith(QStringLiteral(".PNG"));
    const QString file = PictureFileName(fileName, png ? TPictureFormat::Png : TPictureFormat::Bmp);
    // Through a temporary file, so a failed save leaves an older picture as it was; no colour
    // of this picture is a background to be made transparent.
    QSaveFile out(file);
    const bool saved =
        out.open(QIODevice::WriteOnly) &&
        m_picture.convertToFormat(QImage::Format_RGB888).save(&out, png ? "PNG" : "BMP") &&
        out.commit();
    if (!saved) {
        QMessageBox::warning(this, windowTitle(), file + QStringLiteral("\n") + out.errorString());
    }
    return saved;
}

void TFormAusgabe::CopyToClipboard() {
    QGuiApplication::clipboard()->setImage(m_picture);
}

}  // namespace kx

#include "moc_f_Ausgabe.cpp"
