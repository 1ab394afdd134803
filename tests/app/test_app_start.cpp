// Program start pieces: the error report catches what a command throws, the wait window.
#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

#include "app/Main.h"
#include "app/d_ErrorDlg.h"
#include "app/f_Wait.h"
#include "app/u_application.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "kx_gui_main.h"

using namespace kx;

namespace {
QList<TdlgError*> OpenReports() {
    QList<TdlgError*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dlg = qobject_cast<TdlgError*>(w); dlg && dlg->isVisible()) {
            found << dlg;
        }
    }
    return found;
}
}  // namespace

class TestAppStart : public QObject {
    Q_OBJECT
private slots:
    void exceptionInACommandReachesTheReportAndTheProgramGoesOn() {
        Stack().Push("TMainForm.menSaveClick", std::string("/tmp/a model.kxm"));
        Stack().Push("tkxmain.SaveModell", 5, true);

        QStringList seenText;
        int reportsOpen = -1;
        // While the report is open: a second failing command, then look, then close.
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [] { throw std::runtime_error("second failure"); });
            QTimer::singleShot(50, [&] {
                const auto reports = OpenReports();
                reportsOpen = reports.size();
                for (TdlgError* dlg : reports) {
                    seenText << dlg->ReportText();
                    dlg->findChild<QPushButton*>()->click();
                }
            });
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            throw std::runtime_error("Datei kann nicht geschrieben werden");
        });
        QTRY_VERIFY_WITH_TIMEOUT(!seenText.isEmpty(), 5000);
        QCOMPARE(reportsOpen, 1);
        QTRY_VERIFY(!ErrorReportShowing());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        const QStringList lines = seenText.first().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(1), QStringLiteral("Fehler:"));
        QCOMPARE(lines.value(3), QStringLiteral("Datei kann nicht geschrieben werden"));
        QCOMPARE(lines.value(5), QStringLiteral("Korvex Designer Version 1.8.2"));
        QCOMPARE(lines.value(7), QStringLiteral("Debug:"));
        QVERIFY(lines.value(8).isEmpty());
        // Newest entry first.
        QVERIFY(lines.value(9).endsWith(QStringLiteral(": tkxmain.SaveModell(5,true)")));
        QVERIFY(lines.value(10).endsWith(
            QStringLiteral(": TMainForm.menSaveClick(\"/tmp/a model.kxm\")")));

        // The program still runs commands afterwards.
        bool ranLater = false;
        QTimer::singleShot(0, [&] { ranLater = true; });
        QTRY_VERIFY(ranLater);
    }

    void reportTextsComeFromTheLanguageTable() {
        auto old = SetLanguage(std::make_unique<TkxLanguage>(TIniFileEx(std::vector<std::string>{
            "[D_ERRORDLG]", "00001=Error", "00002=Error:", "00003=Debug:"})));
        TdlgError dlg("x", Stack());
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Error"));
        QCOMPARE(dlg.ReportText().split(QLatin1Char('\n')).value(1), QStringLiteral("Error:"));
        SetLanguage(std::move(old));
    }

    void waitWindowShowsTitleAndProgress() {
        TFormWait wait;
        QCOMPARE(wait.windowTitle(), QStringLiteral("Bitte warten..."));
        QCOMPARE(wait.Maximum(), 100);
        wait.SetTitle(QStringLiteral("Modell wird geladen..."));
        wait.SetMaximum(40);
        wait.SetPosition(10);
        QCOMPARE(wait.Title(), QStringLiteral("Modell wird geladen..."));
        QCOMPARE(wait.Position(), 10);
    }

    void mainWindowIsTitled() {
        TMainForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Korvex designer"));
    }
};

KX_GUI_TEST_MAIN(TestAppStart)

#include "test_app_start.moc"
