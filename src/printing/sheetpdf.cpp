// Parts sheets written to a PDF file, with or without a window.
#include "printing/sheetpdf.h"

#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

#include "printing/printcanvas.h"

namespace kx {

QPageLayout DefaultSheetLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                       QPageLayout::Millimeter);
}

TPrintResult WriteSheetPdf(TPrintBase& sheet, const QString& fileName, const QPageLayout& layout,
                           QString* error) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) {
            *error = file.errorString();
        }
        return TPrintResult::Failed;
    }
    TPrintResult result = TPrintResult::Failed;
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setPageLayout(layout);
        writer.setTitle(QStringLiteral("Korvex designer"));
        writer.setCreator(QStringLiteral("Korvex designer"));
        TPainterCanvas canvas(writer);
        result = sheet.Print(canvas, false, 0);
    }
    if (result != TPrintResult::Done) {
        file.cancelWriting();
        if (error && result == TPrintResult::Failed) {
            *error = QStringLiteral("PDF");
        }
        return result;
    }
    if (!file.commit()) {
        if (error) {
            *error = file.errorString();
        }
        return TPrintResult::Failed;
    }
    return TPrintResult::Done;
}

}  // namespace kx
