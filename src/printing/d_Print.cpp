// The print dialog of parts sheets: the system's printers, their set-up, a preview with page
// buttons, printing, and writing a PDF file.
#include "printing/d_Print.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "printing/f_PrintProgress.h"
#include "printing/printcanvas.h"
#include "printing/sheetpdf.h"

namespace kx {

namespace {
constexpr const char* kSection = "D_PRINT";
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}
}  // namespace

TdlgPrint::TdlgPrint(TPrintBase& sheet, QWidget* parent)
    : QDialog(parent), m_sheet(sheet), m_printer(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("dlgPrint"));
    lblPrinter = new QLabel(this);
    cbPrinter = new QComboBox(this);
    cbPrinter->setObjectName(QStringLiteral("cbPrinter"));
    cbPrinter->setMinimumWidth(240);
    btnSettings = new QPushButton(this);
    btnSettings->setObjectName(QStringLiteral("btnSettings"));
    btnPrev = new QPushButton(QStringLiteral("<"), this);
    btnPrev->setObjectName(QStringLiteral("btnPrev"));
    btnNext = new QPushButton(QStringLiteral(">"), this);
    btnNext->setObjectName(QStringLiteral("btnNext"));
    for (QPushButton* b : {btnPrev, btnNext}) {
        b->setFixedWidth(32);
    }
    lblPage = new QLabel(this);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    lblPage->setMinimumWidth(50);
    lblPage->setAlignment(Qt::AlignCenter);
    btnPrint = new QPushButton(this);
    btnPrint->setObjectName(QStringLiteral("btnPrint"));
    btnPdf = new QPushButton(this);
    btnPdf->setObjectName(QStringLiteral("btnPdf"));
    btnClose = new QPushButton(this);
    btnClose->setObjectName(QStringLiteral("btnClose"));

    // The page setting of a printer decides the printable area; with no printer on the
    // system, sheets are laid out for A4 and go to PDF.
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    cbPrinter->addItems(printers);
    m_hasPrinter = !printers.isEmpty();
    if (m_hasPrinter) {
        const QString current = QPrinterInfo::defaultPrinterName();
        const qsizetype index = printers.indexOf(current);
        cbPrinter->setCurrentIndex(index < 0 ? 0 : static_cast<int>(index));
        m_printer.setPrinterName(cbPrinter->currentText());
    } else {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setPageLayout(DefaultSheetLayout());
    }
    cbPrinter->setEnabled(m_hasPrinter);
    btnPrint->setEnabled(m_hasPrinter);

    m_preview = new QPrintPreviewWidget(&m_printer, this);
    m_preview->setObjectName(QStringLiteral("PreviewWidget"));
    m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_preview->setZoomMode(QPrintPreviewWidget::FitInView);
    m_preview->setMinimumSize(420, 520);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        // The preview lays out and draws all pages; the page buttons show one of them.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        TPainterCanvas canvas(*printer);
        TPrintProgress* none = nullptr;
        m_sheet.SetProgress(none);
        m_sheet.Print(canvas, false, 0);
        QApplication::restoreOverrideCursor();
    });

    auto* top = new QHBoxLayout;
    top->addWidget(lblPrinter);
    top->addWidget(cbPrinter, 1);
    top->addWidget(btnSettings);
    auto* pages = new QHBoxLayout;
    pages->addStretch();
    pages->addWidget(btnPrev);
    pages->addWidget(lblPage);
    pages->addWidget(btnNext);
    pages->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnPdf);
    buttons->addStretch();
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_preview, 1);
    layout->addLayout(pages);
    layout->addLayout(buttons);

    connect(cbPrinter, &QComboBox::currentIndexChanged, this, &TdlgPrint::ChoosePrinter);
    connect(btnSettings, &QPushButton::clicked, this, &TdlgPrint::SetupClick);
    connect(btnPrev, &QPushButton::clicked, this, [this] { ShowPage(m_page - 1); });
    connect(btnNext, &QPushButton::clicked, this, [this] { ShowPage(m_page + 1); });
    connect(btnPrint, &QPushButton::clicked, this, &TdlgPrint::PrintAll);
    connect(btnPdf, &QPushButton::clicked, this, &TdlgPrint::PdfClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    ApplyFormStyle(this);
    DoLanguage();
    resize(560, 760);
    MakePreview();
}

