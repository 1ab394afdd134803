// Saving a picture of the view as BMP, JPEG or PNG, with the extension rule of the commands.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

namespace kx {

enum class TPictureFormat { Bmp, Jpeg, Png };

/// Appends ".bmp", ".jpg" or ".png" unless the name already contains the format's extension
/// in any letter case.
QString PictureFileName(const QString& chosen, TPictureFormat format);

/// The picture as a PNG whose pixels of the background colour (red in the lowest byte) are
/// transparent.
QImage WithTransparentBackground(const QImage& picture, uint32_t background);

/// Saves the picture (JPEG with quality 100; PNG with the background transparent). On
/// failure returns false and says why.
bool SavePicture(const QImage& picture, const QString& fileName, TPictureFormat format,
                 uint32_t background, QString* error = nullptr);

}  // namespace kx
