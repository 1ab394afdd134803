// The picture of the parts of a build phase: the parts' icons in rows, with their counts.
#include "model/phasepicture.h"

#include <QPainter>

#include "catalogue/u_partfiles.h"

namespace kx {

namespace {

QImage LoadPicture(const TPartFiles& files, const std::string& number, bool highQuality) {
    const auto file = highQuality ? files.FindPart("icon/print", number, "jpg")
                                  : files.FindPart("icon", number, "bmp");
    return file ? QImage(QString::fromStdString(file->string())) : QImage();
}

void PaintPlaceholder(QPainter& painter, const QRect& square, const std::string& number) {
    painter.save();
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(square.adjusted(0, 0, -1, -1));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(8, square.height() / 6));
    painter.setFont(font);
    painter.drawText(square, Qt::AlignCenter, QString::fromStdString(number));
    painter.restore();
}

}  // namespace

QImage PaintPhasePicture(const std::vector<TPhasePartGroup>& groups,
                         const TPhasePictureOptions& options, const TPartFiles& files) {
    const TPhasePictureLayout layout = PhasePictureLayout(options, static_cast<int>(groups.size()));
    QImage picture(layout.Width, layout.Height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    if (options.Frame) {
        painter.setPen(QPen(QColor(0, 0, 255), 1));
        painter.drawRect(0, 0, layout.Width - 1, layout.Height - 1);
        painter.drawRect(1, 1, layout.Width - 3, layout.Height - 3);
    }
    QFont countFont(QStringLiteral("Arial"), options.HighQuality ? 24 : 9, QFont::Bold);
    painter.setFont(countFont);
    for (size_t i = 0; i < groups.size(); ++i) {
        const auto cell = layout.Cell(static_cast<int>(i));
        const QRect square(cell.ImageX, cell.ImageY, layout.ImageSize, layout.ImageSize);
        const QImage image = LoadPicture(files, groups[i].Number, options.HighQuality);
        if (image.isNull()) {
            PaintPlaceholder(painter, square, groups[i].Number);
        } else if (options.HighQuality) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(square, image);
        } else {
            // The icon's own pixels, not scaled: its top-left corner as large as the square.
            painter.drawImage(square.topLeft(), image, QRect(QPoint(0, 0), square.size()));
        }
        if (options.Counts) {
            painter.setPen(Qt::black);
            painter.drawText(QRect(cell.ImageX, cell.CountTop, layout.ImageSize, cell.CountHeight),
                             Qt::AlignHCenter | Qt::AlignTop,
                             QStringLiteral("%1x").arg(groups[i].Count));
        }
    }
    return picture;
}

}  // namespace kx