TdlgPrint::~TdlgPrint() = default;

void TdlgPrint::DoLanguage() {
    setWindowTitle(Text(1, "Sammlung drucken"));
    lblPrinter->setText(Text(2, "Drucker"));
    btnSettings->setText(Text(3, "Settings"));
    btnClose->setText(Text(4, "close"));
    btnPrint->setText(Text(5, "Print"));
    btnPdf->setText(Text(6, "PDF..."));
    cbPrinter->setPlaceholderText(Text(12, "Kein Drucker eingerichtet"));
}

void TdlgPrint::MakePreview() {
    Stack().Push("TdlgPrint.MakePreview");
    // Counted from the layout for this very page size, not from whatever the preview drew
    // first, so the total is right after every change of printer or paper.
    const QRectF area = m_printer.pageLayout().paintRect(QPageLayout::Millimeter);
    m_total = m_sheet.CountPages(static_cast<int>(std::lround(area.width() * 10)),
                                 static_cast<int>(std::lround(area.height() * 10)));
    m_preview->updatePreview();
    ShowPage(std::clamp(m_page, 1, m_total));
}

void TdlgPrint::ShowPage(int page) {
    m_page = std::clamp(page, 1, std::max(m_total, 1));
    m_preview->setCurrentPage(m_page);
    UpdatePageButtons();
}

void TdlgPrint::UpdatePageButtons() {
    lblPage->setText(QStringLiteral("%1/%2").arg(m_page).arg(m_total));
    btnPrev->setEnabled(m_page > 1);
    btnNext->setEnabled(m_page < m_total);
}

void TdlgPrint::ChoosePrinter(int index) {
    if (index < 0) {
        return;
    }
    m_printer.setPrinterName(cbPrinter->itemText(index));
    MakePreview();
}

void TdlgPrint::SetupClick() {
    QPageSetupDialog setup(&m_printer, this);
    if (setup.exec() == QDialog::Accepted) {
        MakePreview();
    }
}

void TdlgPrint::PrintAll() {
    TFormPrintProgress progress(this);
    TPainterCanvas canvas(m_printer);
    canvas.OnAbort = [this] { m_printer.abort(); };
    m_sheet.SetProgress(&progress);
    const TPrintResult result = m_sheet.Print(canvas, false, 0);
    m_sheet.SetProgress(nullptr);
    if (result == TPrintResult::Done) {
        accept();
    } else if (result == TPrintResult::Failed) {
        QMessageBox::warning(this, windowTitle(),
                             Text(10, "Der Druckauftrag konnte nicht ausgeführt werden."));
    }
}

void TdlgPrint::PdfClick() {
    QString chosen;
    if (PdfFileChooser) {
        chosen = PdfFileChooser();
    } else {
        chosen = QFileDialog::getSaveFileName(this, btnPdf->text().remove(QStringLiteral("...")),
                                              QString(), QStringLiteral("PDF (*.pdf)"), nullptr,
                                              QFileDialog::DontUseNativeDialog);
    }
    if (chosen.isEmpty()) {
        return;
    }
    if (!chosen.toUpper().contains(QStringLiteral(".PDF"))) {
        chosen += QStringLiteral(".pdf");
    }
    SavePdf(chosen);
}

bool TdlgPrint::SavePdf(const QString& fileName) {
    TFormPrintProgress progress(this);
    m_sheet.SetProgress(&progress);
    QString error;
    const TPrintResult result = WriteSheetPdf(m_sheet, fileName, m_printer.pageLayout(), &error);
    m_sheet.SetProgress(nullptr);
    if (result == TPrintResult::Failed) {
        QMessageBox::warning(this, windowTitle(),
                             Text(11, "Die PDF-Datei konnte nicht geschrieben werden:") +
                                 QStringLiteral(" ") + fileName + QStringLiteral("\n") + error);
    }
    return result == TPrintResult::Done;
}

}  // namespace kx

#include "moc_d_Print.cpp"
