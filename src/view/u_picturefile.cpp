// Saving a picture of the view as BMP, JPEG or PNG, with the extension rule of the commands.
#include "view/u_picturefile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kx {

namespace {
QString Extension(TPictureFormat format) {
    switch (format) {
        case TPictureFormat::Bmp:
            return QStringLiteral(".bmp");
        case TPictureFormat::Jpeg:
            return QStringLiteral(".jpg");
        case TPictureFormat::Png:
            return QStringLiteral(".png");
    }
    return {};
}
}  // namespace

QString PictureFileName(const QString& chosen, TPictureFormat format) {
    const QString ext = Extension(format);
    return chosen.contains(ext, Qt::CaseInsensitive) ? chosen : chosen + ext;
}

QImage WithTransparentBackground(const QImage& picture, uint32_t background) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key =
        qRgb(static_cast<int>(background & 0xFF), static_cast<int>((background >> 8) & 0xFF),
             static_cast<int>((background >> 16) & 0xFF));
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) {
                line[x] = 0;
            }
        }
    }
    return out;
}

bool SavePicture(const QImage& picture, const QString& fileName, TPictureFormat format,
                 uint32_t background, QString* error) {
    // Written through a temporary file, so a failed save leaves an older picture intact.
    QSaveFile file(fileName);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        switch (format) {
            case TPictureFormat::Bmp:
                ok = picture.convertToFormat(QImage::Format_RGB888).save(&file, "BMP");
                break;
            case TPictureFormat::Jpeg:
                ok = picture.convertToFormat(QImage::Format_RGB888).save(&file, "JPG", 100);
                break;
            case TPictureFormat::Png:
                ok = WithTransparentBackground(picture, background).save(&file, "PNG");
                break;
        }
    }
    ok = ok && file.commit();
    if (!ok && error) {
        *error = file.errorString();
    }
    return ok;
}

}  // namespace kx
