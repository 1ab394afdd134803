// Parts sheets written to a PDF file, with or without a window.
#pragma once

#include <QPageLayout>
#include <QString>

#include "printing/u_TPrintBase.h"

namespace kx {

/// A4 upright with margins of 5 mm: a printable area of 200 x 287 mm.
QPageLayout DefaultSheetLayout();

/// Prints the job into a PDF file of that page layout. The file is written through a
/// temporary one: a failed or cancelled job leaves what was there before. On failure says
/// why.
TPrintResult WriteSheetPdf(TPrintBase& sheet, const QString& fileName, const QPageLayout& layout,
                           QString* error = nullptr);

}  // namespace kx
