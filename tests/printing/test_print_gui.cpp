// The parts-list commands of the real main window: the print dialog with its preview and page
// label, printing to PDF, the CSV export and the picture of a phase's parts.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "catalogue/f_Library.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_snapview.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "model/d_PhasePicture.h"
#include "model/f_Ausgabe.h"
#include "model/phasepicture.h"
#include "printing/d_Print.h"
#include "printing/f_PrintProgress.h"
#include "printing/sheetpdf.h"
#include "printing/u_TPrintSpare.h"

using namespace kx;
using kxtest::AnswerNextDialog;

namespace {

/// Saves a picture of the window when KX_SCREENSHOT_DIR names a folder.
void Screenshot(QWidget& w, const char* name) {
    const QString dir = qEnvironmentVariable("KX_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        w.grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    }
}

QString Sample(const char* name) {
    return QStringLiteral(KX_RUNTIME_DIR "/samples/") + QLatin1String(name);
}

QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

/// What the print dialog showed, noted while it was open.
struct TSeen {
    bool Opened = false;
    QString Label;
    int Total = 0;
    int PreviewPages = 0;
    bool Prev = false, Next = false;
    QString LabelAfterNext;
    bool PrevAfterNext = false;
    int TotalA5 = 0, PreviewPagesA5 = 0;
    QString LabelA5;
    bool Pdf = false;
};

void Note(TdlgPrint& d, TSeen& seen) {
    seen.Opened = true;
    seen.Label = d.findChild<QLabel*>(QStringLiteral("lblPage"))->text();
    seen.Total = d.PageTotal();
    seen.PreviewPages = d.Preview()->pageCount();
    seen.Prev = d.findChild<QPushButton*>(QStringLiteral("btnPrev"))->isEnabled();
    seen.Next = d.findChild<QPushButton*>(QStringLiteral("btnNext"))->isEnabled();
}

void Close(TdlgPrint& d) {
    d.findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
}

}  // namespace

class TestPrintGui : public QObject {
    Q_OBJECT
private slots:
    void theCranesOverviewIsPreviewedAndWrittenAsPdf() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.LoadFile(Sample("Kran.kxm"), true));
        QTemporaryDir tmp;
        const QString pdf = tmp.path() + QStringLiteral("/kran.pdf");
        TSeen seen;
        AnswerNextDialog<TdlgPrint>([&](TdlgPrint* d) {
            Note(*d, seen);
            Screenshot(*d, "print-preview-crane");
            seen.Pdf = d->SavePdf(pdf);
            Close(*d);
        });
        QVERIFY(form.Commands().Execute("menPrintParts"));
        QVERIFY(seen.Opened);
        QCOMPARE(seen.Label, QStringLiteral("1/1"));
        QCOMPARE(seen.Total, 1);
        QCOMPARE(seen.PreviewPages, 1);
        QVERIFY(!seen.Prev && !seen.Next);
        QVERIFY(seen.Pdf);
        QVERIFY(
            Run(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("Pages:           1\n")));
        const QString text = Run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY2(text.contains(QStringLiteral("40405")) && text.contains(QStringLiteral("40102")),
                 qPrintable(text));
    }

    void libraryPagesAreCountedAgainForEveryPaper() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TSeen seen;
        AnswerNextDialog<TdlgPrint>([&](TdlgPrint* d) {
            Note(*d, seen);
            d->findChild<QPushButton*>(QStringLiteral("btnNext"))->click();
            seen.LabelAfterNext = d->findChild<QLabel*>(QStringLiteral("lblPage"))->text();
            seen.PrevAfterNext = d->findChild<QPushButton*>(QStringLiteral("btnPrev"))->isEnabled();
            // Smaller paper: more pages, counted again, and the preview agrees.
            d->Printer().setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait,
                                                   QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
            d->MakePreview();
            seen.TotalA5 = d->PageTotal();
            seen.PreviewPagesA5 = d->Preview()->pageCount();
            seen.LabelA5 = d->findChild<QLabel*>(QStringLiteral("lblPage"))->text();
            Close(*d);
        });
        QVERIFY(form.Commands().Execute("menPrintLibrary"));
        QVERIFY(seen.Opened);
        QVERIFY(seen.Total >= 2);
        QCOMPARE(seen.PreviewPages, seen.Total);
        QCOMPARE(seen.Label, QStringLiteral("1/%1").arg(seen.Total));
        QVERIFY(!seen.Prev && seen.Next);
        QCOMPARE(seen.LabelAfterNext, QStringLiteral("2/%1").arg(seen.Total));
        QVERIFY(seen.PrevAfterNext);
        QVERIFY(seen.TotalA5 > seen.Total);
        QCOMPARE(seen.PreviewPagesA5, seen.TotalA5);
        QCOMPARE(seen.LabelA5, QStringLiteral("2/%1").arg(seen.TotalA5));

        // The collection's sheet: its entries and nothing else.
        form.Library()->Library().AddToCollection("40001", 3);
        form.Library()->Library().AddToCollection("40002", UnlimitedCount);
        TSeen collection;
        AnswerNextDialog<TdlgPrint>([&](TdlgPrint* d) {
            Note(*d, collection);
            Close(*d);
        });
        QVERIFY(form.Commands().Execute("menPrintCollection"));
        QCOMPARE(collection.Label, QStringLiteral("1/1"));
    }

    void csvExportAndThePictureOfAPhase() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.LoadFile(Sample("Kran.kxm"), true));
        QTemporaryDir tmp;
        form.FileChooser = [&](bool, const QString&) { return tmp.path() + "/liste"; };
        QString message;
        AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
            message = box->text();
            box->accept();
        });
        QVERIFY(form.Commands().Execute("menExportCSV"));
        QCOMPARE(message, QStringLiteral("Die Einzelteilliste wurde erfolgreich exportiert."));
        QFile csv(tmp.path() + "/liste.csv");
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readAll().startsWith("Nummer;Bezeichnung;Anzahl\r\n40001;"));

        // Developers copy the tab's numbers as lines of a render script.
        form.Library()->SetDeveloperMode(true);
        auto& library = form.Library()->Library();
        library.ShowLibraryPage({TLibrarySet::New, 0});
        const auto& tiles = library.Page(library.ActivePage()).Items;
        QVERIFY(tiles.size() >= 2);
        form.Library()->findChild<QAction*>(QStringLiteral("menPartNamesInClipboard"))->trigger();
        const QString names = QGuiApplication::clipboard()->text();
        QVERIFY2(names.startsWith(QStringLiteral("render(\"%1\", LINE_NORMAL)\r\nrender(\"%2\"")
                                      .arg(QString::fromStdString(tiles[0].Number()),
                                           QString::fromStdString(tiles[1].Number()))),
                 qPrintable(names));
        QCOMPARE(names.count(QStringLiteral("\r\n")), qsizetype(tiles.size()));

        // Phase 1 of the crane: the base plate, four blocks and the turntable, two parts a row.
        form.Model().SetBauphase(1);
        AnswerNextDialog<TdlgPhasePicture>([](TdlgPhasePicture* d) {
            d->PerRowField()->setText(QStringLiteral("2"));
            d->accept();
        });
        QVERIFY(form.Commands().Execute("menShowPhaseParts"));
        auto* output = form.findChild<TFormAusgabe*>();
        QVERIFY(output);
        QVERIFY(QTest::qWaitForWindowExposed(output));
        QCOMPARE(output->Picture().size(), QSize(2 * 74 + 4, 2 * 80 + 4));
        Screenshot(*output, "phase-picture");
        QVERIFY(output->SavePictureAs(tmp.path() + "/phase"));
        QCOMPARE(QImage(tmp.path() + "/phase.bmp").size(), output->Picture().size());
        output->CopyToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), output->Picture().size());
        output->close();

        // A part without icon or print picture still gets its cell: a frame and its number.
        for (bool quality : {false, true}) {
            TPhasePictureOptions options;
            options.HighQuality = quality;
            const QImage picture =
                PaintPhasePicture({{"ZZZZZ", 2}, {"40001", 1}}, options, form.Model().Files());
            QVERIFY(!picture.isNull());
            const int size = quality ? 399 : 63;
            int marked = 0;
            for (int y = 2; y < 2 + size; ++y) {
                for (int x = 2; x < 2 + size; ++x) {
                    marked += picture.pixel(x, y) != qRgb(255, 255, 255);
                }
            }
            QVERIFY(marked > size);
        }
    }

    void printingGoesToThePrinterAndACancelledJobLeavesNothing() {
        QTemporaryDir tmp;
        TPrintSpare sheet({});
        for (int i = 0; i < 40; ++i) {
            sheet.Items.push_back({QString::number(50000 + i).toStdString(), "", 1, "B"});
        }
        {
            // A printer that prints into a file stands in for the system's printer.
            TdlgPrint dialog(sheet);
            const QString printed = tmp.path() + QStringLiteral("/printed.pdf");
            dialog.Printer().setOutputFormat(QPrinter::PdfFormat);
            dialog.Printer().setOutputFileName(printed);
            dialog.Printer().setPageLayout(DefaultSheetLayout());
            dialog.MakePreview();
            QCOMPARE(dialog.PageTotal(), 2);
            dialog.PrintAll();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QVERIFY(Run(QStringLiteral("pdfinfo"), {printed})
                        .contains(QStringLiteral("Pages:           2\n")));
        }

        // The user's cancel reaches the job; a cancelled PDF leaves the file that was there.
        QWidget owner;
        TFormPrintProgress progress(&owner);
        progress.Start("x", 40);
        QVERIFY(progress.Step(1));
        progress.Dialog().cancel();
        QVERIFY(!progress.Step(2));

        class TCancelAtOnce : public TPrintProgress {
        public:
            void Start(const std::string&, int) override {}
            bool Step(int) override { return false; }
            void Finish() override {}
        } impatient;
        const QString pdf = tmp.path() + QStringLiteral("/old.pdf");
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        sheet.SetProgress(&impatient);
        QCOMPARE(WriteSheetPdf(sheet, pdf, DefaultSheetLayout()), TPrintResult::Cancelled);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
    }
};

KX_GUI_TEST_MAIN(TestPrintGui)

#include "test_print_gui.moc"
