// The print dialog of parts sheets: the system's printers, their set-up, a preview with page
// buttons, printing, and writing a PDF file.
#pragma once

#include <QDialog>
#include <QPrinter>
#include <functional>

#include "printing/u_TPrintBase.h"

class QComboBox;
class QLabel;
class QPrintPreviewWidget;
class QPushButton;

namespace kx {

class TdlgPrint : public QDialog {
    Q_OBJECT
public:
    /// The sheet must outlive the dialog.
    explicit TdlgPrint(TPrintBase& sheet, QWidget* parent = nullptr);
    ~TdlgPrint() override;

    /// Page of the preview, from 1, and the job's number of pages.
    int CurrentPage() const { return m_page; }
    int PageTotal() const { return m_total; }
    void ShowPage(int page);
    QPrintPreviewWidget* Preview() const { return m_preview; }
    QPrinter& Printer() { return m_printer; }

    /// "Print": all pages to the chosen printer; closes with OK when done.
    void PrintAll();
    /// Writes the sheets to a PDF file in the printer's page layout. False if it failed or
    /// was cancelled (a message says why when it failed).
    bool SavePdf(const QString& fileName);
    /// Replaces the file dialog of "PDF..." when set (tests); an empty name cancels.
    std::function<QString()> PdfFileChooser;

    /// The printer's page set-up changed: pages and preview follow.
    void MakePreview();

private:
    void DoLanguage();
    void ChoosePrinter(int index);
    void PdfClick();
    void SetupClick();
    void UpdatePageButtons();

    TPrintBase& m_sheet;
    QPrinter m_printer;
    QComboBox* cbPrinter;
    QPushButton* btnSettings;
    QPushButton* btnPrev;
    QPushButton* btnNext;
    QLabel* lblPage;
    QLabel* lblPrinter;
    QPushButton* btnPrint;
    QPushButton* btnPdf;
    QPushButton* btnClose;
    QPrintPreviewWidget* m_preview;
    int m_page = 1;
    int m_total = 1;
    bool m_hasPrinter = false;
};

}  // namespace kx
