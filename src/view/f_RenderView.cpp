// The window that shows a rendered picture, with "save as" (PNG or JPEG) and copy.
#include "view/f_RenderView.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
constexpr const char* kSection = "F_RENDERVIEW";

QString Text(int key, const QString& current) {
    return QString::fromStdString(Language().GetText(kSection, key, current.toStdString()));
}
}  // namespace

TFormRenderView::TFormRenderView(const QImage& image, QWidget* parent)
    : QDialog(parent, Qt::Window), m_image(image) {
    setObjectName(QStringLiteral("FormRenderView"));
    setWindowTitle(QStringLiteral("Gerendertes Bild"));
    auto* layout = new QVBoxLayout(this);
    auto* scroll = new QScrollArea(this);
    m_picture = new QLabel(scroll);
    m_picture->setObjectName(QStringLiteral("imgPicture"));
    m_picture->setPixmap(QPixmap::fromImage(m_image));
    scroll->setWidget(m_picture);
    scroll->setAlignment(Qt::AlignCenter);
    layout->addWidget(scroll, 1);
    auto* buttons = new QHBoxLayout;
    m_save = new QPushButton(QStringLiteral("Speichern unter..."), this);
    m_save->setObjectName(QStringLiteral("btnSave"));
    m_copy = new QPushButton(QStringLiteral("Kopieren"), this);
    m_copy->setObjectName(QStringLiteral("btnCopy"));
    m_close = new QPushButton(QStringLiteral("Schließen"), this);
    m_close->setObjectName(QStringLiteral("btnClose"));
    buttons->addWidget(m_save);
    buttons->addWidget(m_copy);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    connect(m_save, &QPushButton::clicked, this, &TFormRenderView::SaveCommand);
    connect(m_copy, &QPushButton::clicked, this, &TFormRenderView::CopyToClipboard);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    // Big enough for the picture up to most of a screen; larger ones scroll.
    resize(std::min(m_image.width() + 40, 1400), std::min(m_image.height() + 80, 1000));
    ApplyFormStyle(this);
    DoLanguage();
}

void TFormRenderView::DoLanguage() {
    setWindowTitle(Text(1, windowTitle()));
    m_save->setText(Text(2, m_save->text()));
    m_copy->setText(Text(3, m_copy->text()));
    m_close->setText(Text(4, m_close->text()));
}

bool TFormRenderView::SaveAs(const QString& fileName, QString* error) {
    Stack().Push("TFormRenderView.SaveAs", fileName.toStdString());
    QString name = fileName;
    const QString lower = name.toLower();
    const bool jpeg =
        lower.endsWith(QStringLiteral(".jpg")) || lower.endsWith(QStringLiteral(".jpeg"));
    if (!jpeg && !lower.endsWith(QStringLiteral(".png"))) {
        name += QStringLiteral(".png");
    }
    QImageWriter writer(name, jpeg ? "jpeg" : "png");
    if (jpeg) {
        writer.setQuality(100);
    }
    if (writer.write(m_image)) {
        return true;
    }
    if (error) {
        *error = writer.errorString();
    }
    return false;
}

void TFormRenderView::CopyToClipboard() {
    Stack().Push("TFormRenderView.CopyToClipboard");
    QGuiApplication::clipboard()->setImage(m_image);
}

void TFormRenderView::SaveCommand() {
    const QString filter = Text(6, QStringLiteral("PNG-Bild (*.png);;JPEG-Bild (*.jpg *.jpeg)"));
    const QString chosen =
        FileChooser ? FileChooser()
                    : QFileDialog::getSaveFileName(this, QString(), QString(), filter, nullptr,
                                                   QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty()) {
        return;
    }
    QString error;
    if (!SaveAs(chosen, &error)) {
        QMessageBox::warning(
            this, windowTitle(),
            Text(5, QStringLiteral("Das Bild konnte nicht gespeichert werden: %1")).arg(error));
    }
}

}  // namespace kx
